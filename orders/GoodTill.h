#pragma once
// The good-till rules of the order tickets: an order valid till a date lives from one to ninety
// days; "today" is the reference data's clock (a fixed one in tests).
#include "platform/mfc/OleDateTime.h"

#define GOOD_TILL_MAX_DAYS 90

// Today at midnight, local time.
COleDateTime GetOrderToday();
// The date that many days after today (midnight).
COleDateTime GoodTillFromDays(const COleDateTime& today, long nDays);
// A picked date at midnight, within tomorrow and today + 90; an invalid one gives tomorrow. On
// weekdays (the KSE and US tickets), a date on a weekend moves back to its Friday, and one then
// before tomorrow is tomorrow moved forward off a weekend.
COleDateTime ClampGoodTillDate(const COleDateTime& today, const COleDateTime& picked, BOOL bWeekdays = FALSE);
// The date of days typed, within 1..90; on weekdays moved back off a Saturday or Sunday (the days
// with it), or forward when that left less than a day. *pnDays gets the days shown.
COleDateTime GoodTillFromTypedDays(const COleDateTime& today, long nDays, BOOL bWeekdays, long* pnDays);
// Whole days from today to the date, to the nearest day.
long GoodTillDays(const COleDateTime& today, const COleDateTime& date);
