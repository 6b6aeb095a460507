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

} // namespace

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
