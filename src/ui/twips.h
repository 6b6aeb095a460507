// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace velmora {

// Lengths are given in twips (1440 per inch) and drawn with the screen's
// logical DPI: 15 twips per pixel at 96 DPI.
int twips_a_px(int twips, const QWidget* referencia = nullptr);
int px_a_twips(int px, const QWidget* referencia = nullptr);

// Places a control by its rectangle in twips, measured with its window's DPI.
void ubicar(QWidget* control, int izquierda, int arriba, int ancho, int alto);

// Sets a window's starting client area, given in twips, at most the
// available screen; the user may resize and maximise it.
void fijar_area_cliente(QWidget* ventana, int ancho_twips, int alto_twips);

} // namespace velmora
