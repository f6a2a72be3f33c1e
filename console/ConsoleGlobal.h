// The program's one adjustment console, created at its first use.
#pragma once

class clsConsole;

clsConsole& gObjConsole();
// Drops the console, so the next gObjConsole() builds a fresh one (tests).
void resetConsoleGlobal();
