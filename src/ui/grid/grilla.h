// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/grid/modelo_grilla.h"

#include <QAbstractScrollArea>
#include <QRect>

#include <functional>

namespace velmora {

struct TablaImpresa;

// A grid on screen: draws its model, keeps a current cell and raises the
// four events the editable grid handles. Fixed rows and columns are drawn as
// headings and do not scroll; the body scrolls by whole rows, so a grid of a
// hundred thousand rows paints only what is visible.
class Grilla final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit Grilla(QWidget* padre = nullptr);

    ModeloGrilla* modelo() const { return modelo_; }

    // The model's members, for brevity at the call sites.
    int Rows() const { return modelo_->Rows(); }
    void setRows(int n) { modelo_->setRows(n); }
    int Cols() const { return modelo_->Cols(); }
    void setCols(int n) { modelo_->setCols(n); }
    int FixedRows() const { return modelo_->FixedRows(); }
    void setFixedRows(int n) { modelo_->setFixedRows(n); }
    int FixedCols() const { return modelo_->FixedCols(); }
    void setFixedCols(int n) { modelo_->setFixedCols(n); }
    QString TextMatrix(int f, int c) const { return modelo_->TextMatrix(f, c); }
    void setTextMatrix(int f, int c, const QString& t) { modelo_->setTextMatrix(f, c, t); }
    int ColWidth(int c) const { return modelo_->ColWidth(c); }
    void setColWidth(int c, int twips) { modelo_->setColWidth(c, twips); }
    void setRowHeightMin(int twips) { modelo_->setRowHeightMin(twips); }
    void AddItem(const QString& texto) { modelo_->AddItem(texto); }

    // The current cell. Setting Row or Col to another value raises LeaveCell
    // (the old cell is still current) and then RowColChange.
    int Row() const { return fila_; }
    void setRow(int fila);
    int Col() const { return columna_; }
    void setCol(int columna);
    QString Text() const;
    void setText(const QString& texto);
    // Gives the current cell a picture by name ("" removes it).
    void setCellPicture(const QString& nombre);

    // The current cell's rectangle in pixels, relative to the grid's corner.
    QRect rectangulo_celda() const;
    // Any cell's rectangle, likewise (empty when scrolled out of sight).
    QRect rectangulo(int fila, int columna) const;
    int CellLeft() const { return rectangulo_celda().left(); }
    int CellTop() const { return rectangulo_celda().top(); }
    int CellWidth() const { return rectangulo_celda().width(); }
    int CellHeight() const { return rectangulo_celda().height(); }
    // Point size of the grid's font.
    double FontSize() const { return font().pointSizeF(); }

    // Pixel geometry, used by drawing and by tests. A column is drawn at its
    // width, but never narrower than its heading (and, in a heading column,
    // than each row's heading), so that every heading reads whole.
    int alto_fila() const;
    int ancho_columna_px(int columna) const;
    // The width, frame included, at which every column shows whole.
    int ancho_completo() const;
    // When set, columns share out the room the view has beyond their widths,
    // so a grid widens its columns with its window.
    void setEnsanchar(bool ensanchar);
    // When set, the blank rows after the last one with a text or a picture
    // other than "Blanco" (a report keeps such rows below its indicators, as
    // printing knows them) are neither drawn nor
    // reached by scrolling or a click; the current row always shows.
    void setOcultarVacias(bool ocultar);
    // The rows drawn: every row, or up to the last with data.
    int filas_mostradas() const;
    // The cell under a point of the viewport, or (-1, -1).
    QPoint celda_en(const QPoint& punto) const;

    // The cells the user selected (Shift with a click or an arrow key), as
    // columns x rows; a single cell when nothing more is selected.
    QRect seleccion() const;
    // Tab-separated text of the selection with its headings, or of the whole
    // grid when no more than one cell is selected; a picture gives its meaning.
    QString texto_para_copiar() const;
    // Ctrl+C: texto_para_copiar() onto the clipboard.
    void copiar() const;

    // The tooltip of a cell (a screen explains its pictures with numbers);
    // without one a picture's tooltip is its meaning.
    using Ayuda = std::function<QString(int fila, int columna)>;
    void setAyuda(Ayuda ayuda) { ayuda_ = std::move(ayuda); }
    QString ayuda(int fila, int columna) const;
    // What a cell says to the user and to screen readers: its text without
    // padding, and the meaning of its picture.
    QString texto_legible(int fila, int columna) const;

signals:
    void Click();
    void GotFocus();
    void LeaveCell();
    void RowColChange();

protected:
    void paintEvent(QPaintEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    bool viewportEvent(QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void focusInEvent(QFocusEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void scrollContentsBy(int dx, int dy) override;
    QSize sizeHint() const override;

private:
    void ajustar_barras();
    void calcular_anchos() const;
    // A column's width in pixels before spare room is shared out: its own,
    // or its headings' when wider.
    int ancho_natural_px(int columna) const;
    void mover_a(int fila, int columna, bool extender = false);
    // The column whose right edge in the headings is under x, or -1.
    int borde_en(const QPoint& punto) const;
    void hacer_visible(int fila, int columna);
    int ancho_fijas() const;          // pixels taken by the fixed columns
    int x_columna(int columna) const; // left edge in viewport pixels
    int y_fila(int fila) const;       // top edge in viewport pixels
    void dibujar_celda(class QPainter& p, const QRect& r, int fila, int columna) const;

    ModeloGrilla* modelo_;
    int fila_ = 1;
    int columna_ = 1;
    QPoint ancla_{1, 1}; // the selection's other corner (column, row)
    int columna_arrastrada_ = -1;
    int x_arrastre_ = 0;
    int ancho_arrastre_ = 0;   // the dragged column's natural width at the press
    int vecina_arrastre_ = -1; // its right neighbour's, when the two share the edge
    double escala_arrastre_ = 1; // drawn pixels per pixel of width
    Ayuda ayuda_;
    bool ensanchar_ = false;
    bool ocultar_vacias_ = false;
    // Drawn widths, worked out again when the model, the font or the view's
    // width change.
    mutable std::vector<int> anchos_px_;
    mutable std::vector<int> minimos_px_;
    mutable bool anchos_sucios_ = true;
    mutable int ancho_vista_ = -1;
};

// The grid as a printed table: its first heading row, every other row's
// texts (padding dropped by the printing) and pictures, its widths.
TablaImpresa tabla_impresa(const ModeloGrilla& modelo);

} // namespace velmora
