#include "ui/archivo_pdf.h"

#include "ui/maqueta.h"
#include "ui/pagina_impresion.h"

#include <QFile>
#include <QPdfWriter>

#include <cerrno>

namespace velmora {

bool guardar_pdf(const DocumentoImpreso& documento, const QString& ruta, int* numero)
{
    // Opened here, not by QPdfWriter, which reports no error: the system's
    // reason is what the user is told.
    QFile archivo(ruta);
    errno = 0;
    const bool abierto = archivo.open(QIODevice::WriteOnly | QIODevice::Truncate);
    bool escrito = abierto;
    if (escrito) {
        QPdfWriter pdf(&archivo);
        pdf.setPageLayout(disposicion_pagina());
        // The resolution of QPrinter::HighResolution, so that text measures
        // alike and paper and PDF lay out the same.
        pdf.setResolution(1200);
        pdf.setTitle(documento.titulo);
        pdf.setCreator(QStringLiteral("Velmora"));
        escrito = pintar_documento(documento, pdf) > 0;
    }
    if (escrito) {
        archivo.close();
        escrito = archivo.error() == QFileDevice::NoError && archivo.size() > 0;
    }
    if (escrito)
        return true;
    if (numero)
        *numero = errno;
    // Half a PDF is of no use to anyone; a file that could not be opened is
    // not ours to remove.
    if (abierto)
        archivo.remove();
    return false;
}

} // namespace velmora
