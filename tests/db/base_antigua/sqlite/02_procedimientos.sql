-- SPDX-License-Identifier: GPL-3.0-or-later
-- Velmora scorecard database on SQLite: the procedures.
--
-- Readers are single SELECTs, so their rows stream and every number comes
-- from a table column (the ODBC driver types a column by its declared type;
-- an expression would come back as text). Arguments arrive as the lists send
-- them: names padded with blanks, periods in any letter case.
--
-- Stores are single INSERTs into a request view whose INSTEAD OF trigger
-- checks everything first and raises a Spanish message (SQLITE_CONSTRAINT)
-- on bad input; the statement then leaves nothing behind.

-- Numbers arrive as text with a decimal comma or point (and maybe an
-- exponent, as large numbers are written) and blanks around; a blank text is
-- Null. The rule is the program's own reading of a number: no thousands
-- group ("1.000" and "12,500" mean a thousand times more in one locale than
-- in another, so they are refused), nothing a double cannot hold (CAST would
-- give infinity, or zero for a tiny nonzero number). The stores put their
-- texts here and read them back checked and converted.
CREATE TABLE entrada (
    campo TEXT PRIMARY KEY,
    texto TEXT
);

CREATE VIEW entrada_numero AS
    SELECT campo,
           CASE WHEN t = '' THEN 1
                WHEN m NOT GLOB '*[^0-9.+-]*' AND substr(m, 2) NOT GLOB '*[+-]*'
                     AND m GLOB '*[0-9]*' AND length(m) - length(replace(m, '.', '')) <= 1
                     AND x NOT GLOB '*[^0-9+-]*' AND substr(x, 2) NOT GLOB '*[+-]*'
                     AND x GLOB '*[0-9]*'
                     AND NOT (e = 0 AND (s GLOB '[1-9].[0-9][0-9][0-9]'
                                         OR s GLOB '[1-9][0-9].[0-9][0-9][0-9]'
                                         OR s GLOB '[1-9][0-9][0-9].[0-9][0-9][0-9]'))
                     AND abs(CAST(t AS REAL)) <= 1.7976931348623157e308
                     AND (CAST(t AS REAL) <> 0 OR m NOT GLOB '*[1-9]*')
                THEN 1 ELSE 0 END AS valido,
           CASE WHEN t = '' THEN NULL ELSE CAST(t AS REAL) END AS numero,
           CASE WHEN t <> '' AND t NOT GLOB '*[^0-9]*' AND length(t) <= 18
                THEN CAST(t AS INTEGER) END AS entero
    FROM (SELECT campo, t, e, m, x,
                 CASE WHEN substr(m, 1, 1) IN ('+', '-') THEN substr(m, 2) ELSE m END AS s
          FROM (SELECT campo, t, e,
                       CASE WHEN e = 0 THEN t ELSE substr(t, 1, e - 1) END AS m,
                       CASE WHEN e = 0 THEN '0' ELSE substr(t, e + 1) END AS x
                FROM (SELECT campo, t, instr(lower(t), 'e') AS e
                      FROM (SELECT campo, replace(trim(coalesce(texto, '')), ',', '.') AS t
                            FROM entrada))));

-- modificar 'base','valor','meta','id'
CREATE VIEW pedido_modificar AS
    SELECT NULL AS base, NULL AS valor, NULL AS meta, NULL AS id WHERE 0;

CREATE TRIGGER pedido_modificar INSTEAD OF INSERT ON pedido_modificar
BEGIN
    DELETE FROM entrada;
    INSERT INTO entrada VALUES ('base', NEW.base), ('valor', NEW.valor), ('meta', NEW.meta),
                               ('id', NEW.id);
    SELECT RAISE(ABORT, 'La Linea Base no es un número')
        FROM entrada_numero WHERE campo = 'base' AND NOT valido;
    SELECT RAISE(ABORT, 'El Valor no es un número')
        FROM entrada_numero WHERE campo = 'valor' AND NOT valido;
    SELECT RAISE(ABORT, 'La Meta no es un número')
        FROM entrada_numero WHERE campo = 'meta' AND NOT valido;
    SELECT RAISE(ABORT, 'No existe el registro indicado')
        WHERE NOT EXISTS (SELECT 1 FROM registro
                          WHERE id = (SELECT entero FROM entrada_numero WHERE campo = 'id'));
    UPDATE registro
       SET linea_base = (SELECT numero FROM entrada_numero WHERE campo = 'base'),
           valor = (SELECT numero FROM entrada_numero WHERE campo = 'valor'),
           meta = (SELECT numero FROM entrada_numero WHERE campo = 'meta')
     WHERE id = (SELECT entero FROM entrada_numero WHERE campo = 'id');
    DELETE FROM entrada;
