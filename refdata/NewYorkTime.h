#pragma once
// Kuwait time to New York time. The server runs on Kuwait time, which is UTC+3 all year; New
// York follows the US daylight-saving rule in force today: summer time from 02:00 on the second
// Sunday of March to 02:00 on the first Sunday of November, New York time. Everything here
// counts in UTC instants, so the machine's own time zone never enters.
#include <ctime>
#include "framework/base/NorvTime.h"

const int KUWAIT_UTC_OFFSET = 3 * 3600;
const int KUWAIT_TO_NEW_YORK_SUMMER = 7 * 3600;     // New York on UTC-4
const int KUWAIT_TO_NEW_YORK_WINTER = 8 * 3600;     // New York on UTC-5

// The instants (seconds since 1970, UTC) at which summer time begins and ends in the year; 0
// stands for the current year. The window holds UsDstStart and ends just before UsDstEnd.
// -1 for a year outside 1..9999.
time_t UsDstStart(int nYear);
time_t UsDstEnd(int nYear);
BOOL IsUsSummerTime(time_t tInstant);

// Converts a Kuwait time of today (today's date in Kuwait at tNow) to New York time; the rule
// is decided for that instant. TRUE when the New York time falls on the previous day (86400
// seconds were added). A Kuwait time past 24 hours gives a New York time that may be too.
BOOL KuwaitToNewYorkTimeAt(const CNorvTime& kuwait, CNorvTime& result, time_t tNow);
BOOL KuwaitToNewYorkTime(const CNorvTime& kuwait, CNorvTime& result);      // today, now
