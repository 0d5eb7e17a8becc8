#pragma once
// Base64 decoding (RFC 4648 alphabet) as the class library's utility offers it.
#include "platform/win/WinTypes.h"

// The most bytes nSrcLen characters can decode to.
int Base64DecodeGetRequiredLength(int nSrcLen);
// Decodes nSrcLen characters into pbDest, which holds *pnDestLen bytes; *pnDestLen becomes the
// number of bytes decoded. Blanks and line ends are skipped; '=' may only pad the end. FALSE for
// any other character, a stray '=', a lone last character, or a buffer too small (then
// *pnDestLen is the size needed); pbDest may have been written then.
BOOL Base64Decode(LPCSTR pszSrc, int nSrcLen, BYTE* pbDest, int* pnDestLen);
