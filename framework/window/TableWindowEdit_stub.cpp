// Placeholder body of the in-place editor until its class lands.
#include "framework/window/TableEdit.h"

BOOL CTableEdit::Create(UINT, const char*, const RECT&, CTBWnd*, DWORD, DWORD) { return FALSE; }
