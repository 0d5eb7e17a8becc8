#pragma once
// Dates and times of the table engine's six date and time column types: three packed binary
// forms and three digit texts, shown and read through the framework's date and time patterns
// (letters stand for fields, every other character for itself).
//
//   packed date (4 bytes)       year - 1922, '0' + month, '0' + day, NUL
//   packed time (4 bytes)       '0' + hour, '0' + minute, '0' + second (NUL: no seconds), NUL
//   packed date and time (6)    the three date bytes, then the three time bytes, no terminator
//   date text (8), time text (6), date and time text (14): "%04d%02d%02d", "%02d%02d%02d"
//
// Every byte grows with its field, so the forms order in time byte by byte.
#include "platform/win/WinTypes.h"

// A packed year is one byte above this base.
const int PACKED_YEAR_BASE = 1922;
const int PACKED_YEAR_LAST = PACKED_YEAR_BASE + 255;
// The years a date can be read and shown in. The readers complete a year below 100 into
// 1971..2070, so the first year they can give is 100 ("0100"); the digit texts hold it, and so
// does COleDateTime. The display takes the same range: a date a reader took is never shown
// as nothing (and so dropped from an export).
const int DATE_YEAR_FIRST = 100;
const int DATE_YEAR_LAST = 9999;

// Calendar. DaysInMonth gives -1 for a month outside 1..12 and counts year 0 as not leap.
BOOL IsLeapYear(int nYear);
int  DaysInMonth(int nYear, int nMonth);
BOOL IsValidDate(int nYear, int nMonth, int nDay);          // years 0..9999
BOOL IsValidTime(int nHour, int nMinute, int nSecond);      // a negative second (none) passes

// Formatting never fails: a value out of range (a year outside DATE_YEAR_FIRST..LAST, a month
// outside 1..12, a day outside 1..31) gives "", a short destination a shortened text (the first
// field or character that does not fit ends it). A negative second shows no seconds.
void FormatDate(char* pszDest, int nSize, const char* pszPattern, int nYear, int nMonth, int nDay);
void FormatTime(char* pszDest, int nSize, const char* pszPattern, int nHour, int nMinute, int nSecond);

// Reading through a pattern from *ppszCursor, which moves past what was read. Missing fields
// come back as -1. A two-digit year below 71 lies in 2000..2070, from 71 in 1971..1999.
// ParseTime ends early at the end of the text or a white space when hours and minutes were read
// (a time without seconds, *pnSecond -1).
BOOL ParseDate(int* pnYear, int* pnMonth, int* pnDay, const char** ppszCursor, const char* pszPattern);
BOOL ParseTime(int* pnHour, int* pnMinute, int* pnSecond, const char** ppszCursor, const char* pszPattern);

// Packed forms. A null date and time, or one whose first byte is 0, shows empty.
void FormatPackedDate(char* pszDest, int nSize, const char* pPacked, const char* pszPattern);
void FormatPackedTime(char* pszDest, int nSize, const char* pPacked, const char* pszPattern);
void FormatPackedDateTime(char* pszDest, int nSize, const char* pPacked, const char* pszDatePattern,
                          const char* pszTimePattern);
// Reads a date (4 bytes), a time (4 bytes) or both (6 bytes) into pDest, by which patterns are
// given. A date outside the packed years is refused, and so is the base year in a date and time,
// whose first byte 0 means "no value". FALSE leaves pDest unchanged.
BOOL ParsePackedDateTime(char* pDest, const char* pszText, const char* pszDatePattern, const char* pszTimePattern);

// Digit texts. They are read by their fixed widths, so a storage without terminator is fine.
void FormatDateText(char* pszDest, int nSize, const char* pszDigits, const char* pszPattern);
void FormatTimeText(char* pszDest, int nSize, const char* pszDigits, const char* pszPattern);
void FormatDateTimeText(char* pszDest, int nSize, const char* pszDigits, const char* pszDatePattern,
                        const char* pszTimePattern);
// Writes 8, 6 or 14 digits (no terminator); a time without seconds stores "00" for them.
// FALSE leaves pDest unchanged.
BOOL ParseDateTimeText(char* pDest, const char* pszText, const char* pszDatePattern, const char* pszTimePattern);
