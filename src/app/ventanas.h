#pragma once

// Registers every window of the program with the window registry.
void registrar_ventanas();
