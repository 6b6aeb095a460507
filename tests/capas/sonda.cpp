// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled with one library's include roots: does the header reach it?
#include SONDA
