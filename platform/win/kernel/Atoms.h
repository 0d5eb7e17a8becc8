#pragma once
// The global atom table: a text (compared without case) stands for a 16-bit number from
// 0xC000, counted by its users; "#123" and MAKEINTATOM(123) are the integer atom 123 itself.
#include "platform/win/WinTypes.h"

#define MAKEINTATOM(i) (reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define MAXINTATOM 0xC000

// 0 for an empty or over-long (255) name, or a full table.
ATOM GlobalAddAtomA(LPCSTR pszString);
ATOM GlobalFindAtomA(LPCSTR pszString);
// Drops one use; the atom goes with its last. 0 on success, the atom back when it is unknown.
ATOM GlobalDeleteAtom(ATOM nAtom);
// The atom's text ("#123" for an integer atom), cut to nSize-1; the length, 0 when unknown.
UINT GlobalGetAtomNameA(ATOM nAtom, LPSTR pszBuffer, int nSize);
