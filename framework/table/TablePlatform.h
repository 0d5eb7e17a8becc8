#pragma once
// What the engine asks of the machine: the beep of a refused action, the screen width that
// bounds a column, the memory load the views' guard reads. Tests put in their own beep.
#include <cstddef>
#include "platform/win/WinTypes.h"

void TableBeep();
int  TableScreenWidth();
// Percent of physical memory in use; FALSE when unknown.
BOOL TableMemoryLoad(double* pdUsedPercent);

// Address space of nSize bytes aligned to nAlign (a power of two), reserved and not yet usable;
// null when refused. TableCommitRange makes a part of it usable (zero-filled, large pages asked
// for); FALSE when memory is short.
void* TableReserveRange(size_t nSize, size_t nAlign);
BOOL  TableCommitRange(void* pStart, size_t nSize);

typedef void (*TABLEBEEPPROC)();
// Null puts the system's MessageBeep(0) back.
void TableSetBeepProc(TABLEBEEPPROC pfnBeep);
