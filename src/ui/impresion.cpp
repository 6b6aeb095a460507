// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/impresion.h"

#include "data/errores_sistema.h"
#include "data/origen_datos.h"
#include "ui/archivo_pdf.h"
#include "ui/maqueta.h"
#include "ui/mensajes.h"
#include "ui/pagina_impresion.h"
#include "ui/ruta_usuario.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

#include <cerrno>
#include <memory>

namespace velmora {

namespace {

std::unique_ptr<QPrinter> nueva_impresora(const QString& titulo)
{
    auto impresora = std::make_unique<QPrinter>(QPrinter::HighResolution);
    impresora->setDocName(titulo);
    impresora->setPageLayout(disposicion_pagina());
    return impresora;
}

} // namespace

void imprimir_documento(QWidget* ventana, const FuenteDocumento& documento)
{
    std::unique_ptr<QPrinter> impresora = nueva_impresora(ventana->windowTitle());
    QPrintDialog dialogo(impresora.get(), ventana);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    guardar_disposicion_pagina(impresora->pageLayout());
    pintar_documento(documento(), *impresora);
}

void vista_previa_documento(QWidget* ventana, const FuenteDocumento& documento)
{
    std::unique_ptr<QPrinter> impresora = nueva_impresora(ventana->windowTitle());
    QPrintPreviewDialog dialogo(impresora.get(), ventana);
    dialogo.setObjectName(QStringLiteral("vista_previa"));
    dialogo.setWindowTitle(QStringLiteral("Vista previa: ") + ventana->windowTitle());
    const DocumentoImpreso hecho = documento();
    QObject::connect(&dialogo, &QPrintPreviewDialog::paintRequested, &dialogo,
                     [&hecho](QPrinter* destino) { pintar_documento(hecho, *destino); });
    dialogo.exec();
    // The page chosen in the preview is the one printing starts from next time.
    guardar_disposicion_pagina(impresora->pageLayout());
}

void pdf_de_documento(QWidget* ventana, const FuenteDocumento& documento)
{
    QFileDialog dialogo(ventana, QStringLiteral("Guardar como PDF"), carpeta_documentos(),
                        QStringLiteral("Documento PDF (*.pdf)"));
    dialogo.setObjectName(QStringLiteral("dialogo_pdf"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    // The replace question comes below, about the file really written.
    dialogo.setOption(QFileDialog::DontConfirmOverwrite);
    dialogo.selectFile(ventana->windowTitle() + QStringLiteral(".pdf"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return;
    QString ruta = dialogo.selectedFiles().constFirst();
    if (ruta.isEmpty())
        return;
    if (tiene_caracter_de_control(ruta)) {
        mensaje(aviso_caracter_de_control(ruta) + QStringLiteral(" y pulse «Guardar como PDF...» de nuevo."));
        return;
    }
    if (QFileInfo(ruta).suffix().isEmpty())
        ruta += QStringLiteral(".pdf");
    if (QFileInfo(ruta).isFile()
        && !preguntar(QStringLiteral("El archivo ") + QDir::toNativeSeparators(ruta)
                      + QStringLiteral(" ya existe. ¿Desea reemplazarlo?")))
        return;
    int numero = 0;
    if (guardar_pdf(documento(), ruta, &numero))
        return;
    const bool lleno = falta_espacio(numero);
    mensaje(QStringLiteral("No se pudo escribir el archivo %1 (%2).\n%3")
                .arg(QDir::toNativeSeparators(ruta), texto_error_sistema(numero),
                     lleno ? QStringLiteral("Libere espacio en el disco, o elija otra carpeta, y pulse "
                                            "«Guardar como PDF...» de nuevo.")
                           : QStringLiteral("Elija otra carpeta o nombre y pulse «Guardar como PDF...» de nuevo.")));
}

QPushButton* boton_imprimir(QWidget* ventana, const QString& nombre, FuenteDocumento documento)
{
    auto* boton = new QPushButton(QStringLiteral("Imprimir"), ventana);
    boton->setObjectName(nombre);
    boton->setToolTip(QStringLiteral("Imprimir, ver antes o guardar como PDF el informe (Ctrl+P)"));
    auto* menu = new QMenu(boton);
    QAction* imprimir = menu->addAction(QStringLiteral("Imprimir..."));
    imprimir->setObjectName(QStringLiteral("accion_imprimir"));
    imprimir->setShortcut(QKeySequence::Print);
    QAction* previa = menu->addAction(QStringLiteral("Vista previa..."));
    previa->setObjectName(QStringLiteral("accion_vista_previa"));
    QAction* pdf = menu->addAction(QStringLiteral("Guardar como PDF..."));
    pdf->setObjectName(QStringLiteral("accion_pdf"));
    pdf->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    // The keys work anywhere in the window, not only with the menu open.
    for (QAction* accion : {imprimir, previa, pdf}) {
        accion->setShortcutContext(Qt::WindowShortcut);
        ventana->addAction(accion);
    }
    QObject::connect(imprimir, &QAction::triggered, ventana,
                     [ventana, documento] { imprimir_documento(ventana, documento); });
    QObject::connect(previa, &QAction::triggered, ventana,
                     [ventana, documento] { vista_previa_documento(ventana, documento); });
    QObject::connect(pdf, &QAction::triggered, ventana, [ventana, documento] { pdf_de_documento(ventana, documento); });
    boton->setMenu(menu);
    return boton;
}

} // namespace velmora
