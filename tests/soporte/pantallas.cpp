// SPDX-License-Identifier: GPL-3.0-or-later
#include "pantallas.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QtTest>

using namespace velmora;

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

} // namespace

QStringList columna(Resultado resultado, const QString& campo)
{
    QStringList valores;
    for (; !resultado.eof(); resultado.siguiente())
        valores << resultado.texto(campo);
    return valores;
}

QStringList columna(const QString& comando, const QString& campo)
{
    return columna(Conexion().ejecutar(comando), campo);
}

void pulsar(const QWidget* ventana, const QString& boton)
{
    QTest::mouseClick(control<QAbstractButton>(ventana, boton), Qt::LeftButton);
}

QStringList items(const QComboBox* lista)
{
    QStringList textos;
    for (int i = 0; i < lista->count(); ++i)
        textos << lista->itemText(i);
    return textos;
}

void elegir(const QWidget* ventana, const QString& lista, const QString& texto)
{
    elegir(control<QComboBox>(ventana, lista), texto);
}

void teclear(QWidget* control, const QString& texto)
{
    for (const char32_t c : texto.toUcs4())
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
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
