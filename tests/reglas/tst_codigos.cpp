// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/codigos.h"

#include <QtTest>

using namespace velmora;

namespace {

enum class Tabla { Desempeno, Perspectiva, Unidad, Anio, Tipo };

int codigo(Tabla tabla, const QString& texto)
{
    switch (tabla) {
    case Tabla::Desempeno:
        return codigo_desempeno(texto);
    case Tabla::Perspectiva:
        return codigo_perspectiva(texto);
    case Tabla::Unidad:
        return codigo_unidad(texto);
    case Tabla::Anio:
        return codigo_anio(texto);
    case Tabla::Tipo:
        return codigo_tipo(texto);
    }
    return -1;
}

QString con_blancos(const QString& texto, int blancos)
{
    return texto + QString(blancos, u' ');
}

} // namespace

Q_DECLARE_METATYPE(Tabla)

// List texts, blanks included, to the codes Nuevo_registro receives.
class TstCodigos final : public QObject {
    Q_OBJECT
private slots:
    void codigos_data();
    void codigos();
};

void TstCodigos::codigos_data()
{
    QTest::addColumn<Tabla>("tabla");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("esperado");

    QTest::newRow("Creciente") << Tabla::Desempeno << con_blancos("Creciente", 21) << 1;
    QTest::newRow("Decreciente") << Tabla::Desempeno << con_blancos("Decreciente", 19) << 2;
    // A name the database returns unpadded gives a shorter item.
    QTest::newRow("Creciente corto") << Tabla::Desempeno << con_blancos("Creciente", 15) << 0;
    QTest::newRow("Creciente sin blancos") << Tabla::Desempeno << QString("Creciente") << 0;
    QTest::newRow("creciente minúscula") << Tabla::Desempeno << con_blancos("creciente", 21) << 0;
    QTest::newRow("desempeño vacío") << Tabla::Desempeno << QString() << 0;

    QTest::newRow("Financiero") << Tabla::Perspectiva << con_blancos("Financiero", 35) << 1;
    QTest::newRow("Clientes") << Tabla::Perspectiva << con_blancos("Clientes", 37) << 2;
    QTest::newRow("Procesos Internos") << Tabla::Perspectiva << con_blancos("Procesos Internos", 28) << 3;
    QTest::newRow("Capital Intangible") << Tabla::Perspectiva << con_blancos("Capital Intangible", 27) << 4;
    QTest::newRow("Clientes un blanco más") << Tabla::Perspectiva << con_blancos("Clientes", 38) << 0;

    QTest::newRow("%") << Tabla::Unidad << con_blancos("%", 24) << 1;
    QTest::newRow("Horas") << Tabla::Unidad << con_blancos("Horas", 20) << 2;
    QTest::newRow("#") << Tabla::Unidad << con_blancos("#", 24) << 3;
    QTest::newRow("Días") << Tabla::Unidad << con_blancos("Días", 21) << 4;
    QTest::newRow("$") << Tabla::Unidad << con_blancos("$", 24) << 5;
    QTest::newRow("Minutos") << Tabla::Unidad << con_blancos("Minutos", 18) << 6;
    QTest::newRow("Dias sin acento") << Tabla::Unidad << con_blancos("Dias", 21) << 0;

    QTest::newRow("2005") << Tabla::Anio << con_blancos("2005", 11) << 1;
    QTest::newRow("2006") << Tabla::Anio << con_blancos("2006", 11) << 2;
    QTest::newRow("2007") << Tabla::Anio << con_blancos("2007", 11) << 3;
    QTest::newRow("2008") << Tabla::Anio << con_blancos("2008", 11) << 4;
    QTest::newRow("2026") << Tabla::Anio << con_blancos("2026", 11) << 22;
    QTest::newRow("2004") << Tabla::Anio << con_blancos("2004", 11) << 0;
    QTest::newRow("2006 tecleado") << Tabla::Anio << QString("2006") << 0;
    QTest::newRow("2006 un blanco de más") << Tabla::Anio << con_blancos("2006", 12) << 0;
    QTest::newRow("2006 blanco delante") << Tabla::Anio << con_blancos(" 2006", 10) << 0;
    QTest::newRow("cinco cifras") << Tabla::Anio << con_blancos("20060", 10) << 0;
    QTest::newRow("no es año") << Tabla::Anio << con_blancos("20a6", 11) << 0;
    QTest::newRow("año vacío") << Tabla::Anio << QString() << 0;

    QTest::newRow("Departamentales") << Tabla::Tipo << QString("Departamentales") << 2;
    QTest::newRow("Principal") << Tabla::Tipo << con_blancos("Principal", 6) << 1;
    QTest::newRow("Departamentales con un blanco") << Tabla::Tipo << QString("Departamentales ") << 1;
    QTest::newRow("tipo vacío") << Tabla::Tipo << QString() << 1;
}

void TstCodigos::codigos()
{
    QFETCH(Tabla, tabla);
    QFETCH(QString, texto);
    QFETCH(int, esperado);
    QCOMPARE(codigo(tabla, texto), esperado);
}

QTEST_APPLESS_MAIN(TstCodigos)
#include "tst_codigos.moc"
