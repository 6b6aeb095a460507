#include "pantallas.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"

#include <QAbstractItemView>
#include <QtTest>

namespace {

QtMessageHandler manejador_anterior = nullptr;

// The offscreen platform warns that a list's popup cannot raise itself nor
// grab the keyboard; nothing a test can act on.
void callar_avisos_de_plataforma(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (tipo == QtWarningMsg && texto.startsWith(QStringLiteral("This plugin does not support")))
        return;
    manejador_anterior(tipo, contexto, texto);
}

// A stand-in for the scorecard procedures, written in the same contract:
// names padded with blanks, numbers as text with comma or point, refusals
// raised with a Spanish text.
const char* const kEsquema[] = {
    R"(ALTER TABLE Indicadores ADD COLUMN tipo INTEGER NOT NULL DEFAULT 1)",
    R"(ALTER TABLE Indicadores ADD COLUMN desempeño INTEGER)",
    R"(ALTER TABLE Indicadores ADD COLUMN perspectiva INTEGER)",
    R"(ALTER TABLE Indicadores ADD COLUMN unidad INTEGER)",
    R"(WITH RECURSIVE s(y) AS (SELECT 2008 UNION ALL SELECT y + 1 FROM s WHERE y < 2026)
       INSERT INTO "Año" SELECT y - 2004, y FROM s)",
    R"(CREATE TABLE "Desempeño" (id INTEGER PRIMARY KEY, "desempeño" TEXT))",
    R"(INSERT INTO "Desempeño" VALUES (1, 'Creciente      '), (2, 'Decreciente    '))",
    R"(CREATE TABLE Perspectivas (id INTEGER PRIMARY KEY, perspectiva TEXT))",
    R"(INSERT INTO Perspectivas VALUES (1, 'Financiero                    '),
       (2, 'Clientes                      '), (3, 'Procesos Internos             '),
       (4, 'Capital Intangible            '))",
    R"(CREATE TABLE "Tipo Unidad" (id INTEGER PRIMARY KEY, unidad TEXT))",
    R"(INSERT INTO "Tipo Unidad" VALUES (1, '%         '), (2, 'Horas     '), (3, '#         '),
       (4, 'Días      '), (5, '$         '), (6, 'Minutos   '))",
    R"(CREATE TABLE Departamentos (id INTEGER PRIMARY KEY, "Departamento" TEXT))",
    R"(INSERT INTO Departamentos VALUES (1, 'Ventas'), (2, 'Logística'))",
    R"(CREATE TABLE depto_indicador (indicador INTEGER, departamento INTEGER))",
    R"(INSERT INTO Indicadores (id, "Indicador", tipo, desempeño, perspectiva, unidad) VALUES
       (1, 'Margen bruto', 1, 1, 1, 1), (2, 'Entregas a tiempo', 2, 1, NULL, 1))",
    R"(INSERT INTO depto_indicador VALUES (2, 1), (2, 2))",
    R"(CREATE TABLE meses (n INTEGER, mes TEXT))",
    R"(INSERT INTO meses VALUES (1,'Enero'),(2,'Febrero'),(3,'Marzo'),(4,'Abril'),(5,'Mayo'),
       (6,'Junio'),(7,'Julio'),(8,'Agosto'),(9,'Septiembre'),(10,'Octubre'),(11,'Noviembre'),
       (12,'Diciembre'))",
    R"(CREATE TABLE Registros (id INTEGER PRIMARY KEY, indicador INTEGER, departamento INTEGER,
       año INTEGER, mes TEXT, valor REAL, meta REAL, base REAL))",
    R"(INSERT INTO Registros (indicador, departamento, año, mes, valor, meta, base)
       SELECT i.id, d.departamento, a.id, m.mes, 50, 80, 20 FROM Indicadores i
       LEFT JOIN depto_indicador d ON d.indicador = i.id CROSS JOIN "Año" a CROSS JOIN meses m)",
    // Stores go through views whose triggers refuse what they cannot store.
    R"(CREATE VIEW v_modificar AS SELECT '' AS base, '' AS valor, '' AS meta, '' AS id)",
    R"(CREATE TRIGGER t_modificar INSTEAD OF INSERT ON v_modificar BEGIN
       SELECT RAISE(ABORT, 'No existe el registro') WHERE NOT EXISTS
         (SELECT 1 FROM Registros WHERE id = CAST(rtrim(NEW.id) AS INTEGER) AND rtrim(NEW.id) <> '');
       SELECT RAISE(ABORT, 'El texto no es un número') WHERE
         EXISTS (SELECT 1 FROM (SELECT replace(trim(NEW.base), ',', '.') AS x UNION ALL
                                SELECT replace(trim(NEW.valor), ',', '.') UNION ALL
                                SELECT replace(trim(NEW.meta), ',', '.'))
                 WHERE x <> '' AND (x GLOB '*[^0-9.+-]*' OR x NOT GLOB '*[0-9]*'));
       UPDATE Registros SET
         base = CASE WHEN trim(NEW.base) = '' THEN NULL ELSE CAST(replace(trim(NEW.base), ',', '.') AS REAL) END,
         valor = CASE WHEN trim(NEW.valor) = '' THEN NULL ELSE CAST(replace(trim(NEW.valor), ',', '.') AS REAL) END,
         meta = CASE WHEN trim(NEW.meta) = '' THEN NULL ELSE CAST(replace(trim(NEW.meta), ',', '.') AS REAL) END
       WHERE id = CAST(rtrim(NEW.id) AS INTEGER);
       END)",
    R"(INSERT INTO procedimientos VALUES ('modificar', 1,
       'INSERT INTO v_modificar VALUES (?, ?, ?, ?)', '1,2,3,4'))",
    R"(CREATE VIEW v_nuevo_registro AS SELECT '' AS año, '' AS mes, '' AS indicador, '' AS desempeño,
       '' AS perspectiva, '' AS tipo, '' AS unidad, '' AS base, '' AS meta, '' AS valor)",
    R"(CREATE TRIGGER t_nuevo_registro INSTEAD OF INSERT ON v_nuevo_registro BEGIN
       SELECT RAISE(ABORT, 'Código desconocido') WHERE
         NOT EXISTS (SELECT 1 FROM "Año" WHERE id = CAST(NEW.año AS INTEGER))
         OR NOT EXISTS (SELECT 1 FROM "Desempeño" WHERE id = CAST(NEW.desempeño AS INTEGER))
         OR NOT EXISTS (SELECT 1 FROM Perspectivas WHERE id = CAST(NEW.perspectiva AS INTEGER))
         OR NOT EXISTS (SELECT 1 FROM "Tipo Unidad" WHERE id = CAST(NEW.unidad AS INTEGER));
       SELECT RAISE(ABORT, 'No existe el indicador') WHERE NOT EXISTS
         (SELECT 1 FROM Indicadores WHERE "Indicador" = rtrim(NEW.indicador));
       SELECT RAISE(ABORT, 'El texto no es un número') WHERE
         EXISTS (SELECT 1 FROM (SELECT replace(trim(NEW.base), ',', '.') AS x UNION ALL
                                SELECT replace(trim(NEW.valor), ',', '.') UNION ALL
                                SELECT replace(trim(NEW.meta), ',', '.'))
                 WHERE x <> '' AND (x GLOB '*[^0-9.+-]*' OR x NOT GLOB '*[0-9]*'));
       UPDATE Indicadores SET desempeño = CAST(NEW.desempeño AS INTEGER),
         perspectiva = CAST(NEW.perspectiva AS INTEGER), unidad = CAST(NEW.unidad AS INTEGER)
       WHERE "Indicador" = rtrim(NEW.indicador);
       UPDATE Registros SET
         base = CASE WHEN trim(NEW.base) = '' THEN NULL ELSE CAST(replace(trim(NEW.base), ',', '.') AS REAL) END,
         valor = CASE WHEN trim(NEW.valor) = '' THEN NULL ELSE CAST(replace(trim(NEW.valor), ',', '.') AS REAL) END,
         meta = CASE WHEN trim(NEW.meta) = '' THEN NULL ELSE CAST(replace(trim(NEW.meta), ',', '.') AS REAL) END
       WHERE indicador = (SELECT id FROM Indicadores WHERE "Indicador" = rtrim(NEW.indicador))
         AND año = CAST(NEW.año AS INTEGER) AND mes = NEW.mes COLLATE NOCASE;
       END)",
    R"(INSERT INTO procedimientos VALUES ('Nuevo_registro', 1,
       'INSERT INTO v_nuevo_registro VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)', '1,2,3,4,5,6,7,8,9,10'))",
    R"(INSERT INTO procedimientos VALUES ('Consulta_KPI', 1,
       'SELECT t."Tipo Indicador" AS "Tipo_Indicador", t."Tipo Indicador" AS "Tipo Indicador",
          u.unidad AS "unidad", r.base AS "Nivel Base", r.valor AS "Valor", r.meta AS "Meta C/P",
          a."año" AS "año", r.id AS "ID"
        FROM Indicadores i JOIN "Tipo Indicador" t ON t.id = i.tipo
        LEFT JOIN "Tipo Unidad" u ON u.id = i.unidad
        LEFT JOIN Registros r ON r.indicador = i.id AND r.departamento IS NULL
          AND r.mes = rtrim(?) COLLATE NOCASE
          AND r.año = (SELECT id FROM "Año" WHERE "año" = CAST(rtrim(?) AS INTEGER))
        LEFT JOIN "Año" a ON a.id = r.año
        WHERE i."Indicador" = rtrim(?) AND (rtrim(?) = '''' OR r.id IS NOT NULL)', '2,3,1,2'))",
    R"(INSERT INTO procedimientos VALUES ('Consulta_KPI_2', 1,
       'SELECT d."Departamento" AS "Nombre1" FROM depto_indicador x
        JOIN Departamentos d ON d.id = x.departamento JOIN Indicadores i ON i.id = x.indicador
        WHERE i."Indicador" = rtrim(?) ORDER BY d.id', '1'))",
    R"(INSERT INTO procedimientos VALUES ('Consulta_KPI_DEPARTAMENTOS', 1,
       'SELECT t."Tipo Indicador" AS "Tipo_Indicador", u.unidad AS "Tipo_Unidad",
          r.base AS "Linea_Base", r.valor AS "Valor", r.meta AS "Meta", a."año" AS "año", r.id AS "Id1"
        FROM Registros r JOIN Indicadores i ON i.id = r.indicador
        JOIN "Tipo Indicador" t ON t.id = i.tipo LEFT JOIN "Tipo Unidad" u ON u.id = i.unidad
        JOIN "Año" a ON a.id = r.año JOIN Departamentos d ON d.id = r.departamento
        WHERE i."Indicador" = rtrim(?) AND r.mes = rtrim(?) COLLATE NOCASE
          AND a."año" = CAST(rtrim(?) AS INTEGER) AND d."Departamento" = rtrim(?)', '1,2,3,4'))",
    R"(DELETE FROM procedimientos WHERE nombre = 'Principales_o_Departametnales')",
    R"(INSERT INTO procedimientos VALUES ('Principales_o_Departametnales', 1,
       'SELECT "Indicador", "Indicador" AS "Nombre" FROM Indicadores
        WHERE tipo = CAST(? AS INTEGER) ORDER BY id', '1'))",
};

} // namespace

void completar_base_pantallas()
{
    Resultado r = Conexion().ejecutar(
        "SELECT count(*) AS n FROM procedimientos WHERE nombre = 'Nuevo_registro'");
    if (r.campo("n").toInt() > 0)
        return;
    for (const char* sql : kEsquema)
        Conexion().ejecutar(QString::fromUtf8(sql));
}

QStringList columna(const QString& comando, const QString& campo)
{
    QStringList valores;
    for (Resultado r = Conexion().ejecutar(comando); !r.eof(); r.siguiente())
        valores << r.texto(campo);
    return valores;
}

void elegir(QComboBox* lista, const QString& texto)
{
    const int indice = lista->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(indice >= 0, qPrintable(lista->objectName() + ": no item \"" + texto + '"'));
    manejador_anterior = qInstallMessageHandler(callar_avisos_de_plataforma);
    lista->showPopup();
    QAbstractItemView* vista = lista->view();
    vista->setCurrentIndex(lista->model()->index(indice, lista->modelColumn()));
    QTest::keyClick(vista, Qt::Key_Return);
    qInstallMessageHandler(manejador_anterior);
    QVERIFY(!vista->isVisible());
    QCOMPARE(lista->currentText(), texto);
}

Comandos::Comandos()
{
    Conexion().observar([this](const QString& texto) { textos << texto; });
}

Comandos::~Comandos()
{
    Conexion().observar(nullptr);
}
