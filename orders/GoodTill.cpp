// The good-till rules.
#include "orders/GoodTill.h"

#include <cmath>
#include "refdata/ZorvatGlobals.h"

COleDateTime GetOrderToday()
{
    const COleDateTime now(GetGlobals()->GetNow());
    return COleDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0);
}

long ClampGoodTillDays(long nDays)
{
    return nDays < 1 ? 1 : nDays > GOOD_TILL_MAX_DAYS ? GOOD_TILL_MAX_DAYS : nDays;
}

COleDateTime GoodTillFromDays(const COleDateTime& today, long nDays)
{
    return today + COleDateTimeSpan(nDays, 0, 0, 0);
}

COleDateTime ClampGoodTillDate(const COleDateTime& today, const COleDateTime& picked)
{
    const COleDateTime tomorrow = GoodTillFromDays(today, 1);
    if (picked.GetStatus() != COleDateTime::valid)
        return tomorrow;
    const COleDateTime day(picked.GetYear(), picked.GetMonth(), picked.GetDay(), 0, 0, 0);
    const COleDateTime last = GoodTillFromDays(today, GOOD_TILL_MAX_DAYS);
    if (day > last)
        return last;
    return day < tomorrow ? tomorrow : day;
}

long GoodTillDays(const COleDateTime& today, const COleDateTime& date)
{
    return std::lround((date - today).GetTotalDays());
}

namespace {
const COleDateTimeSpan ONE_DAY(1, 0, 0, 0);

bool IsWeekend(const COleDateTime& date)
{
    const int nDay = date.GetDayOfWeek();   // 1 Sunday .. 7 Saturday
    return nDay == 1 || nDay == 7;
}

COleDateTime ForwardOffWeekend(COleDateTime date)
{
    while (IsWeekend(date))
        date += ONE_DAY;
    return date;
}
}  // namespace

COleDateTime GoodTillFromDaysOnWeekdays(const COleDateTime& today, long* pnDays)
{
    long nDays = ClampGoodTillDays(*pnDays);
    COleDateTime date = GoodTillFromDays(today, nDays);
    while (IsWeekend(date)) {
        date -= ONE_DAY;
        --nDays;
    }
    while (nDays < 1 || IsWeekend(date)) {
        date += ONE_DAY;
        ++nDays;
    }
    *pnDays = nDays;
    return date;
}

COleDateTime ClampGoodTillDateOnWeekdays(const COleDateTime& today, const COleDateTime& picked)
{
    const COleDateTime tomorrow = GoodTillFromDays(today, 1);
    if (picked.GetStatus() != COleDateTime::valid)
        return ForwardOffWeekend(tomorrow);
    COleDateTime date(picked.GetYear(), picked.GetMonth(), picked.GetDay(), 0, 0, 0);
    const COleDateTime last = GoodTillFromDays(today, GOOD_TILL_MAX_DAYS);
    if (date > last)
        date = last;
    while (IsWeekend(date))
        date -= ONE_DAY;
    return date < tomorrow ? ForwardOffWeekend(tomorrow) : date;
}
