#pragma once
// The server's compact date and time fields and the terminal's own digit forms, by the table
// engine's type codes (COLTYPE_DATE_TEXT 24, COLTYPE_TIME_TEXT 25, COLTYPE_DATETIME_TEXT 26):
//
//   server    date: year - 2000 without leading zeros, then MMDD (61231, 101231)
//             time: HHMMSS, the hour's leading zero may be missing (93000)
//             date and time: year - 2000, then MMDDhhmmss
//   terminal  YYYYMMDD, HHMMSS, YYYYMMDDhhmmss
//
// Other types pass unchanged. A null text reads as the empty one.
#include "platform/mfc/OleDateTime.h"
#include "platform/mfc/String.h"

// Server form to terminal form. An empty field becomes blanks of the terminal form's width; a
// date too short for its month and day reads as 1 January 2000, a time longer than six
// characters as the empty text.
CString ConvertServerDateField(LPCSTR pszText, int nType);

// Terminal form to server form; an empty or blank text stays as it is.
CString ConvertDisplayDateField(LPCSTR pszText, int nType);

// A server field as a date-time value. Too short for its type: the null status; a part that
// is not digits or out of range: the invalid status; other types: the zero date, valid.
COleDateTime ParseServerDateField(LPCSTR pszText, int nType);
