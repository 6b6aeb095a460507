#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <vector>

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

    // Text is stored as given, trailing blanks included.
    QString TextMatrix(int fila, int columna) const;
    void setTextMatrix(int fila, int columna, const QString& texto);
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
    size_t posicion(int fila, int columna) const { return size_t(fila) * size_t(columnas_) + size_t(columna); }

    int lote_ = 0;
    int filas_ = 0;
    int columnas_ = 0;
    int filas_fijas_ = 0;
    int columnas_fijas_ = 0;
    int alto_minimo_ = 0;
    std::vector<QString> textos_;
    std::vector<quint8> imagenes_; // index into nombres_imagen_, 0 = none; empty until first picture
    QStringList nombres_imagen_{QString()};
    std::vector<int> anchos_;
};
