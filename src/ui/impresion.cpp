#include "ui/impresion.h"

#include "ui/mensajes.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>

namespace velmora {

void pintar_pagina(QWidget* ventana, QPagedPaintDevice& pagina)
{
    pagina.setPageOrientation(QPageLayout::Landscape);
    QPainter p(&pagina);
    const QRect area = p.viewport();
    const QSize tamano = ventana->size();
    const double escala = qMin(double(area.width()) / tamano.width(), double(area.height()) / tamano.height());
    p.scale(escala, escala);
    ventana->render(&p, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
}

bool guardar_pdf(QWidget* ventana, const QString& ruta)
{
    QPdfWriter pdf(ruta);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(150);
    pdf.setTitle(ventana->windowTitle());
    pdf.setCreator(QStringLiteral("Velmora"));
    pintar_pagina(ventana, pdf);
    // QPdfWriter reports no error; a file that is not there was not written.
    return QFileInfo(ruta).size() > 0;
}

void imprimir_ventana(QWidget* ventana)
{
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(ventana->windowTitle());
    QPrintDialog dialogo(&impresora, ventana);
    if (dialogo.exec() == QDialog::Accepted)
        pintar_pagina(ventana, impresora);
}

void pdf_de_ventana(QWidget* ventana)
{
    const QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString ruta = QFileDialog::getSaveFileName(ventana, QStringLiteral("Guardar como PDF"),
                                                QDir(carpeta).filePath(ventana->windowTitle() + QStringLiteral(".pdf")),
                                                QStringLiteral("Documento PDF (*.pdf)"));
    if (ruta.isEmpty())
        return;
    if (QFileInfo(ruta).suffix().isEmpty())
        ruta += QStringLiteral(".pdf");
    if (!guardar_pdf(ventana, ruta))
        mensaje(QStringLiteral("No se pudo escribir el archivo ") + QDir::toNativeSeparators(ruta));
}

QPushButton* boton_imprimir(QWidget* ventana, const QString& nombre)
{
    auto* boton = new QPushButton(QStringLiteral("Imprimir"), ventana);
    boton->setObjectName(nombre);
    boton->setToolTip(QStringLiteral("Imprimir o guardar como PDF lo que muestra la ventana (Ctrl+P)"));
    auto* menu = new QMenu(boton);
    QAction* imprimir = menu->addAction(QStringLiteral("Imprimir..."));
    imprimir->setObjectName(QStringLiteral("accion_imprimir"));
    imprimir->setShortcut(QKeySequence::Print);
    QAction* pdf = menu->addAction(QStringLiteral("Guardar como PDF..."));
    pdf->setObjectName(QStringLiteral("accion_pdf"));
    pdf->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    // The keys work anywhere in the window, not only with the menu open.
    for (QAction* accion : {imprimir, pdf}) {
        accion->setShortcutContext(Qt::WindowShortcut);
        ventana->addAction(accion);
    }
    QObject::connect(imprimir, &QAction::triggered, ventana, [ventana] { imprimir_ventana(ventana); });
    QObject::connect(pdf, &QAction::triggered, ventana, [ventana] { pdf_de_ventana(ventana); });
    boton->setMenu(menu);
    return boton;
}

} // namespace velmora
