// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

class QProgressDialog;

namespace velmora {

// Progress of a long job that runs on the user-interface thread. A modal
// dialog appears once the job passes a few thousand rows, and the windows
// keep repainting while it runs; short jobs show nothing. The user cannot
// close the dialog: stopping halfway would leave a half-built listing or file.
class Progreso final {
public:
    static constexpr qint64 Umbral = 2000;

    // total 0: the number of rows is not known yet (the count is shown).
    Progreso(QWidget* padre, QString texto, qint64 total = 0);
    ~Progreso();
    Progreso(const Progreso&) = delete;
    Progreso& operator=(const Progreso&) = delete;

    // True while any job runs: events processed meanwhile must not start
    // another one.
    static bool en_curso() { return vivos_ > 0; }

    // Cheap enough to call once per row.
    void avanzar(qint64 hechas);
    void fijar_texto(const QString& texto);

private:
    void mostrar();
    void refrescar(qint64 hechas);

    QPointer<QWidget> padre_;
    QString texto_;
    qint64 total_;
    QPointer<QProgressDialog> dialogo_; // owned by its Qt parent, or deleted later
    QElapsedTimer reloj_;
    static inline int vivos_ = 0;
};

} // namespace velmora
