-- Provisional schema: lookup tables and the table of procedures.
CREATE TABLE procedimientos (nombre TEXT NOT NULL, paso INTEGER NOT NULL, sentencia TEXT NOT NULL,
                             parametros TEXT NOT NULL DEFAULT '', PRIMARY KEY (nombre, paso));
CREATE TABLE "Año" (id INTEGER PRIMARY KEY, "año" INTEGER NOT NULL);
CREATE TABLE "Tipo Indicador" (id INTEGER PRIMARY KEY, "Tipo Indicador" CHAR(15) NOT NULL);
INSERT INTO "Año" VALUES (1, 2005), (2, 2006), (3, 2007);
INSERT INTO "Tipo Indicador" VALUES (1, 'Principal      '), (2, 'Departamentales');
CREATE TABLE Indicadores (id INTEGER PRIMARY KEY, "Indicador" TEXT NOT NULL UNIQUE);
INSERT INTO procedimientos VALUES ('Principales_o_Departametnales', 1,
  'SELECT "Indicador", "Indicador" AS "Nombre" FROM Indicadores WHERE ? <> '''' ORDER BY id', '1');
