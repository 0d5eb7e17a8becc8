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

// The KSE tickets' rules, which keep the date off weekends. Days typed: within 1..90, the date
// then moved back off a Saturday or Sunday (the days with it), or forward when that left less
// than a day. *pnDays gets the days shown.
COleDateTime GoodTillFromDaysOffWeekend(const COleDateTime& today, long nDays, long* pnDays);
// A picked date: at most today + 90, moved back off a weekend; when before tomorrow, tomorrow
// moved forward off a weekend.
COleDateTime ClampGoodTillDateOffWeekend(const COleDateTime& today, const COleDateTime& picked);
