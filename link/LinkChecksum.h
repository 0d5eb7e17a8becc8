#pragma once
// The two check characters that close every line and packet of the protocol modes: with S the
// sum of the bytes before them (as unsigned bytes), '0' + ((S >> 6) & 63) and '0' + (S & 63).
#include "platform/win/WinTypes.h"

// Writes the two check characters of nLength bytes into pCheck[0] and pCheck[1].
void LinkChecksum(const char* pText, int nLength, char* pCheck);

// TRUE when the text is at least two characters long and its last two are the check
// characters of the ones before them.
BOOL LinkChecksumMatches(const char* pText, int nLength);
