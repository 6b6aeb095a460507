// SPDX-License-Identifier: GPL-3.0-or-later
#include "soporte/pdf_leido.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QtTest>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocumentFragment>

QString faltan_herramientas_pdf()
{
    QStringList faltan;
    for (const char* h : {"pdftotext", "pdftoppm"})
        if (QStandardPaths::findExecutable(QLatin1String(h)).isEmpty())
            faltan << QLatin1String(h);
    return faltan.join(QStringLiteral(", "));
}

namespace {

QByteArray correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qFatal("%s falló: %s", qPrintable(programa), p.readAllStandardError().constData());
    return p.readAllStandardOutput();
}

} // namespace

QList<PalabraPdf> palabras_pdf(const QString& ruta, int* paginas)
{
    const QString html = QString::fromUtf8(correr(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), ruta, QStringLiteral("-")}));
    static const QRegularExpression marca(QStringLiteral(
        R"x(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)x"));
    QList<PalabraPdf> palabras;
    int pagina = -1;
    for (auto it = marca.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == QStringLiteral("<page ")) {
            ++pagina;
            continue;
        }
        const QPointF a(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF b(m.captured(3).toDouble(), m.captured(4).toDouble());
        palabras.append({pagina, QRectF(a, b), QTextDocumentFragment::fromHtml(m.captured(5)).toPlainText()});
    }
    if (paginas)
        *paginas = pagina + 1;
    return palabras;
}

QSizeF tamano_pagina_pdf(const QString& ruta)
{
    const QString html = QString::fromUtf8(correr(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), ruta, QStringLiteral("-")}));
    static const QRegularExpression pagina(QStringLiteral(R"x(<page width="([0-9.]+)" height="([0-9.]+)")x"));
    const QRegularExpressionMatch m = pagina.match(html);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QStringList textos_pdf(const QList<PalabraPdf>& palabras, int pagina)
{
    QStringList textos;
    for (const PalabraPdf& p : palabras)
        if (pagina < 0 || p.pagina == pagina)
            textos << p.texto;
    return textos;
}

QImage pagina_pdf(const QString& ruta, int pagina, int ppp, const QString& nombre)
{
    QTemporaryDir carpeta;
    const QString prefijo = carpeta.filePath(QStringLiteral("p"));
    const QString n = QString::number(pagina + 1);
    correr(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(ppp), QStringLiteral("-f"), n,
                                        QStringLiteral("-l"), n, QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                        ruta, prefijo});
    QImage imagen(prefijo + QStringLiteral(".png"));
    if (!nombre.isEmpty()) {
        const QString destino = QStringLiteral(VELMORA_SCREENSHOTS);
        QDir().mkpath(destino);
        QFile::remove(QDir(destino).filePath(nombre + QStringLiteral(".png")));
        QFile::copy(prefijo + QStringLiteral(".png"), QDir(destino).filePath(nombre + QStringLiteral(".png")));
    }
    return imagen;
}

double tinta(const QImage& pagina, const QRectF& puntos, int ppp)
{
    const double k = ppp / 72.0;
    const QRect r = QRectF(puntos.x() * k, puntos.y() * k, puntos.width() * k, puntos.height() * k).toAlignedRect()
                        .intersected(pagina.rect());
    if (r.isEmpty())
        return 0;
    int oscuros = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(pagina.pixel(x, y)) < 200)
                ++oscuros;
    return double(oscuros) / (r.width() * r.height());
}

QString pdf_por_teclado(QWidget* ventana, const QString& ruta)
{
    QString carpeta;
    QTimer::singleShot(0, ventana, [&] {
        if (auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            carpeta = dialogo->directory().absolutePath();
            dialogo->selectFile(ruta);
            static_cast<QDialog*>(dialogo)->accept(); // accept() is protected in QFileDialog
        }
    });
    QTest::keyClick(ventana, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    for (int i = 0; i < 100 && !QFile::exists(ruta); ++i)
        QTest::qWait(100);
    return carpeta;
}
