-- SPDX-License-Identifier: GPL-3.0-or-later
-- Velmora scorecard database on SQLite: tables, lookups and the triggers that
-- keep one record per month of every year for each indicator.
--
-- The lookup tables carry the names and field names the program reads
-- ("select * from Año " and so on). Fixed-width names are stored padded with
-- blanks to their width, because the screens compare padded texts.
-- The other tables use plain ASCII names of our own.

-- Procedure bodies: "Exec nombre 'a','b'" runs the statements of `nombre`
-- in `paso` order, binding for each '?' the argument whose 1-based index
-- `parametros` lists (comma separated, in order).
CREATE TABLE procedimientos (
    nombre     TEXT    NOT NULL,
    paso       INTEGER NOT NULL,
    sentencia  TEXT    NOT NULL,
    parametros TEXT    NOT NULL DEFAULT '',
    PRIMARY KEY (nombre, paso)
);

-- A year's id is the year minus 2004 (2005 is 1).
CREATE TABLE "Año" (
    id      INTEGER PRIMARY KEY,
    "año"   INTEGER NOT NULL UNIQUE
);

CREATE TABLE Perspectivas (
    id          INTEGER PRIMARY KEY,
    perspectiva CHAR(30) NOT NULL UNIQUE
);

CREATE TABLE Departamentos (
    id             INTEGER PRIMARY KEY,
    "Departamento" VARCHAR(60) NOT NULL UNIQUE
);

CREATE TABLE "Tipo Indicador" (
    id               INTEGER PRIMARY KEY,
    "Tipo Indicador" CHAR(15) NOT NULL UNIQUE
);

CREATE TABLE "Tipo Unidad" (
    id     INTEGER PRIMARY KEY,
    unidad CHAR(10) NOT NULL UNIQUE
);

CREATE TABLE "Desempeño" (
    id          INTEGER PRIMARY KEY,
    "desempeño" CHAR(15) NOT NULL UNIQUE
);

-- Months in calendar order, and the periods the procedures accept: a month
-- name or a quarter, which stands for its last month. `clave` is the name
-- in lower case.
CREATE TABLE mes (
    id     INTEGER PRIMARY KEY,
    nombre VARCHAR(10) NOT NULL UNIQUE
);

CREATE TABLE periodo (
    clave  VARCHAR(20) PRIMARY KEY,
    id_mes INTEGER NOT NULL REFERENCES mes
);

-- id_tipo 1 is principal (it has a perspective), 2 departmental (it belongs
-- to the departments of indicador_departamento).
CREATE TABLE indicador (
    id             INTEGER PRIMARY KEY,
    nombre         VARCHAR(70) NOT NULL UNIQUE,
    id_tipo        INTEGER NOT NULL REFERENCES "Tipo Indicador",
    id_perspectiva INTEGER REFERENCES Perspectivas,
    id_desempeno   INTEGER NOT NULL REFERENCES "Desempeño",
    id_unidad      INTEGER NOT NULL REFERENCES "Tipo Unidad"
);
CREATE INDEX indicador_perspectiva ON indicador (id_perspectiva, id_tipo);

CREATE TABLE indicador_departamento (
    id_indicador    INTEGER NOT NULL REFERENCES indicador,
    id_departamento INTEGER NOT NULL REFERENCES Departamentos,
    PRIMARY KEY (id_departamento, id_indicador)
);
CREATE INDEX indicador_departamento_indicador ON indicador_departamento (id_indicador, id_departamento);

-- One record per indicator (and department: 0 for a principal indicator),
-- year and month. Value, target and baseline are each a number or Null.
CREATE TABLE registro (
    id              INTEGER PRIMARY KEY,
    id_indicador    INTEGER NOT NULL REFERENCES indicador,
    id_departamento INTEGER NOT NULL DEFAULT 0,
    id_anio         INTEGER NOT NULL REFERENCES "Año",
    mes             INTEGER NOT NULL REFERENCES mes,
    valor           REAL,
    meta            REAL,
    linea_base      REAL
);
CREATE UNIQUE INDEX registro_serie ON registro (id_indicador, id_departamento, id_anio, mes);
-- The export walks the records that hold a number in period order.
CREATE INDEX registro_periodo ON registro (id_anio, mes, id_indicador, id_departamento)
    WHERE valor IS NOT NULL OR meta IS NOT NULL OR linea_base IS NOT NULL;

