#pragma once
// Column formats whose text is their code's alone: a code table's callback names each code by
// the table's own text, the same for every row while the table stands. A grid that keeps what
// such a text needs by its code asks the stamp, which changes whenever a code table comes or goes.
#include "framework/table/TableColumn.h"

void RegisterCodeFormat(TBCOLUMNFORMAT pfnFormat);
BOOL IsCodeFormat(TBCOLUMNFORMAT pfnFormat);
// Called as a code table comes and goes.
void TouchCodeFormats();
unsigned GetCodeFormatsStamp();
