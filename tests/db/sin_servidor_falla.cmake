# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the registered tst_contrato_postgres with no server, from a copy of this
# folder's test list (the build's own test log stays untouched), and checks
# that CTest calls it failed: a suite that cannot run is never a pass, nor a
# skip that leaves a green run.
file(REMOVE_RECURSE ${CARPETA})
file(MAKE_DIRECTORY ${CARPETA})
file(COPY_FILE ${PRUEBAS}/CTestTestfile.cmake ${CARPETA}/CTestTestfile.cmake)
unset(ENV{VELMORA_PG_DSN})
execute_process(COMMAND ${CTEST} --test-dir ${CARPETA} -R "^tst_contrato_postgres$"
                OUTPUT_VARIABLE salida ERROR_VARIABLE salida RESULT_VARIABLE codigo)
message("${salida}")
if(NOT salida MATCHES "tst_contrato_postgres [.]+[*]+Failed" OR codigo EQUAL 0)
  message(FATAL_ERROR "tst_contrato_postgres without a server is not reported as failed")
endif()