END;

-- Nuevo_Indicador 'nombre','tipo': a principal indicator starts in the first
-- perspective, a departmental one in the first department; both start
-- increasing, in the first unit, until a monthly record sets them.
CREATE VIEW pedido_nuevo_indicador AS
    SELECT NULL AS nombre, NULL AS tipo WHERE 0;

CREATE TRIGGER pedido_nuevo_indicador INSTEAD OF INSERT ON pedido_nuevo_indicador
BEGIN
    SELECT RAISE(ABORT, 'Falta el nombre del indicador')
        WHERE trim(coalesce(NEW.nombre, '')) = '';
    SELECT RAISE(ABORT, 'El nombre del indicador no puede pasar de 70 caracteres')
        WHERE length(rtrim(NEW.nombre)) > 70;
    SELECT RAISE(ABORT, 'El nombre del indicador no puede tener caracteres de control')
        WHERE NEW.nombre GLOB '*[' || char(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                                           19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 127, 128,
                                           129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140,
                                           141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152,
                                           153, 154, 155, 156, 157, 158, 159) || ']*';
    SELECT RAISE(ABORT, 'Ya existe un indicador con ese nombre')
        WHERE EXISTS (SELECT 1 FROM indicador WHERE nombre = rtrim(NEW.nombre));
    SELECT RAISE(ABORT, 'Tipo de indicador desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM "Tipo Indicador" WHERE CAST(id AS TEXT) = trim(NEW.tipo));
    INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad)
        VALUES (rtrim(NEW.nombre), CAST(trim(NEW.tipo) AS INTEGER),
                CASE WHEN trim(NEW.tipo) = '1' THEN (SELECT min(id) FROM Perspectivas) END,
                (SELECT min(id) FROM "Desempeño"), (SELECT min(id) FROM "Tipo Unidad"));
    INSERT INTO indicador_departamento (id_indicador, id_departamento)
        SELECT i.id, (SELECT min(id) FROM Departamentos) FROM indicador i
        WHERE i.nombre = rtrim(NEW.nombre) AND i.id_tipo = 2
          AND EXISTS (SELECT 1 FROM Departamentos);
END;

-- eliminar 'nombre': the indicator, its department links and its records.
CREATE VIEW pedido_eliminar AS
    SELECT NULL AS nombre WHERE 0;

CREATE TRIGGER pedido_eliminar INSTEAD OF INSERT ON pedido_eliminar
BEGIN
    SELECT RAISE(ABORT, 'No existe el indicador')
        WHERE NOT EXISTS (SELECT 1 FROM indicador WHERE nombre = rtrim(NEW.nombre));
    DELETE FROM indicador WHERE nombre = rtrim(NEW.nombre);
END;

-- Nuevo_registro 'año','mes','indicador','desempeño','perspectiva','tipo',
-- 'unidad','base','meta','valor': codes by id, the month by name. The codes
-- set the indicator's attributes (the type is checked, not changed) and the
-- numbers go into its records of that year and month (one per department
-- for a departmental indicator).
CREATE VIEW pedido_nuevo_registro AS
    SELECT NULL AS anio, NULL AS mes, NULL AS indicador, NULL AS desempeno,
           NULL AS perspectiva, NULL AS tipo, NULL AS unidad, NULL AS base, NULL AS meta,
           NULL AS valor
    WHERE 0;

