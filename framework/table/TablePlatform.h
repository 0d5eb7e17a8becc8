#pragma once
// What the engine asks of the machine: the beep of a refused action, the screen width that
// bounds a column, the memory load the views' guard reads. Tests put in their own beep.
#include "platform/win/WinTypes.h"

void TableBeep();
int  TableScreenWidth();
// Percent of physical memory in use; FALSE when unknown.
BOOL TableMemoryLoad(double* pdUsedPercent);

typedef void (*TABLEBEEPPROC)();
// Null puts the system's MessageBeep(0) back.
void TableSetBeepProc(TABLEBEEPPROC pfnBeep);
