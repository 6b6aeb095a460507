// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exportar_excel.h"

#include "data/errores_sistema.h"
#include "data/origen_datos.h"
#include "data/textos.h"
#include "ui/grid/modelo_grilla.h"
#include "ui/ruta_usuario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <unordered_map>
#include <system_error>

namespace velmora {

namespace {

// Characters a sheet cell holds.
constexpr int kLargoMaximoTexto = 32767;

// A failure of one step: the number and description the user is shown.
struct Fallo {
    long numero;
    QString descripcion;
};

// The C library's texts follow the locale, English under LANG=C.
QString texto_sistema(int numero)
{
    return texto_error_sistema(numero);
}

QString nativa(const QString& ruta)
{
    return QDir::toNativeSeparators(ruta);
}

QString descripcion_lxw(lxw_error error)
{
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("No hay memoria suficiente para escribir el libro");
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("No se puede crear el archivo de Excel");
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("No se puede usar un archivo temporal");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("No se pudo terminar de escribir el archivo de Excel");
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("Un texto pasa de los %1 caracteres que admite una celda")
            .arg(QLocale().toString(kLargoMaximoTexto));
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return QStringLiteral("Fila o columna fuera de la hoja");
    default:
        return QString::fromUtf8(lxw_strerror(error));
    }
}

void comprobar(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw Fallo{error, descripcion_lxw(error)};
}

// A write that failed for want of room says so, and where: the library's own
// error names only the step ("could not finish the zip").
void sin_espacio(int numero, const QString& carpeta)
{
    QString lleno;
    if (falta_espacio(numero)) {
        lleno = carpeta;
    } else {
        for (const QString& c : {carpeta, QDir::tempPath()}) {
            if (disco_casi_lleno(c)) {
                lleno = c;
                break;
            }
        }
    }
    if (lleno.isEmpty())
        return;
    throw Fallo{numero == EFBIG ? EFBIG : ENOSPC,
                QStringLiteral("No queda espacio en el disco de la carpeta \"%1\" (%2)")
                    .arg(nativa(lleno), texto_sistema(numero == EFBIG ? EFBIG : ENOSPC))};
}

void comprobar_celda(lxw_error error, lxw_row_t fila, lxw_col_t columna)
{
    if (error == LXW_NO_ERROR)
        return;
    char celda[16] = {};
    lxw_rowcol_to_cell(celda, fila, columna);
    throw Fallo{error, descripcion_lxw(error) + QStringLiteral(" (celda %1)").arg(QLatin1String(celda))};
}

// The file really written: always .xlsx, relative names in the export folder.
QString ruta_destino(const QString& escrita)
{
    if (tiene_caracter_de_control(escrita))
        throw Fallo{EINVAL, aviso_caracter_de_control(escrita)};
    const QString archivo = archivo_exportado(escrita);
    if (archivo.isEmpty()) {
        throw Fallo{EINVAL, QStringLiteral("\"%1\" no es un nombre de archivo válido").arg(escrita)};
    }
    const QFileInfo info(archivo);
    if (!info.dir().exists()) {
        throw Fallo{ENOENT, QStringLiteral("No existe la carpeta \"%1\": %2")
                                .arg(nativa(info.absolutePath()), texto_sistema(ENOENT))};
    }
    if (info.isDir()) {
        throw Fallo{EISDIR, QStringLiteral("\"%1\" es una carpeta: %2")
                                .arg(nativa(info.absoluteFilePath()), texto_sistema(EISDIR))};
    }
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner)) {
        throw Fallo{EACCES, QStringLiteral("El archivo \"%1\" es de solo lectura: %2")
                                .arg(nativa(info.absoluteFilePath()), texto_sistema(EACCES))};
    }
    return info.absoluteFilePath();
}

void comprobar_tamano(const ModeloGrilla& grilla)
{
    // Grid row r lands on sheet row r (1-based), so the last row must fit.
    const qint64 filas_hoja = qint64(grilla.Rows()) - 1;
    if (filas_hoja > LXW_ROW_MAX) {
        throw Fallo{LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE,
                    QStringLiteral("La hoja admite %1 filas y la lista necesita %2")
                        .arg(QLocale().toString(LXW_ROW_MAX), QLocale().toString(filas_hoja))};
    }
    if (grilla.Cols() > LXW_COL_MAX) {
        throw Fallo{LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE,
                    QStringLiteral("La hoja admite %1 columnas y la lista tiene %2")
                        .arg(QLocale().toString(LXW_COL_MAX), QLocale().toString(grilla.Cols()))};
    }
}

