// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/traducciones.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace velmora {

namespace {

// Texts of Qt that its Spanish translation lacks: Qt 6 moved the file
// dialog's file types to the context QAbstractFileIconProvider, and the
// translation still has them only under the old one, so the dialog showed
// "Folder".
class TextosQtFaltantes final : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* contexto, const char* texto, const char*, int) const override
    {
        if (qstrcmp(contexto, "QAbstractFileIconProvider") != 0)
            return {};
        static const QHash<QByteArray, QString> textos = {
            {"Folder", QStringLiteral("Carpeta")},
            {"File Folder", QStringLiteral("Carpeta de archivos")},
            {"Drive", QStringLiteral("Unidad")},
            {"Shortcut", QStringLiteral("Acceso directo")},
            {"Alias", QStringLiteral("Alias")},
            {"Unknown", QStringLiteral("Desconocido")},
        };
        return textos.value(QByteArray(texto));
    }
};

} // namespace

QLocale idioma_programa(const QLocale& local)
{
    return local.language() == QLocale::Spanish ? local : QLocale(QLocale::Spanish);
}

bool instalar_traducciones(QCoreApplication& aplicacion, const QLocale& local)
{
    const QLocale idioma = idioma_programa(local);
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
    static QPointer<QTranslator> faltantes;
    if (!faltantes) {
        faltantes = new TextosQtFaltantes(&aplicacion);
        QCoreApplication::installTranslator(faltantes);
    }
    return true;
}

} // namespace velmora
