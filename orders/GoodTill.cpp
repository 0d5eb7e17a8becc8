// The good-till rules.
#include "orders/GoodTill.h"

#include <cmath>
#include "refdata/ZorvatGlobals.h"

namespace {
const COleDateTimeSpan ONE_DAY(1, 0, 0, 0);

bool IsWeekend(const COleDateTime& date)
{
    const int nDay = date.GetDayOfWeek();   // 1 Sunday .. 7 Saturday
    return nDay == 1 || nDay == 7;
}

// Days typed into a ticket, within 1..90.
long ClampGoodTillDays(long nDays)
{
    return nDays < 1 ? 1 : nDays > GOOD_TILL_MAX_DAYS ? GOOD_TILL_MAX_DAYS : nDays;
}
}  // namespace

COleDateTime GetOrderToday()
{
    const COleDateTime now(GetGlobals()->GetNow());
    return COleDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0);
}

COleDateTime GoodTillFromDays(const COleDateTime& today, long nDays)
{
    return today + COleDateTimeSpan(nDays, 0, 0, 0);
}

COleDateTime ClampGoodTillDate(const COleDateTime& today, const COleDateTime& picked, BOOL bWeekdays)
{
    const COleDateTime tomorrow = GoodTillFromDays(today, 1);
    const COleDateTime last = GoodTillFromDays(today, GOOD_TILL_MAX_DAYS);
    COleDateTime date = picked.GetStatus() == COleDateTime::valid
                            ? COleDateTime(picked.GetYear(), picked.GetMonth(), picked.GetDay(), 0, 0, 0)
                            : tomorrow;
    if (date > last)
        date = last;
    while (bWeekdays && IsWeekend(date))
        date -= ONE_DAY;
    if (date < tomorrow) {
        date = tomorrow;
        while (bWeekdays && IsWeekend(date))
            date += ONE_DAY;
    }
    return date;
}

COleDateTime GoodTillFromTypedDays(const COleDateTime& today, long nDays, BOOL bWeekdays, long* pnDays)
{
    long nShown = ClampGoodTillDays(nDays);
    COleDateTime date = GoodTillFromDays(today, nShown);
    while (bWeekdays && IsWeekend(date)) {
        date -= ONE_DAY;
        --nShown;
    }
    while (bWeekdays && (nShown < 1 || IsWeekend(date))) {
        date += ONE_DAY;
        ++nShown;
    }
    *pnDays = nShown;
    return date;
}

long GoodTillDays(const COleDateTime& today, const COleDateTime& date)
{
    return std::lround((date - today).GetTotalDays());
}
