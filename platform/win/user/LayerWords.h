#pragma once
// The layer's own words: message-box titles and buttons, the file, font and colour choosers'
// labels, the print-setup and printer-properties dialogs. They follow the user's language, which
// start-up sets as the thread's locale, never the active code page (the program keeps 1256 in
// English too). Texts are UTF-8.
#include "platform/win/WinTypes.h"

// The thread's locale is Arabic: dialogs read right to left and speak Arabic.
BOOL TbUserReadsArabic();
// The word in the user's language: the Arabic of an English word the layer knows, else the
// English as given. Qt's own dialog words are asked for by their English (mnemonics included).
const char* TbLayerWord(const char* pszEnglish);
// The Arabic of a word the layer knows, whatever the user's language; null for any other.
const char* TbArabicLayerWord(const char* pszEnglish);
