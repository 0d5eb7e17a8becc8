#pragma once
// The good-till rules of the order tickets: an order valid till a date lives from one to ninety
// days; "today" is the reference data's clock (a fixed one in tests).
#include "platform/mfc/OleDateTime.h"

#define GOOD_TILL_MAX_DAYS 90

// Today at midnight, local time.
COleDateTime GetOrderToday();
// Days typed into a ticket, within 1..90.
long ClampGoodTillDays(long nDays);
// The date that many days after today (midnight).
COleDateTime GoodTillFromDays(const COleDateTime& today, long nDays);
// A picked date at midnight, within tomorrow and today + 90; an invalid one gives tomorrow.
COleDateTime ClampGoodTillDate(const COleDateTime& today, const COleDateTime& picked);
// Whole days from today to the date, to the nearest day.
long GoodTillDays(const COleDateTime& today, const COleDateTime& date);

// With weekend steps (the US form): the days' date moved back off a Saturday or Sunday, the
// days with it, yet at least one day and a weekday; *pnDays is clamped and stepped too.
COleDateTime GoodTillFromDaysOnWeekdays(const COleDateTime& today, long* pnDays);
// A picked date within today + 90, back off a weekend to its Friday, and not before tomorrow
// stepped forward over a weekend.
COleDateTime ClampGoodTillDateOnWeekdays(const COleDateTime& today, const COleDateTime& picked);