std::FILE* abrir_para_escribir(const QString& archivo)
{
#ifdef Q_OS_WIN
    return _wfopen(reinterpret_cast<const wchar_t*>(archivo.utf16()), L"wb");
#else
    return std::fopen(QFile::encodeName(archivo).constData(), "wb");
#endif
}

// An empty file with a free name beside the target; creating it also proves
// that the folder takes new files before any work is done.
QString crear_temporal(const QString& destino)
{
    const QFileInfo info(destino);
    QString nombre;
    do {
        // Short, whatever the target's name: a name near the system's limit
        // must not overflow it.
        nombre = info.dir().filePath(QStringLiteral(".~vl%1.tmp")
                                         .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0')));
    } while (QFileInfo::exists(nombre));
    errno = 0;
    std::FILE* archivo = abrir_para_escribir(nombre);
    if (!archivo) {
        const int numero = errno ? errno : EIO;
        throw Fallo{numero, QStringLiteral("No se puede escribir en la carpeta \"%1\": %2")
                                .arg(nativa(info.absolutePath()), texto_sistema(numero))};
    }
    std::fclose(archivo);
    return nombre;
}

void reemplazar(const QString& temporal, const QString& destino)
{
    // The replaced file keeps its permissions.
    if (QFileInfo::exists(destino))
        QFile::setPermissions(temporal, QFileInfo(destino).permissions());
    std::error_code error;
    std::filesystem::rename(QFileInfo(temporal).filesystemFilePath(),
                            QFileInfo(destino).filesystemFilePath(), error);
    if (error) {
        throw Fallo{error.value(), QStringLiteral("No se puede reemplazar \"%1\": %2")
                                       .arg(nativa(destino), texto_sistema(error.value()))};
    }
}

// The text without the padding blanks at its end.
QStringView sin_relleno(const QString& texto)
{
    qsizetype n = texto.size();
    while (n > 0 && texto.at(n - 1) == u' ')
        --n;
    return QStringView(texto).left(n);
}

// The UTF-8 of the texts the listing shares, converted once each: the grid
// hands out the same string for equal texts. An entry keeps its string, so
// that its address cannot pass to another text while it is cached, and a
// hit is checked against the text: a caller's temporary strings, freed and
// their room reused, never get another text's bytes.
class Utf8Compartido final {
public:
    const char* de(const QString& texto)
    {
        if (cache_.size() > 65536)
            cache_.clear();
        Entrada& e = cache_[texto.constData()];
        if (e.utf8.isNull() || e.texto.constData() != texto.constData() || e.texto != texto) {
            e.texto = texto;
            e.utf8 = texto.toUtf8();
        }
        return e.utf8.constData();
    }

private:
    struct Entrada {
        QString texto;
        QByteArray utf8;
    };
    std::unordered_map<const void*, Entrada> cache_;
};

void escribir_celda(lxw_worksheet* hoja, lxw_row_t fila, lxw_col_t columna, const QString& texto,
                    bool numeros, lxw_format* formato = nullptr, Utf8Compartido* utf8 = nullptr)
{
    const QStringView t = sin_relleno(texto);
    if (t.isEmpty())
        return;
    // No number starts with a letter: names skip the (costly) reading.
    if (numeros && !t.trimmed().front().isLetter()) {
        if (const auto numero = a_numero(texto)) {
            comprobar_celda(worksheet_write_number(hoja, fila, columna, *numero, formato), fila, columna);
            return;
        }
    }
    if (utf8 && t.size() == texto.size()) {
        comprobar_celda(worksheet_write_string(hoja, fila, columna, utf8->de(texto), formato), fila, columna);
        return;
    }
    comprobar_celda(worksheet_write_string(hoja, fila, columna, t.toUtf8().constData(), formato), fila,
                    columna);
}

// Grid widths are twips; the sheet counts characters of about 7 pixels.
double ancho_hoja(int twips)
{
    return qMax(0.0, (twips / 15.0 - 5.0) / 7.0);
}

struct LiberarLibro {
    void operator()(lxw_workbook* libro) const { lxw_workbook_free(libro); }
};

void escribir_libro(const QString& archivo, const ModeloGrilla& grilla, const QList<int>& numericas,
                    const AvanceExportacion& avance)
{
    lxw_workbook_options opciones{};
    // Rows stream to disk as they are written instead of piling up in memory.
    opciones.constant_memory = LXW_TRUE;
    const QByteArray nombre = QFile::encodeName(archivo);
    std::unique_ptr<lxw_workbook, LiberarLibro> libro(workbook_new_opt(nombre.constData(), &opciones));
    if (!libro)
        throw Fallo{LXW_ERROR_MEMORY_MALLOC_FAILED, descripcion_lxw(LXW_ERROR_MEMORY_MALLOC_FAILED)};
    lxw_worksheet* hoja = workbook_add_worksheet(libro.get(), "Datos");
    if (!hoja)
        throw Fallo{LXW_ERROR_CREATING_TMPFILE, descripcion_lxw(LXW_ERROR_CREATING_TMPFILE)};
    lxw_format* negrita = workbook_add_format(libro.get());
    format_set_bold(negrita);

    const int filas = grilla.Rows();
    const int columnas = grilla.Cols();
    for (int c = 0; c < columnas; ++c)
        comprobar(worksheet_set_column(hoja, lxw_col_t(c), lxw_col_t(c), ancho_hoja(grilla.ColWidth(c)), nullptr));
    if (filas > 0) {
        for (int c = 0; c < columnas; ++c)
            escribir_celda(hoja, 0, lxw_col_t(c), grilla.TextMatrix(0, c), false, negrita);
        worksheet_freeze_panes(hoja, 1, 0);
    }

    const auto avisar = [&](EtapaExportacion etapa, qint64 hecho) {
        if (avance)
            avance(etapa, hecho, filas);
    };
    avisar(EtapaExportacion::Escribiendo, 0);
    Utf8Compartido utf8;
    for (int r = 2; r < filas; ++r) {
        for (int c = 0; c < columnas; ++c) {
            const lxw_row_t fila = lxw_row_t(r - 1);
            const bool numerica = numericas.contains(c);
            // A number the listing holds as a number goes as it is.
            if (const std::optional<double> valor = numerica ? grilla.ValorMatrix(r, c) : std::nullopt) {
                comprobar_celda(worksheet_write_number(hoja, fila, lxw_col_t(c), *valor, nullptr), fila,
                                lxw_col_t(c));
                continue;
            }
            escribir_celda(hoja, fila, lxw_col_t(c), grilla.TextoSinRelleno(r, c), numerica, nullptr, &utf8);
        }
        avisar(EtapaExportacion::Escribiendo, r);
    }
    avisar(EtapaExportacion::Guardando, filas);
    // Closing writes the file and frees the workbook, whatever the outcome.
    errno = 0;
    const lxw_error cierre = workbook_close(libro.release());
    if (cierre != LXW_NO_ERROR)
        sin_espacio(errno, QFileInfo(archivo).absolutePath());
    comprobar(cierre);
}

ResultadoExportacion fallido(const Fallo& fallo)
{
    return {ResultadoExportacion::Estado::Fallo, QString(), fallo.numero, fallo.descripcion};
}

} // namespace

