// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/progreso.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLocale>
#include <QProgressDialog>

#include <algorithm>

namespace velmora {

namespace {

// Often enough for the window to feel alive, seldom enough to cost nothing.
constexpr qint64 kIntervaloMs = 100;

// Neither Escape nor the window's close button ends it.
class DialogoProgreso final : public QProgressDialog {
public:
    using QProgressDialog::QProgressDialog;
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* evento) override { evento->ignore(); }
};

} // namespace

Progreso::Progreso(QWidget* padre, QString texto, qint64 total)
    : padre_(padre), texto_(std::move(texto)), total_(total)
{
    ++vivos_;
    if (total_ > Umbral)
        mostrar();
}

Progreso::~Progreso()
{
    --vivos_;
    if (dialogo_) {
        dialogo_->hide();
        dialogo_->deleteLater();
    }
}

void Progreso::mostrar()
{
    dialogo_ = new DialogoProgreso(padre_.data());
    dialogo_->setObjectName(QStringLiteral("Progreso"));
    dialogo_->setWindowTitle(QApplication::applicationDisplayName());
    dialogo_->setCancelButton(nullptr);
    dialogo_->setWindowFlag(Qt::WindowCloseButtonHint, false);
    dialogo_->setWindowModality(Qt::ApplicationModal);
    dialogo_->setMinimumDuration(0);
    dialogo_->setAutoReset(false);
    dialogo_->setAutoClose(false);
    dialogo_->setRange(0, total_ > 0 ? int(std::min<qint64>(total_, INT_MAX)) : 0);
    dialogo_->setLabelText(texto_);
    dialogo_->show();
    reloj_.start();
    refrescar(0);
}

void Progreso::avanzar(qint64 hechas)
{
    if (!dialogo_) {
        if (hechas <= Umbral)
            return;
        mostrar();
    }
    if (reloj_.elapsed() >= kIntervaloMs) {
        refrescar(hechas);
        reloj_.restart();
    }
}

void Progreso::fijar_texto(const QString& texto)
{
    texto_ = texto;
    if (dialogo_) {
        dialogo_->setLabelText(texto_);
        QCoreApplication::processEvents();
    }
}

void Progreso::refrescar(qint64 hechas)
{
    if (total_ > 0)
        dialogo_->setValue(int(std::min(hechas, total_)));
    else
        dialogo_->setLabelText(texto_ + u'\n' + QLocale().toString(hechas));
    QCoreApplication::processEvents();
}

} // namespace velmora
