-- SPDX-License-Identifier: GPL-3.0-or-later
-- Velmora scorecard database on SQLite: the history of every change.
--
-- Triggers on the catalogue and the records write one row per changed value
-- into `historial`, in the same transaction as the change: when, who (the
-- account and the program's user type), the indicator (by name, which
-- outlives it), the department, year and month of a record, the field and the
-- value before and after. Indicator fields hold codes ("Tipo Indicador",
-- "Perspectiva", "Desempeño", "Unidad", "Departamento"); record fields
-- ("Valor", "Meta", "Linea Base") hold the numbers. A deletion records the
-- indicator, its departments and every number of its records, so that
-- `Restaurar_indicador` can bring it back as it was.
--
-- SQLite knows no users and no session variables, and a trigger cannot read
-- a connection's TEMP table. So the program names itself once per connection
-- (`Sesion_programa 'tipo','cuenta'` keeps both in TEMP table
-- `sesion_velmora`), and each store copies them into the one row of
-- `autor_cambio` before it changes anything and empties that row afterwards.
-- A store runs as the only writer, so no one else sees the row filled; a
-- change from another client finds it empty and is recorded without a name.
-- This file is loaded after the data, which are therefore not history.

CREATE TABLE historial (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    momento         TEXT    NOT NULL,
    usuario_bd      TEXT,
    tipo_usuario    TEXT,
    lote            INTEGER,          -- one store call
    indicador       VARCHAR(70) NOT NULL,
    id_departamento INTEGER,          -- 0 for a principal indicator's record
    anio            INTEGER,          -- the year itself
    mes             INTEGER,
    campo           TEXT    NOT NULL,
    antes           REAL,
    despues         REAL,
    -- Read as doubles whole (see registro.valor_exacto).
    antes_exacto    "DOUBLE TEXT"
        GENERATED ALWAYS AS (CASE WHEN antes IS NOT NULL THEN printf('%!.18g', antes) END) VIRTUAL,
    despues_exacto  "DOUBLE TEXT"
        GENERATED ALWAYS AS (CASE WHEN despues IS NOT NULL THEN printf('%!.18g', despues) END) VIRTUAL
);
CREATE INDEX historial_indicador ON historial (indicador, id);

CREATE TABLE autor_cambio (
    id           INTEGER PRIMARY KEY CHECK (id = 1),
    usuario_bd   TEXT,
    tipo_usuario TEXT,
    lote         INTEGER
);
INSERT INTO autor_cambio (id) VALUES (1);

CREATE TRIGGER historial_indicador_alta AFTER INSERT ON indicador
BEGIN
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, campo, antes,
                           despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, NEW.nombre, c.campo, NULL, c.valor
        FROM autor_cambio a,
             (SELECT 1 AS orden, 'Tipo Indicador' AS campo, NEW.id_tipo AS valor
              UNION ALL SELECT 2, 'Perspectiva', NEW.id_perspectiva
              UNION ALL SELECT 3, 'Desempeño', NEW.id_desempeno
              UNION ALL SELECT 4, 'Unidad', NEW.id_unidad) c
        WHERE c.valor IS NOT NULL
        ORDER BY c.orden;
END;

CREATE TRIGGER historial_indicador_cambio
AFTER UPDATE OF id_tipo, id_perspectiva, id_desempeno, id_unidad ON indicador
BEGIN
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, campo, antes,
                           despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, NEW.nombre, c.campo, c.antes, c.despues
        FROM autor_cambio a,
             (SELECT 1 AS orden, 'Tipo Indicador' AS campo, OLD.id_tipo AS antes,
                     NEW.id_tipo AS despues
              UNION ALL SELECT 2, 'Perspectiva', OLD.id_perspectiva, NEW.id_perspectiva
              UNION ALL SELECT 3, 'Desempeño', OLD.id_desempeno, NEW.id_desempeno
              UNION ALL SELECT 4, 'Unidad', OLD.id_unidad, NEW.id_unidad) c
        WHERE c.antes IS NOT c.despues
        ORDER BY c.orden;
END;

