#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The peer: the same listing read with sqlite3 and written with xlsxwriter.

   par_python.py <base.db> <salida.xlsx>

Prints "leer=<ms> escribir=<ms> rss=<KiB>" (peak resident size).
"""
import resource
import sqlite3
import sys
import time

import xlsxwriter

base, salida = sys.argv[1], sys.argv[2]
t0 = time.perf_counter()
con = sqlite3.connect(base)
sql = con.execute("SELECT sentencia FROM procedimientos WHERE nombre = 'Exportar'").fetchone()[0]
filas = con.execute(sql).fetchall()
t1 = time.perf_counter()

libro = xlsxwriter.Workbook(salida, {"constant_memory": True})
hoja = libro.add_worksheet("Datos")
negrita = libro.add_format({"bold": True})
titulos = ["Año", "Mes", "Indicador", "Tipo Indicador", "Desempeño", "Unidad",
           "Nivel Base", "Valor", "Meta"]
for c, t in enumerate(titulos):
    hoja.write_string(0, c, t, negrita)
for f, fila in enumerate(filas, start=1):
    for c, v in enumerate(fila):
        if v is None:
            continue
        if isinstance(v, (int, float)):
            hoja.write_number(f, c, v)
        else:
            hoja.write_string(f, c, v.rstrip())
libro.close()
t2 = time.perf_counter()
print("leer=%.1f escribir=%.1f rss=%d" % ((t1 - t0) * 1e3, (t2 - t1) * 1e3,
                                          resource.getrusage(resource.RUSAGE_SELF).ru_maxrss))
