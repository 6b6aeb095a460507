// Compiled with one library's include roots: does the header reach it?
#include SONDA