-- Before the indicator goes: its type first (a restore starts from that
-- row), then its other fields, its departments and its numbers. What the
-- deletion then removes of its links and records is not recorded again.
CREATE TRIGGER historial_indicador_baja BEFORE DELETE ON indicador
BEGIN
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, campo, antes,
                           despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, OLD.nombre, c.campo, c.valor, NULL
        FROM autor_cambio a,
             (SELECT 1 AS orden, 'Tipo Indicador' AS campo, OLD.id_tipo AS valor
              UNION ALL SELECT 2, 'Perspectiva', OLD.id_perspectiva
              UNION ALL SELECT 3, 'Desempeño', OLD.id_desempeno
              UNION ALL SELECT 4, 'Unidad', OLD.id_unidad) c
        WHERE c.valor IS NOT NULL
        ORDER BY c.orden;
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, campo, antes,
                           despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, OLD.nombre, 'Departamento', d.id_departamento, NULL
        FROM autor_cambio a, indicador_departamento d
        WHERE d.id_indicador = OLD.id
        ORDER BY d.id_departamento;
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, id_departamento,
                           anio, mes, campo, antes, despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, OLD.nombre, v.id_departamento, v.anio, v.mes, v.campo,
               v.valor, NULL
        FROM autor_cambio a,
             (SELECT r.id_departamento, y."año" AS anio, r.mes, n.campo,
                     CASE n.orden WHEN 1 THEN r.valor WHEN 2 THEN r.meta
                                  ELSE r.linea_base END AS valor,
                     r.id_anio, n.orden
              FROM registro r
              JOIN "Año" y ON y.id = r.id_anio
              CROSS JOIN (SELECT 1 AS orden, 'Valor' AS campo UNION ALL SELECT 2, 'Meta'
                          UNION ALL SELECT 3, 'Linea Base') n
              WHERE r.id_indicador = OLD.id) v
        WHERE v.valor IS NOT NULL
        ORDER BY v.id_departamento, v.id_anio, v.mes, v.orden;
END;

-- A record's numbers. Records come and go with their indicator or
-- department link; only a number that is there, or changes, is recorded.
CREATE TRIGGER historial_registro_cambio AFTER UPDATE OF valor, meta, linea_base ON registro
BEGIN
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, id_departamento,
                           anio, mes, campo, antes, despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, i.nombre, NEW.id_departamento, y."año", NEW.mes,
               c.campo, c.antes, c.despues
        FROM autor_cambio a, indicador i, "Año" y,
             (SELECT 1 AS orden, 'Valor' AS campo, OLD.valor AS antes, NEW.valor AS despues
              UNION ALL SELECT 2, 'Meta', OLD.meta, NEW.meta
              UNION ALL SELECT 3, 'Linea Base', OLD.linea_base, NEW.linea_base) c
        WHERE i.id = NEW.id_indicador AND y.id = NEW.id_anio AND c.antes IS NOT c.despues
        ORDER BY c.orden;
END;

CREATE TRIGGER historial_registro_alta AFTER INSERT ON registro
WHEN NEW.valor IS NOT NULL OR NEW.meta IS NOT NULL OR NEW.linea_base IS NOT NULL
BEGIN
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, id_departamento,
                           anio, mes, campo, antes, despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, i.nombre, NEW.id_departamento, y."año", NEW.mes,
               c.campo, NULL, c.valor
        FROM autor_cambio a, indicador i, "Año" y,
             (SELECT 1 AS orden, 'Valor' AS campo, NEW.valor AS valor
              UNION ALL SELECT 2, 'Meta', NEW.meta
              UNION ALL SELECT 3, 'Linea Base', NEW.linea_base) c
        WHERE i.id = NEW.id_indicador AND y.id = NEW.id_anio AND c.valor IS NOT NULL
        ORDER BY c.orden;
END;

-- Also a record removed on its own (its indicator stays): with the indicator
-- gone, its deletion has recorded it already.
CREATE TRIGGER historial_registro_baja AFTER DELETE ON registro
WHEN OLD.valor IS NOT NULL OR OLD.meta IS NOT NULL OR OLD.linea_base IS NOT NULL
BEGIN
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, id_departamento,
                           anio, mes, campo, antes, despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, i.nombre, OLD.id_departamento, y."año", OLD.mes,
               c.campo, c.valor, NULL
        FROM autor_cambio a, indicador i, "Año" y,
             (SELECT 1 AS orden, 'Valor' AS campo, OLD.valor AS valor
              UNION ALL SELECT 2, 'Meta', OLD.meta
              UNION ALL SELECT 3, 'Linea Base', OLD.linea_base) c
        WHERE i.id = OLD.id_indicador AND y.id = OLD.id_anio AND c.valor IS NOT NULL
        ORDER BY c.orden;
END;

