#include "ui/traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace velmora {

bool instalar_traducciones(QCoreApplication& aplicacion, const QLocale& local)
{
    const QLocale idioma = local.language() == QLocale::Spanish ? local : QLocale(QLocale::Spanish);
    // A second call replaces the first translator instead of stacking another.
    static QPointer<QTranslator> traductor;
    if (traductor) {
        QCoreApplication::removeTranslator(traductor);
        delete traductor.data();
    }
    auto* nuevo = new QTranslator(&aplicacion);
    if (!nuevo->load(idioma, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete nuevo;
        return false;
    }
    QCoreApplication::installTranslator(nuevo);
    traductor = nuevo;
    return true;
}

} // namespace velmora