QString archivo_exportado(const QString& ruta)
{
    const QString r = QDir::fromNativeSeparators(ruta);
    const QString nombre = r.section(u'/', -1);
    if (nombre.trimmed().isEmpty() || tiene_caracter_de_control(r))
        return {};
    QString destino = QDir::isRelativePath(r) ? QFileInfo(ruta_exportar_por_defecto()).dir().filePath(r) : r;
    const QString sufijo = QFileInfo(nombre).suffix();
    if (sufijo.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        destino.chop(sufijo.size() + 1);
    if (sufijo.compare(QLatin1String("xlsx"), Qt::CaseInsensitive) != 0)
        destino += QStringLiteral(".xlsx");
    QFileInfo info(destino);
    // A link stays a link: the file it names is the one written.
    for (int saltos = 0; info.isSymLink() && saltos < 40; ++saltos)
        info = QFileInfo(QDir(info.absolutePath()).absoluteFilePath(info.symLinkTarget()));
    return QDir::cleanPath(info.absoluteFilePath());
}

ResultadoExportacion exportar_excel(const QString& ruta, const ModeloGrilla& grilla,
                                    const QList<int>& columnas_numericas, const AvanceExportacion& avance)
{
    if (ruta.isEmpty())
        return {ResultadoExportacion::Estado::SinRuta, QString(), 0, QString()};
    QString temporal;
    try {
        const QString destino = ruta_destino(ruta);
        comprobar_tamano(grilla);
        temporal = crear_temporal(destino);
        escribir_libro(temporal, grilla, columnas_numericas, avance);
        reemplazar(temporal, destino);
        return {ResultadoExportacion::Estado::Escrito, destino, 0, QString()};
    } catch (const Fallo& fallo) {
        if (!temporal.isEmpty())
            QFile::remove(temporal);
        return fallido(fallo);
    } catch (const std::bad_alloc&) {
        if (!temporal.isEmpty())
            QFile::remove(temporal);
        return fallido({LXW_ERROR_MEMORY_MALLOC_FAILED, descripcion_lxw(LXW_ERROR_MEMORY_MALLOC_FAILED)});
    }
}

} // namespace velmora
