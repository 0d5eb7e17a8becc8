// The good-till rules of the tickets that keep the date off Saturdays and Sundays, against the
// answers Python's datetime gave (gen_good_till.py): typed days and picked dates from a
// weekday, a Friday, a Saturday and a Sunday. The rules without steps are checked through the
// order ticket's controls (OrderTicketEndToEndTest).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "orders/GoodTill.h"
#include "tests/common/ExpectedData.h"

namespace {
COleDateTime DayOf(const std::string& strDate)    // "dd/mm/yyyy"
{
    return COleDateTime(atoi(strDate.substr(6, 4).c_str()), atoi(strDate.substr(3, 2).c_str()),
                        atoi(strDate.substr(0, 2).c_str()), 0, 0, 0);
}

std::string Text(const COleDateTime& date)
{
    return static_cast<const char*>(date.Format("%d/%m/%Y"));
}
}  // namespace

TEST(GoodTill, WeekdayRulesFollowDatetime)
{
    int nRows = 0;
    for (const auto& row : ReadExpectedRows("tests/orders/expected_good_till.txt", 'w')) {
        ASSERT_EQ(5u, row.size());
        long nDays = -1;
        const COleDateTime date = GoodTillFromTypedDays(DayOf(row[1]), atol(row[2].c_str()), TRUE, &nDays);
        EXPECT_EQ(row[3], std::to_string(nDays)) << row[1] << " typed " << row[2];
        EXPECT_EQ(row[4], Text(date)) << row[1] << " typed " << row[2];
        ++nRows;
    }
    for (const auto& row : ReadExpectedRows("tests/orders/expected_good_till.txt", 'f')) {
        ASSERT_EQ(5u, row.size());
        const COleDateTime today = DayOf(row[1]);
        // The picker gives a time of day too.
        const COleDateTime date = ClampGoodTillDate(today, DayOf(row[2]) + COleDateTimeSpan(0, 15, 30, 0), TRUE);
        EXPECT_EQ(row[3], std::to_string(GoodTillDays(today, date))) << row[1] << " picked " << row[2];
        EXPECT_EQ(row[4], Text(date)) << row[1] << " picked " << row[2];
        ++nRows;
    }
    EXPECT_EQ(84, nRows);
}