-- The catalogue as the lists read it, always in creation order.
CREATE VIEW Indicadores AS
    SELECT id AS "Id", nombre AS "Indicador", id_tipo AS "Id_Tipo",
           id_perspectiva AS "Id_Perspectiva", id_desempeno AS "Id_Desempeño",
           id_unidad AS "Id_Unidad"
    FROM indicador
    ORDER BY id;

-- Fixed lookups, in code order.
INSERT INTO "Tipo Indicador" VALUES
    (1, 'Principal      '),
    (2, 'Departamentales');
INSERT INTO "Desempeño" VALUES
    (1, 'Creciente      '),
    (2, 'Decreciente    ');
INSERT INTO Perspectivas VALUES
    (1, 'Financiero                    '),
    (2, 'Clientes                      '),
    (3, 'Procesos Internos             '),
    (4, 'Capital Intangible            ');
INSERT INTO "Tipo Unidad" VALUES
    (1, '%         '),
    (2, 'Horas     '),
    (3, '#         '),
    (4, 'Días      '),
    (5, '$         '),
    (6, 'Minutos   ');
INSERT INTO mes VALUES
    (1, 'Enero'), (2, 'Febrero'), (3, 'Marzo'), (4, 'Abril'), (5, 'Mayo'), (6, 'Junio'),
    (7, 'Julio'), (8, 'Agosto'), (9, 'Septiembre'), (10, 'Octubre'), (11, 'Noviembre'),
    (12, 'Diciembre');
INSERT INTO periodo SELECT lower(nombre), id FROM mes;
INSERT INTO periodo VALUES
    ('primer trimestre', 3), ('segundo trimestre', 6), ('tercer trimestre', 9),
    ('cuarto trimestre', 12);

-- Records follow the catalogue: created with a principal indicator, with a
-- department of a departmental one, and for every series when a year is
-- added; removed with their indicator or department link.
CREATE TRIGGER indicador_alta AFTER INSERT ON indicador WHEN NEW.id_tipo = 1
BEGIN
    INSERT INTO registro (id_indicador, id_departamento, id_anio, mes)
        SELECT NEW.id, 0, a.id, m.id FROM "Año" a CROSS JOIN mes m ORDER BY a.id, m.id;
END;

CREATE TRIGGER indicador_departamento_alta AFTER INSERT ON indicador_departamento
BEGIN
    INSERT INTO registro (id_indicador, id_departamento, id_anio, mes)
        SELECT NEW.id_indicador, NEW.id_departamento, a.id, m.id
        FROM "Año" a CROSS JOIN mes m ORDER BY a.id, m.id;
END;

CREATE TRIGGER anio_alta AFTER INSERT ON "Año"
BEGIN
    INSERT INTO registro (id_indicador, id_departamento, id_anio, mes)
        SELECT s.id_indicador, s.id_departamento, NEW.id, m.id
        FROM (SELECT id AS id_indicador, 0 AS id_departamento FROM indicador WHERE id_tipo = 1
              UNION ALL
              SELECT id_indicador, id_departamento FROM indicador_departamento) s
        CROSS JOIN mes m
        ORDER BY s.id_indicador, s.id_departamento, m.id;
END;

CREATE TRIGGER indicador_baja AFTER DELETE ON indicador
BEGIN
    DELETE FROM indicador_departamento WHERE id_indicador = OLD.id;
    DELETE FROM registro WHERE id_indicador = OLD.id;
END;

CREATE TRIGGER indicador_departamento_baja AFTER DELETE ON indicador_departamento
BEGIN
    DELETE FROM registro
    WHERE id_indicador = OLD.id_indicador AND id_departamento = OLD.id_departamento;
END;

-- 2005 to 2026.
WITH RECURSIVE n(anio) AS (SELECT 2005 UNION ALL SELECT anio + 1 FROM n WHERE anio < 2026)
INSERT INTO "Año" SELECT anio - 2004, anio FROM n;
