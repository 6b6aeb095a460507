// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs a test's helper program as a user without root, whoever runs the
// suite: as root through setpriv as nobody (65534), as anyone else as that
// user. What the program reads must be reachable by that user.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

// A temporary folder under /tmp that every user can reach.
inline QString carpeta_para_todos(QTemporaryDir& dir)
{
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    return dir.path();
}

// The file or folder made the user's who runs the helper (as root: nobody's).
inline bool dar_al_usuario(const QString& ruta)
{
    if (::geteuid() != 0)
        return true;
    return ::chown(QFile::encodeName(ruta).constData(), 65534, 65534) == 0;
}

// The program copied into `carpeta` (the build folder may be closed to
// others) and run there; its standard output, its exit code in `codigo`,
// its standard error in `errores`.
inline QString como_sin_root(const QString& programa, const QString& carpeta, const QStringList& argumentos,
                             int& codigo, QString& errores)
{
    const QString copia = QDir(carpeta).filePath(QFileInfo(programa).fileName());
    QFile::remove(copia);
    QFile::copy(programa, copia);
    QFile::setPermissions(copia, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QProcess p;
    p.setWorkingDirectory(carpeta);
    if (::geteuid() == 0)
        p.start(QStringLiteral("setpriv"),
                QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", copia} + argumentos);
    else
        p.start(copia, argumentos);
    codigo = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    errores = QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}
