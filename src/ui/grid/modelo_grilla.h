// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <unordered_map>
#include <vector>

namespace velmora {

// A matrix of text cells, each of which may also hold a picture (by name).
// It answers the display role with the text and RolImagen with the picture's
// name, so a test reads what the user sees. Screens use it alone for the work
// grids nobody sees, and through a Grilla for the visible ones.
class ModeloGrilla final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int RolImagen = Qt::UserRole + 1;
    static constexpr int RolFija = Qt::UserRole + 2; // true for heading cells
    static constexpr int AnchoPorDefecto = 960;      // twips

    explicit ModeloGrilla(QObject* padre = nullptr);

    int Rows() const { return filas_; }
    void setRows(int filas);
    int Cols() const { return columnas_; }
    void setCols(int columnas);
    int FixedRows() const { return filas_fijas_; }
    void setFixedRows(int n);
    int FixedCols() const { return columnas_fijas_; }
    void setFixedCols(int n);

    // A cell reads back exactly as it was given, trailing blanks included.
    // Equal texts are held once, and the trailing blanks as a count.
    QString TextMatrix(int fila, int columna) const;
    void setTextMatrix(int fila, int columna, const QString& texto);
    // The text followed by `relleno` padding blanks.
    void setTextMatrix(int fila, int columna, const QString& texto, int relleno);
    // A number, shown as numero_a_texto() writes it followed by `relleno`
    // blanks; it is kept as a number, so no one has to read it back.
    void setValorMatrix(int fila, int columna, double valor, int relleno = 0);
    // The number of a cell given by setValorMatrix, nullopt for a text.
    std::optional<double> ValorMatrix(int fila, int columna) const;
    // The cell's text without the padding blanks its count holds.
    QString TextoSinRelleno(int fila, int columna) const;
    // Picture name of a cell ("" when it has none).
    QString CellPicture(int fila, int columna) const;
    void setCellPicture(int fila, int columna, const QString& nombre);

    // Widths and heights in twips.
    int ColWidth(int columna) const;
    void setColWidth(int columna, int twips);
    int RowHeightMin() const { return alto_minimo_; }
    void setRowHeightMin(int twips);

    // Appends one row at the bottom; the text goes into its column 0.
    void AddItem(const QString& texto);

    // QAbstractTableModel
    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;

    // Characters held in all cells (the benchmark reports memory with it).
    qsizetype caracteres() const;

    // While a Lote lives, changes raise no notice; views learn of them all at
    // once when it ends. Filling a hundred thousand rows then costs no more
    // than storing their texts.
    class Lote final {
    public:
        explicit Lote(ModeloGrilla& modelo);
        ~Lote();
        Lote(const Lote&) = delete;
        Lote& operator=(const Lote&) = delete;

    private:
        ModeloGrilla& modelo_;
    };

signals:
    // Shape, widths or heights changed: views lay themselves out again.
    void formaCambiada();

private:
    bool valida(int fila, int columna, const char* donde) const;
    void redimensionar(int filas, int columnas);
    // setRows and setCols: views start afresh, or learn of it when a Lote ends.
    void cambiar_forma(int filas, int columnas);
    size_t posicion(int fila, int columna) const { return size_t(fila) * size_t(columnas_) + size_t(columna); }
    void poner(size_t i, QStringView texto, int relleno);
    quint32 compartido(QStringView texto);
    void compactar();
    QString texto_de(size_t i) const;

    struct HashTexto {
        using is_transparent = void;
        size_t operator()(QStringView t) const noexcept { return qHash(t); }
        size_t operator()(const QString& t) const noexcept { return qHash(QStringView(t)); }
    };

    // A cell is 8 bytes of value and one byte of form: bit 7 tells a number
    // (the bits of a double) from a text (an index into textos_), bits 0-6
    // count the padding blanks. A listing of a million records holds no
    // string of its own per cell.
    static constexpr quint8 kNumero = 0x80;
    static constexpr int kRellenoMaximo = 0x7f;

    int lote_ = 0;
    int filas_ = 0;
    int columnas_ = 0;
    int filas_fijas_ = 0;
    int columnas_fijas_ = 0;
    int alto_minimo_ = 0;
    std::vector<quint64> valores_;
    std::vector<quint8> formas_;
    std::vector<QString> textos_{QString()}; // the distinct texts; 0 is the empty one
    std::unordered_map<QString, quint32, HashTexto, std::equal_to<>> indice_textos_;
    std::vector<quint8> imagenes_; // index into nombres_imagen_, 0 = none; empty until first picture
    QStringList nombres_imagen_{QString()};
    std::vector<int> anchos_;
};

} // namespace velmora