CREATE TRIGGER pedido_nuevo_registro INSTEAD OF INSERT ON pedido_nuevo_registro
BEGIN
    SELECT RAISE(ABORT, 'Año desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM "Año" WHERE CAST(id AS TEXT) = trim(NEW.anio));
    SELECT RAISE(ABORT, 'Mes desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM mes WHERE lower(nombre) = lower(trim(NEW.mes)));
    SELECT RAISE(ABORT, 'No existe el indicador')
        WHERE NOT EXISTS (SELECT 1 FROM indicador WHERE nombre = rtrim(NEW.indicador));
    SELECT RAISE(ABORT, 'Desempeño desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM "Desempeño" WHERE CAST(id AS TEXT) = trim(NEW.desempeno));
    SELECT RAISE(ABORT, 'Perspectiva desconocida')
        WHERE NOT EXISTS (SELECT 1 FROM Perspectivas WHERE CAST(id AS TEXT) = trim(NEW.perspectiva));
    SELECT RAISE(ABORT, 'Tipo de indicador desconocido')
        WHERE NOT EXISTS (SELECT 1 FROM "Tipo Indicador" WHERE CAST(id AS TEXT) = trim(NEW.tipo));
    SELECT RAISE(ABORT, 'Unidad desconocida')
        WHERE NOT EXISTS (SELECT 1 FROM "Tipo Unidad" WHERE CAST(id AS TEXT) = trim(NEW.unidad));
    DELETE FROM entrada;
    INSERT INTO entrada VALUES ('base', NEW.base), ('meta', NEW.meta), ('valor', NEW.valor);
    SELECT RAISE(ABORT, 'La Linea Base no es un número')
        FROM entrada_numero WHERE campo = 'base' AND NOT valido;
    SELECT RAISE(ABORT, 'La Meta no es un número')
        FROM entrada_numero WHERE campo = 'meta' AND NOT valido;
    SELECT RAISE(ABORT, 'El Valor no es un número')
        FROM entrada_numero WHERE campo = 'valor' AND NOT valido;
    UPDATE indicador
       SET id_desempeno = CAST(trim(NEW.desempeno) AS INTEGER),
           id_perspectiva = CAST(trim(NEW.perspectiva) AS INTEGER),
           id_unidad = CAST(trim(NEW.unidad) AS INTEGER)
     WHERE nombre = rtrim(NEW.indicador);
    UPDATE registro
       SET linea_base = (SELECT numero FROM entrada_numero WHERE campo = 'base'),
           meta = (SELECT numero FROM entrada_numero WHERE campo = 'meta'),
           valor = (SELECT numero FROM entrada_numero WHERE campo = 'valor')
     WHERE id_indicador = (SELECT id FROM indicador WHERE nombre = rtrim(NEW.indicador))
       AND id_anio = CAST(trim(NEW.anio) AS INTEGER)
       AND mes = (SELECT id FROM mes WHERE lower(nombre) = lower(trim(NEW.mes)));
    DELETE FROM entrada;
END;

-- The procedures. Arguments are bound in the order `parametros` lists them.
INSERT INTO procedimientos (nombre, paso, sentencia, parametros) VALUES

('Reporte_Principal', 1, '
WITH p AS (SELECT
    (SELECT id FROM Perspectivas WHERE rtrim(perspectiva) = rtrim(?)) AS id_perspectiva,
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id_mes FROM periodo WHERE clave = lower(trim(?))) AS mes,
    trim(?) AS tipo)
SELECT i.nombre AS "Indicador", r.meta AS "Meta C/P", r.valor AS "Valor",
       r.linea_base AS "Nivel Base", i.id_desempeno AS "Id_Desempeño"
FROM p
JOIN indicador i ON i.id_perspectiva = p.id_perspectiva AND CAST(i.id_tipo AS TEXT) = p.tipo
LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = 0
                    AND r.id_anio = p.id_anio AND r.mes = p.mes
ORDER BY i.id', '1,2,3,4'),

('Reporte_Departamentos', 1, '
WITH p AS (SELECT
    (SELECT id FROM Departamentos WHERE "Departamento" = rtrim(?)) AS id_departamento,
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id_mes FROM periodo WHERE clave = lower(trim(?))) AS mes,
    trim(?) AS tipo)
SELECT i.nombre AS "Indicador", r.meta AS "Meta C/P", r.valor AS "Valor",
       r.linea_base AS "Nivel Base", i.id_desempeno AS "Id_Desempeño"
FROM p
JOIN indicador_departamento d ON d.id_departamento = p.id_departamento
JOIN indicador i ON i.id = d.id_indicador AND CAST(i.id_tipo AS TEXT) = p.tipo
LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = d.id_departamento
                    AND r.id_anio = p.id_anio AND r.mes = p.mes
ORDER BY i.id', '1,2,3,4'),

('Ten_Des', 1, '
WITH p AS (SELECT
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id FROM indicador WHERE nombre = rtrim(?)) AS id_indicador)
SELECT r.meta AS "Meta C/P", r.valor AS "Valor", r.linea_base AS "Nivel Base",
       i.id_desempeno AS "Id_Desempeño"
FROM p CROSS JOIN mes m
LEFT JOIN indicador i ON i.id = p.id_indicador
LEFT JOIN registro r ON r.id_indicador = p.id_indicador AND r.id_departamento = 0
                    AND r.id_anio = p.id_anio AND r.mes = m.id
ORDER BY m.id', '2,3'),

('Ten_Des2', 1, '
WITH p AS (SELECT
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id FROM indicador WHERE nombre = rtrim(?)) AS id_indicador,
    (SELECT id FROM Departamentos WHERE "Departamento" = rtrim(?)) AS id_departamento)
SELECT r.meta AS "Meta", r.valor AS "Valor", r.linea_base AS "Linea_Base",
       i.id_desempeno AS "Id_Desempeño"
FROM p CROSS JOIN mes m
LEFT JOIN indicador i ON i.id = p.id_indicador
LEFT JOIN registro r ON r.id_indicador = p.id_indicador AND r.id_departamento = p.id_departamento
                    AND r.id_anio = p.id_anio AND r.mes = m.id
ORDER BY m.id', '2,3,4'),

('Ten_Des_1_2', 1, '
SELECT dp."Departamento" AS "Nombre1"
FROM indicador i
JOIN indicador_departamento d ON d.id_indicador = i.id
JOIN Departamentos dp ON dp.id = d.id_departamento
WHERE i.nombre = rtrim(?)
ORDER BY dp.id', '3'),

('Consulta_KPI_2', 1, '
SELECT dp."Departamento" AS "Nombre1"
FROM indicador i
JOIN indicador_departamento d ON d.id_indicador = i.id
JOIN Departamentos dp ON dp.id = d.id_departamento
WHERE i.nombre = rtrim(?)
ORDER BY dp.id', '1'),

('Principales_o_Departametnales', 1, '
SELECT nombre AS "Indicador", nombre AS "Nombre"
FROM indicador
WHERE CAST(id_tipo AS TEXT) = trim(?)
ORDER BY id', '1'),

('Consulta_KPI', 1, '
WITH p AS (SELECT
    (SELECT id FROM indicador WHERE nombre = rtrim(?)) AS id_indicador,
    (SELECT id_mes FROM periodo WHERE clave = lower(trim(?))) AS mes,
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio)
SELECT t."Tipo Indicador" AS "Tipo Indicador", u.unidad AS "unidad",
       r.linea_base AS "Nivel Base", r.valor AS "Valor", r.meta AS "Meta C/P",
       a."año" AS "año", r.id AS "ID", t."Tipo Indicador" AS "Tipo_Indicador"
FROM p
JOIN indicador i ON i.id = p.id_indicador
JOIN "Tipo Indicador" t ON t.id = i.id_tipo
JOIN "Tipo Unidad" u ON u.id = i.id_unidad
LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = 0
                    AND r.id_anio = p.id_anio AND r.mes = p.mes
LEFT JOIN "Año" a ON a.id = r.id_anio', '1,2,3'),

('Consulta_KPI_DEPARTAMENTOS', 1, '
WITH p AS (SELECT
    (SELECT id FROM indicador WHERE nombre = rtrim(?)) AS id_indicador,
    (SELECT id_mes FROM periodo WHERE clave = lower(trim(?))) AS mes,
    (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?)) AS id_anio,
    (SELECT id FROM Departamentos WHERE "Departamento" = rtrim(?)) AS id_departamento)
SELECT t."Tipo Indicador" AS "Tipo_Indicador", u.unidad AS "Tipo_Unidad",
       r.linea_base AS "Linea_Base", r.valor AS "Valor", r.meta AS "Meta",
       a."año" AS "año", r.id AS "Id1"
FROM p
JOIN indicador i ON i.id = p.id_indicador
JOIN indicador_departamento d ON d.id_indicador = i.id AND d.id_departamento = p.id_departamento
JOIN "Tipo Indicador" t ON t.id = i.id_tipo
JOIN "Tipo Unidad" u ON u.id = i.id_unidad
LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = d.id_departamento
                    AND r.id_anio = p.id_anio AND r.mes = p.mes
LEFT JOIN "Año" a ON a.id = r.id_anio', '1,2,3,4'),

('Consulta_modificar', 1, '
SELECT r.valor AS "Valor", r.meta AS "Meta C/P", r.linea_base AS "Nivel Base", r.id AS "Id1"
FROM registro r
WHERE r.id_indicador = (SELECT id FROM indicador WHERE nombre = rtrim(?))
  AND r.id_anio = (SELECT id FROM "Año" WHERE CAST("año" AS TEXT) = trim(?))
ORDER BY r.id_departamento, r.mes', '1,2'),

-- One record by its identifier, read again inside a save's transaction (the
-- store transaction already holds the write lock) to see whether anyone
-- changed it after the screen fetched it.
('Consulta_registro', 1, '
SELECT r.valor AS "Valor", r.meta AS "Meta C/P", r.linea_base AS "Nivel Base", r.id AS "Id1"
FROM registro r
WHERE r.id = CAST(trim(?) AS INTEGER) AND trim(?) GLOB ''[0-9]*'' AND trim(?) NOT GLOB ''*[^0-9]*''', '1,1,1'),

-- CROSS JOIN keeps the records as the outer loop: they are walked in the
-- order of registro_periodo and stream without a sort.
('Exportar', 1, '
SELECT a."año" AS "año", m.nombre AS "Mes", i.nombre AS "Indicador",
       t."Tipo Indicador" AS "Tipo Indicador", d."desempeño" AS "desempeño",
       u.unidad AS "unidad", r.linea_base AS "Nivel Base", r.valor AS "Valor",
       r.meta AS "Meta C/P"
FROM registro r
CROSS JOIN "Año" a ON a.id = r.id_anio
CROSS JOIN mes m ON m.id = r.mes
CROSS JOIN indicador i ON i.id = r.id_indicador
CROSS JOIN "Tipo Indicador" t ON t.id = i.id_tipo
CROSS JOIN "Desempeño" d ON d.id = i.id_desempeno
CROSS JOIN "Tipo Unidad" u ON u.id = i.id_unidad
WHERE r.valor IS NOT NULL OR r.meta IS NOT NULL OR r.linea_base IS NOT NULL
ORDER BY r.id_anio, r.mes, r.id_indicador, r.id_departamento', ''),

('modificar', 1, '
INSERT INTO pedido_modificar (base, valor, meta, id) VALUES (?, ?, ?, ?)', '1,2,3,4'),

('Nuevo_Indicador', 1, '
INSERT INTO pedido_nuevo_indicador (nombre, tipo) VALUES (?, ?)', '1,2'),

('eliminar', 1, '
INSERT INTO pedido_eliminar (nombre) VALUES (?)', '1'),

('Nuevo_registro', 1, '
INSERT INTO pedido_nuevo_registro
    (anio, mes, indicador, desempeno, perspectiva, tipo, unidad, base, meta, valor)
VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)', '1,2,3,4,5,6,7,8,9,10');
