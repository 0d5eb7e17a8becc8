#pragma once
// The compact byte code of feed lines: one byte stands for a two-digit number, a run of zeros,
// a value with its '|', a letter, a punctuation mark, a run of '|' or an accented capital.
#include <string>
#include "platform/win/WinTypes.h"

// Appends the expansion of nLength bytes to strOut, which grows as needed: a byte can stand
// for up to ten characters, so the expansion never goes into a fixed line buffer.
void ExpandFeed(const char* pBytes, int nLength, std::string& strOut);
