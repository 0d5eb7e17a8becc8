// The corporate events download filter as a user meets it: 90 days back to today in its two
// pickers; the dates the user changes, and an end left without a date, are what the requester
// gets, in the server's date form.
#include <gtest/gtest.h>

#include <string>

#include "app/dialogs/DialogDriver.h"
#include "market/dialogs/CorpEventDownloadFilterDlg.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
std::string s_strRequest;

void Record(LPCSTR pszFrom, LPCSTR pszTo)
{
    s_strRequest += std::string(pszFrom) + "-" + pszTo + ";";
}

class CorpEventFilter : public ::testing::Test
{
protected:
    void SetUp() override { s_strRequest.clear(); }
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps()) << "a dialog step never ran";
        ClearDialogSteps();
    }
    CTestLanguage m_language{1252};
};
}  // namespace

TEST(CorpEventFilterDates, ServerFormOfAValidDayOnly)
{
    EXPECT_EQ("261208", std::string(CCorpEventDownloadFilterDlg::ServerDateOf(COleDateTime(2026, 12, 8, 15, 30, 0))));
    EXPECT_EQ("310101", std::string(CCorpEventDownloadFilterDlg::ServerDateOf(COleDateTime(2031, 1, 1, 0, 0, 0))));
    COleDateTime none;
    none.SetStatus(COleDateTime::null);
    EXPECT_EQ("", std::string(CCorpEventDownloadFilterDlg::ServerDateOf(none)));
    none.SetStatus(COleDateTime::invalid);
    EXPECT_EQ("", std::string(CCorpEventDownloadFilterDlg::ServerDateOf(none)));
}

TEST_F(CorpEventFilter, DefaultRangeChangedDatesAndAnOpenStart)
{
    const COleDateTime today = COleDateTime::GetCurrentTime();
    const COleDateTime back = today - COleDateTimeSpan(90, 0, 0, 0);
    CCorpEventDownloadFilterDlg dlg(nullptr, Record);
    RunDialogSteps({
        {IDC_CORP_EVENT_FROM, [&](HWND h) {
            EXPECT_EQ(std::string(back.Format("%d/%m/%Y")), ControlText(h, IDC_CORP_EVENT_FROM));
            EXPECT_EQ(std::string(today.Format("%d/%m/%Y")), ControlText(h, IDC_CORP_EVENT_TO));
            // The end: the first of its month, typed into the day field.
            SetFocus(GetDlgItem(h, IDC_CORP_EVENT_TO));
            PressKey(VK_HOME);
            TypeText("01");
        }},
        {IDC_CORP_EVENT_FROM, [&](HWND h) {
            EXPECT_EQ(std::string(today.Format("01/%m/%Y")), ControlText(h, IDC_CORP_EVENT_TO));
            // No start: its box unchecked with Space.
            SetFocus(GetDlgItem(h, IDC_CORP_EVENT_FROM));
            PressKey(VK_SPACE);
        }},
        {IDC_CORP_EVENT_FROM, [](HWND h) {
            EXPECT_EQ("", ControlText(h, IDC_CORP_EVENT_FROM));
            PressKey(VK_RETURN);
        }},
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    const COleDateTime first(today.GetYear(), today.GetMonth(), 1, 0, 0, 0);
    EXPECT_EQ("-" + std::string(CCorpEventDownloadFilterDlg::ServerDateOf(first)) + ";", s_strRequest);
    EXPECT_EQ(COleDateTime::null, dlg.m_dateFrom.GetStatus());
}

TEST_F(CorpEventFilter, CancelRequestsNothing)
{
    CCorpEventDownloadFilterDlg dlg(nullptr, Record);
    RunDialogSteps({{IDC_CORP_EVENT_FROM, [](HWND) { PressKey(VK_ESCAPE); }}});
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ("", s_strRequest);
}
