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
bool IsWeekend(const COleDateTime& date)
{
    const int nDay = date.GetDayOfWeek();
    return nDay == 1 || nDay == 7;      // Sunday, Saturday
}
const COleDateTimeSpan ONE_DAY(1, 0, 0, 0);
}  // namespace

COleDateTime GoodTillFromDaysOffWeekend(const COleDateTime& today, long nDays, long* pnDays)
{
    long nShown = ClampGoodTillDays(nDays);
    COleDateTime date = GoodTillFromDays(today, nShown);
    while (IsWeekend(date)) {
        date -= ONE_DAY;
        --nShown;
    }
    if (nShown < 1) {
        do {
            date += ONE_DAY;
            ++nShown;
        } while (IsWeekend(date));
    }
    *pnDays = nShown;
    return date;
}

COleDateTime ClampGoodTillDateOffWeekend(const COleDateTime& today, const COleDateTime& picked)
{
    const COleDateTime tomorrow = GoodTillFromDays(today, 1);
    COleDateTime date = picked.GetStatus() == COleDateTime::valid
                            ? COleDateTime(picked.GetYear(), picked.GetMonth(), picked.GetDay(), 0, 0, 0)
                            : tomorrow;
    const COleDateTime last = GoodTillFromDays(today, GOOD_TILL_MAX_DAYS);
    if (date > last)
        date = last;
    while (IsWeekend(date))
        date -= ONE_DAY;
    if (date < tomorrow) {
        date = tomorrow;
        while (IsWeekend(date))
            date += ONE_DAY;
    }
    return date;
}