CREATE TRIGGER historial_departamento_alta AFTER INSERT ON indicador_departamento
BEGIN
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, campo, antes,
                           despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, i.nombre, 'Departamento', NULL, NEW.id_departamento
        FROM autor_cambio a, indicador i
        WHERE i.id = NEW.id_indicador;
END;

CREATE TRIGGER historial_departamento_baja AFTER DELETE ON indicador_departamento
BEGIN
    INSERT INTO historial (momento, usuario_bd, tipo_usuario, lote, indicador, campo, antes,
                           despues)
        SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), a.usuario_bd,
               a.tipo_usuario, a.lote, i.nombre, 'Departamento', OLD.id_departamento, NULL
        FROM autor_cambio a, indicador i
        WHERE i.id = OLD.id_indicador;
END;

-- Restaurar_indicador 'nombre': the indicator as its last deletion left it,
-- with its departments and numbers. The rows of that deletion are those of
-- its batch from its "Tipo Indicador" row on; `restauracion` holds them
-- while the trigger runs.
CREATE TABLE restauracion (
    campo           TEXT NOT NULL,
    id_departamento INTEGER,
    anio            INTEGER,
    mes             INTEGER,
    antes           REAL
);
CREATE INDEX restauracion_registro ON restauracion (id_departamento, anio, mes, campo);

CREATE VIEW pedido_restaurar AS
    SELECT NULL AS nombre WHERE 0;

CREATE TRIGGER pedido_restaurar INSTEAD OF INSERT ON pedido_restaurar
BEGIN
    SELECT RAISE(ABORT, 'Ya existe un indicador con ese nombre')
        WHERE EXISTS (SELECT 1 FROM indicador WHERE nombre = rtrim(NEW.nombre));
    DELETE FROM restauracion;
    INSERT INTO restauracion (campo, id_departamento, anio, mes, antes)
        SELECT h.campo, h.id_departamento, h.anio, h.mes, h.antes
        FROM (SELECT id, lote FROM historial
              WHERE indicador = rtrim(NEW.nombre) AND campo = 'Tipo Indicador'
                AND antes IS NOT NULL AND despues IS NULL
              ORDER BY id DESC LIMIT 1) b
        JOIN historial h ON h.indicador = rtrim(NEW.nombre) AND h.id >= b.id
                        AND h.lote IS b.lote
        WHERE h.antes IS NOT NULL AND h.despues IS NULL;
    SELECT RAISE(ABORT, 'No hay una eliminación registrada de ese indicador')
        WHERE NOT EXISTS (SELECT 1 FROM restauracion);
    INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad)
        VALUES (rtrim(NEW.nombre),
                (SELECT CAST(antes AS INTEGER) FROM restauracion WHERE campo = 'Tipo Indicador'),
                (SELECT CAST(antes AS INTEGER) FROM restauracion WHERE campo = 'Perspectiva'),
                (SELECT CAST(antes AS INTEGER) FROM restauracion WHERE campo = 'Desempeño'),
                (SELECT CAST(antes AS INTEGER) FROM restauracion WHERE campo = 'Unidad'));
    INSERT INTO indicador_departamento (id_indicador, id_departamento)
        SELECT i.id, CAST(r.antes AS INTEGER)
        FROM restauracion r
        JOIN indicador i ON i.nombre = rtrim(NEW.nombre)
        JOIN Departamentos d ON d.id = CAST(r.antes AS INTEGER)
        WHERE r.campo = 'Departamento'
        ORDER BY d.id;
    UPDATE registro
       SET valor = (SELECT r.antes FROM restauracion r, "Año" y
                    WHERE r.id_departamento = registro.id_departamento AND r.anio = y."año"
                      AND y.id = registro.id_anio AND r.mes = registro.mes
                      AND r.campo = 'Valor'),
           meta = (SELECT r.antes FROM restauracion r, "Año" y
                   WHERE r.id_departamento = registro.id_departamento AND r.anio = y."año"
                     AND y.id = registro.id_anio AND r.mes = registro.mes
                     AND r.campo = 'Meta'),
           linea_base = (SELECT r.antes FROM restauracion r, "Año" y
                         WHERE r.id_departamento = registro.id_departamento AND r.anio = y."año"
                           AND y.id = registro.id_anio AND r.mes = registro.mes
                           AND r.campo = 'Linea Base')
     WHERE id_indicador = (SELECT id FROM indicador WHERE nombre = rtrim(NEW.nombre))
       AND EXISTS (SELECT 1 FROM restauracion r, "Año" y
                   WHERE r.id_departamento = registro.id_departamento AND r.anio = y."año"
                     AND y.id = registro.id_anio AND r.mes = registro.mes);
    DELETE FROM restauracion;
