// SPDX-License-Identifier: GPL-3.0-or-later
#include "libro_leido.h"

#include <QProcess>
#include <QXmlStreamReader>

namespace {

QByteArray parte(const QString& archivo, const QString& nombre, bool* ok)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archivo, nombre});
    const bool terminado = unzip.waitForFinished(120000);
    *ok = terminado && unzip.exitStatus() == QProcess::NormalExit && unzip.exitCode() == 0;
    return unzip.readAllStandardOutput();
}

QString columna(int c)
{
    QString letras;
    for (++c; c > 0; c = (c - 1) / 26)
        letras.prepend(QChar(u'A' + (c - 1) % 26));
    return letras;
}

} // namespace

QStringList LibroLeido::fila(int f, int columnas) const
{
    QStringList textos;
    for (int c = 0; c < columnas; ++c)
        textos << celda(columna(c) + QString::number(f)).valor;
    return textos;
}

LibroLeido leer_libro(const QString& archivo)
{
    LibroLeido libro;
    bool ok = false;
    const QByteArray xml_libro = parte(archivo, QStringLiteral("xl/workbook.xml"), &ok);
    if (!ok) {
        libro.error = QStringLiteral("no workbook.xml in ") + archivo;
        return libro;
    }
    for (QXmlStreamReader r(xml_libro); !r.atEnd();) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == QLatin1String("sheet"))
            libro.hojas << r.attributes().value(QStringLiteral("name")).toString();
    }

    QStringList compartidos;
    bool hay_compartidos = false;
    const QByteArray xml_textos = parte(archivo, QStringLiteral("xl/sharedStrings.xml"), &hay_compartidos);
    if (hay_compartidos) {
        for (QXmlStreamReader r(xml_textos); !r.atEnd();) {
            if (r.readNext() == QXmlStreamReader::StartElement && r.name() == QLatin1String("si"))
                compartidos << r.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }

    const QByteArray xml_hoja = parte(archivo, QStringLiteral("xl/worksheets/sheet1.xml"), &ok);
    if (!ok) {
        libro.error = QStringLiteral("no sheet1.xml in ") + archivo;
        return libro;
    }
    QXmlStreamReader r(xml_hoja);
    while (!r.atEnd()) {
        if (r.readNext() != QXmlStreamReader::StartElement || r.name() != QLatin1String("c"))
            continue;
        const QString referencia = r.attributes().value(QStringLiteral("r")).toString();
        const QString tipo = r.attributes().value(QStringLiteral("t")).toString();
        QString valor;
        while (!(r.isEndElement() && r.name() == QLatin1String("c")) && !r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && (r.name() == QLatin1String("v") || r.name() == QLatin1String("t")))
                valor += r.readElementText();
        }
        LibroLeido::Celda celda;
        celda.numero = tipo.isEmpty() || tipo == QLatin1String("n");
        celda.valor = tipo == QLatin1String("s") ? compartidos.value(valor.toInt()) : valor;
        libro.celdas.insert(referencia, celda);
        qsizetype i = 0;
        while (i < referencia.size() && referencia.at(i).isLetter())
            ++i;
        libro.ultima_fila = qMax(libro.ultima_fila, referencia.mid(i).toInt());
    }
    if (r.hasError()) {
        libro.error = r.errorString();
        return libro;
    }
    libro.ok = true;
    return libro;
}
