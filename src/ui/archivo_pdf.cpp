// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/archivo_pdf.h"

#include "data/errores_sistema.h"

#include "ui/maqueta.h"
#include "ui/pagina_impresion.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>

#include <cerrno>

namespace velmora {

namespace {

// The system's reason for a failed step, read as soon as it failed; when the
// library gave none, what the folder tells (full, or not ours to write).
int motivo(int numero, const QString& ruta)
{
    if (numero != 0)
        return numero;
    const QFileInfo info(ruta);
    if (info.exists() && !info.isWritable())
        return EACCES;
    if (disco_casi_lleno(info.absolutePath()))
        return ENOSPC;
    return EIO;
}

} // namespace

bool guardar_pdf(const DocumentoImpreso& documento, const QString& ruta, int* numero)
{
    // Written beside the target under another name and moved over it only
    // once whole (QSaveFile): on any failure an existing PDF stays as it was
    // and nothing is left behind; a replaced file keeps its permissions. The
    // file is opened here, not by QPdfWriter, which reports no error.
    QSaveFile archivo(ruta);
    errno = 0;
    if (!archivo.open(QIODevice::WriteOnly)) {
        if (numero)
            *numero = motivo(errno, ruta);
        return false;
    }
    bool escrito = false;
    {
        QPdfWriter pdf(&archivo);
        pdf.setPageLayout(disposicion_pagina());
        // The resolution of QPrinter::HighResolution, so that text measures
        // alike and paper and PDF lay out the same.
        pdf.setResolution(1200);
        pdf.setTitle(documento.titulo);
        pdf.setCreator(QStringLiteral("Velmora"));
        errno = 0;
        escrito = pintar_documento(documento, pdf) > 0 && archivo.error() == QFileDevice::NoError;
    }
    int error = errno;
    if (escrito) {
        errno = 0;
        escrito = archivo.commit();
        error = errno;
    } else {
        archivo.cancelWriting();
    }
    if (!escrito && numero)
        *numero = motivo(error, ruta);
    return escrito;
}

} // namespace velmora