END;

-- The procedures of the history, and the steps every store takes around its
-- own: name the writer before, forget it after. The program's user type and
-- account live in the connection's TEMP table (created here when the program
-- has not named itself, so a store never depends on it).
INSERT INTO procedimientos (nombre, paso, sentencia, parametros) VALUES

('Sesion_programa', 1, '
CREATE TEMP TABLE IF NOT EXISTS sesion_velmora (usuario_bd TEXT, tipo_usuario TEXT)', ''),
('Sesion_programa', 2, '
DELETE FROM temp.sesion_velmora', ''),
('Sesion_programa', 3, '
INSERT INTO temp.sesion_velmora (usuario_bd, tipo_usuario) VALUES (?, ?)', '2,1'),

('Consulta_historial', 1, '
SELECT substr(h.momento, 1, 19) AS "Fecha", h.usuario_bd AS "Usuario", h.tipo_usuario AS "Tipo de usuario",
       d."Departamento" AS "Departamento", h.anio AS "Año", m.nombre AS "Mes",
       h.campo AS "Campo", h.antes_exacto AS "Antes", h.despues_exacto AS "Después",
       CASE h.campo WHEN ''Tipo Indicador'' THEN (SELECT rtrim(t."Tipo Indicador") FROM "Tipo Indicador" t WHERE t.id = h.antes)
                    WHEN ''Perspectiva'' THEN (SELECT rtrim(p.perspectiva) FROM Perspectivas p WHERE p.id = h.antes)
                    WHEN ''Desempeño'' THEN (SELECT rtrim(x."desempeño") FROM "Desempeño" x WHERE x.id = h.antes)
                    WHEN ''Unidad'' THEN (SELECT rtrim(u.unidad) FROM "Tipo Unidad" u WHERE u.id = h.antes)
                    WHEN ''Departamento'' THEN (SELECT e."Departamento" FROM Departamentos e WHERE e.id = h.antes)
       END AS "Antes_nombre",
       CASE h.campo WHEN ''Tipo Indicador'' THEN (SELECT rtrim(t."Tipo Indicador") FROM "Tipo Indicador" t WHERE t.id = h.despues)
                    WHEN ''Perspectiva'' THEN (SELECT rtrim(p.perspectiva) FROM Perspectivas p WHERE p.id = h.despues)
                    WHEN ''Desempeño'' THEN (SELECT rtrim(x."desempeño") FROM "Desempeño" x WHERE x.id = h.despues)
                    WHEN ''Unidad'' THEN (SELECT rtrim(u.unidad) FROM "Tipo Unidad" u WHERE u.id = h.despues)
                    WHEN ''Departamento'' THEN (SELECT e."Departamento" FROM Departamentos e WHERE e.id = h.despues)
       END AS "Después_nombre"
FROM historial h
LEFT JOIN Departamentos d ON d.id = h.id_departamento
LEFT JOIN mes m ON m.id = h.mes
WHERE h.indicador = rtrim(?)
ORDER BY h.id DESC', '1'),

('Indicadores_historial', 1, '
SELECT nombre AS "Indicador" FROM indicador
UNION
SELECT indicador FROM historial
ORDER BY 1', ''),

('Restaurar_indicador', 1, '
INSERT INTO pedido_restaurar (nombre) VALUES (?)', '1');

INSERT INTO procedimientos (nombre, paso, sentencia, parametros)
    SELECT p.nombre, s.paso, s.sentencia, ''
    FROM (SELECT 'modificar' AS nombre UNION ALL SELECT 'Nuevo_Indicador'
          UNION ALL SELECT 'eliminar' UNION ALL SELECT 'Nuevo_registro'
          UNION ALL SELECT 'Restaurar_indicador') p
    CROSS JOIN (SELECT -1 AS paso, '
CREATE TEMP TABLE IF NOT EXISTS sesion_velmora (usuario_bd TEXT, tipo_usuario TEXT)' AS sentencia
                UNION ALL SELECT 0, '
UPDATE autor_cambio
   SET usuario_bd = (SELECT usuario_bd FROM temp.sesion_velmora),
       tipo_usuario = (SELECT tipo_usuario FROM temp.sesion_velmora),
       lote = (SELECT coalesce(max(id), 0) + 1 FROM historial)'
                UNION ALL SELECT 9, '
UPDATE autor_cambio SET usuario_bd = NULL, tipo_usuario = NULL, lote = NULL') s;
