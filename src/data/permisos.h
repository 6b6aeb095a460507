// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// What the database lets the account the program logged in as do.
struct PermisosCuenta {
    QString cuenta;        // the database's own name for it; empty where it has none
    bool modificar = true; // create, modify, delete, restore
};

// The database's answer (Consulta_permisos). A database without that
// procedure answers that the account may change: an embedded file has no
// accounts (its permissions are its rights), and one not yet brought up
// to date trusts every client.
PermisosCuenta permisos_cuenta();

} // namespace velmora
