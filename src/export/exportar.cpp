// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exportar.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores_sistema.h"
#include "data/origen_datos.h"
#include "data/textos.h"
#include "export/exportar_excel.h"
#include "export/progreso.h"
#include "reglas/campos.h"
#include "ui/grid/grilla.h"
#include "ui/imagenes.h"
#include "ui/mensajes.h"
#include "ui/twips.h"
#include "ui/atender.h"
#include "ui/ventana_escritorio.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <QSettings>

#include <array>
#include <cerrno>
#include <optional>
#include <vector>

namespace velmora {

namespace {

// Heading, result field and width in twips of each column of the listing.
struct Columna {
    const char16_t* titulo;
    const QString& campo;
    int ancho;
};

const std::array<Columna, 9> kColumnas = {{
    {u"Año", CAMPO_ANIO, 700},
    {u"Mes", CAMPO_MES, 1150},
    {u"Indicador", CAMPO_INDICADOR, 3600},
    {u"Tipo Indicador", CAMPO_TIPO_INDICADOR, 1700}, // "Departamentales" whole
    {u"Desempeño", CAMPO_DESEMPENO, 1350},
    {u"Unidad", CAMPO_UNIDAD, 1100},
    {u"Nivel Base", CAMPO_NIVEL_BASE, 1100},
    {u"Valor", CAMPO_VALOR, 1100},
    {u"Meta", CAMPO_META, 1100},
}};

// Rows are read into a batch and the grid takes each batch at once, with one
// notice to its view instead of one per row and cell.
constexpr int kLote = 4096;

constexpr qlonglong kEnteroExacto = 1'000'000'000'000'000LL; // 1e15

// A cell of the listing shows its field followed by 7 blanks, cut to 80
// characters. Numbers stay numbers (the spreadsheet gets them as they are);
// the blanks are only a count.
void poner_celda(ModeloGrilla& grilla, int fila, int columna, const QVariant& valor)
{
    constexpr int kAncho = 80;
    constexpr int kRelleno = 7;
    if (!valor.isValid() || valor.isNull()) {
        grilla.setTextMatrix(fila, columna, QString(), kRelleno);
        return;
    }
    switch (tipo_numero(valor)) {
    case TipoNumero::Real:
        grilla.setValorMatrix(fila, columna, valor.toDouble(), kRelleno);
        return;
    case TipoNumero::Entero:
        // Whole numbers a double writes the same way; larger ones stay text.
        if (const qlonglong n = valor.toLongLong(); n > -kEnteroExacto && n < kEnteroExacto) {
            grilla.setValorMatrix(fila, columna, double(n), kRelleno);
            return;
        }
        break;
    case TipoNumero::Ninguno:
        break;
    }
    const QString texto = texto_valor(valor);
    if (texto.size() >= kAncho)
        grilla.setTextMatrix(fila, columna, texto.left(kAncho));
    else
        grilla.setTextMatrix(fila, columna, texto, qMin(kRelleno, kAncho - int(texto.size())));
}

const QString kClaveRuta = QStringLiteral("exportar/ruta");

// What the user can do about a failed export.
QString que_hacer(long numero)
{
    if (falta_espacio(int(numero)))
        return QStringLiteral("Libere espacio en el disco, o elija otra carpeta con «Examinar...», y pulse "
                              "«Exportar» de nuevo.");
    return QStringLiteral("Elija otra carpeta o nombre con «Examinar...» y pulse «Exportar» de nuevo.");
}

} // namespace

Exportar::Exportar(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Exportar"));
    setWindowTitle(QStringLiteral("Exportar"));
    fijar_fondo(this, QStringLiteral("menu"));

    // The last file exported, across runs; the documents folder's Datos.xlsx at first.
    Text1 = new QLineEdit(configuracion().value(kClaveRuta, ruta_exportar_por_defecto()).toString(), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral("Archivo de Excel"));
    Text1->setAccessibleName(QStringLiteral("Archivo de Excel"));
    cmd_examinar = new QPushButton(QStringLiteral("Examinar..."), this);
    cmd_examinar->setObjectName(QStringLiteral("cmd_examinar"));
    MSHFlexGrid = new Grilla(this);
    MSHFlexGrid->setObjectName(QStringLiteral("MSHFlexGrid"));
    // A wider window widens the listing's columns.
    MSHFlexGrid->setEnsanchar(true);
    Command2 = new QPushButton(QStringLiteral("Llenar"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    poner_imagen(Command2, QStringLiteral("llenar"));
    Command1 = new QPushButton(QStringLiteral("Exportar"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    poner_imagen(Command1, QStringLiteral("exportar"));
    for (QPushButton* boton : {Command2, Command1})
        boton->setMinimumSize(twips_a_px(1600, this), twips_a_px(645, this));

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(Command2);
    botones->addWidget(Command1);
    auto* capa = new QVBoxLayout(this);
    const int margen = twips_a_px(300, this);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->setSpacing(twips_a_px(150, this));
    auto* archivo = new QHBoxLayout;
    archivo->addWidget(Text1, 1);
    archivo->addWidget(cmd_examinar);
    capa->addLayout(archivo);
    capa->addWidget(MSHFlexGrid, 1);
    capa->addLayout(botones);
    resize(twips_a_px(14400, this), twips_a_px(7800, this));

    connect(Command1, &QPushButton::clicked, this, atendido(this, &Exportar::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, atendido(this, &Exportar::Command2_Click));
    connect(cmd_examinar, &QPushButton::clicked, this, atendido(this, &Exportar::cmd_examinar_Click));
    Form_Load();
}

void Exportar::Form_Load()
{
    MSHFlexGrid->setCols(int(kColumnas.size()));
    for (int c = 0; c < int(kColumnas.size()); ++c) {
        MSHFlexGrid->setTextMatrix(0, c, QString::fromUtf16(kColumnas[size_t(c)].titulo));
        MSHFlexGrid->setColWidth(c, kColumnas[size_t(c)].ancho);
    }
    MSHFlexGrid->setFixedCols(0);
}

void Exportar::Command1_Click()
{
    // A press that arrives while the listing is read or written is dropped.
    if (Progreso::en_curso())
        return;
    if (listado_incompleto) {
        mensaje(QStringLiteral("La lista está incompleta: el último «Llenar» no pudo leer todos los registros, "
                               "y una lista a medias no se exporta. Pulse «Llenar» de nuevo y, cuando termine sin "
                               "errores, pulse «Exportar»."));
        return;
    }
    const QString ruta = Text1->text();
    // The question is about the file really written: a bare name goes to the
    // export folder and gets ".xlsx".
    const QString destino = archivo_exportado(ruta);
    const QString nativa = QDir::toNativeSeparators(destino.isEmpty() ? ruta : destino);
    // An existing workbook is replaced only when the user says so.
    if (!destino.isEmpty() && QFileInfo(destino).isFile()
        && !preguntar(QStringLiteral("El archivo ") + nativa + QStringLiteral(" ya existe. ¿Desea reemplazarlo?")))
        return;
    // The dialog comes with the first row written, so a path refused at once
    // shows only its message.
    std::optional<Progreso> progreso;
    const auto avance = [&](EtapaExportacion etapa, qint64 hecho, qint64 total) {
        if (!progreso)
            progreso.emplace(this, QStringLiteral("Escribiendo el archivo de Excel..."), total);
        if (etapa == EtapaExportacion::Guardando)
            progreso->fijar_texto(QStringLiteral("Guardando el archivo de Excel..."));
        else
            progreso->avanzar(hecho);
    };
    // Year, month, baseline, value and target; names and codes stay text.
    const ResultadoExportacion resultado = exportar_excel(ruta, *MSHFlexGrid->modelo(), {0, 1, 6, 7, 8}, avance);
    progreso.reset();
    switch (resultado.estado) {
    case ResultadoExportacion::Estado::Escrito:
        configuracion().setValue(kClaveRuta, QDir::toNativeSeparators(resultado.archivo));
        mostrar_mensaje(QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(resultado.archivo), QString(),
                        IconoMensaje::Informacion);
        break;
    case ResultadoExportacion::Estado::SinRuta:
        mostrar_mensaje(QStringLiteral(" Falta el Path del archivo de Excel "), QString(), IconoMensaje::Ninguno);
        break;
    case ResultadoExportacion::Estado::Fallo:
        mostrar_mensaje((destino.isEmpty() ? QStringLiteral("No se pudo exportar") : QStringLiteral("No se pudo exportar a ")
                                                                                        + nativa)
                            + QStringLiteral(" (error %1): %2.\n%3")
                                  .arg(QString::number(resultado.numero), resultado.descripcion,
                                       que_hacer(resultado.numero)),
                        QString(), IconoMensaje::Ninguno);
        break;
    }
}

void Exportar::cmd_examinar_Click()
{
    // The replace question comes when "Exportar" writes, not here.
    QFileDialog dialogo(this, QStringLiteral("Exportar"), Text1->text(),
                        QStringLiteral("Libro de Excel (*.xlsx)"));
    dialogo.setObjectName(QStringLiteral("dialogo_exportar"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setDefaultSuffix(QStringLiteral("xlsx"));
    dialogo.setOption(QFileDialog::DontConfirmOverwrite);
    dialogo.selectFile(Text1->text());
    if (dialogo.exec() == QDialog::Accepted && !dialogo.selectedFiles().isEmpty())
        Text1->setText(QDir::toNativeSeparators(dialogo.selectedFiles().constFirst()));
}

void Exportar::Command2_Click()
{
    if (Progreso::en_curso())
        return;
    // One walk of the procedure fills every column; the listing is built
    // afresh, so a second press shows the records once.
    Resultado registros = Conexion().ejecutar(comando_exec(QStringLiteral("Exportar")));
    ModeloGrilla* grilla = MSHFlexGrid->modelo();
    grilla->setRows(2);
    // Whole only once the last row is read: a failure on the way leaves the
    // listing empty and marked, so that "Exportar" refuses it.
    listado_incompleto = true;

    QStringList campos;
    for (const Columna& columna : kColumnas)
        campos << columna.campo;
    const int columnas = int(campos.size());
    Progreso progreso(this, QStringLiteral("Leyendo los registros..."));
    std::vector<QVariant> lote;
    lote.reserve(size_t(kLote) * size_t(columnas));
    qint64 leidas = 0;
    auto volcar = [&] {
        const ModeloGrilla::Lote sin_avisos(*grilla);
        const int primera = grilla->Rows();
        const int filas = int(lote.size()) / columnas;
        grilla->setRows(primera + filas);
        for (int f = 0; f < filas; ++f)
            for (int c = 0; c < columnas; ++c)
                poner_celda(*grilla, primera + f, c, lote[size_t(f) * size_t(columnas) + size_t(c)]);
        lote.clear();
    };
    // Field names are looked up once, on the first row.
    std::vector<int> indices;
    try {
        for (; !registros.eof(); registros.siguiente()) {
            if (indices.empty())
                for (const QString& campo : campos)
                    indices.push_back(registros.indice(campo));
            for (int i : indices)
                lote.push_back(registros.campo(i));
            if (int(lote.size()) >= kLote * columnas)
                volcar();
            progreso.avanzar(++leidas);
        }
        volcar();
    } catch (...) {
        // The batches already shown go: part of a listing reads as all of it.
        grilla->setRows(2);
        throw;
    }
    listado_incompleto = false;
}

} // namespace velmora
