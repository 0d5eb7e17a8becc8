// The date picker through the class library: a template's pickers exchanged with COleDateTime
// values both ways (an invalid or null value shows no date, no date reads back as null), the
// wrapper's calls, and a user's change reaching the dialog's ON_NOTIFY handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/Controls.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dialog.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
const int IDC_FROM = 141, IDC_TO = 142;

class CDatesDlg : public CDialog
{
public:
    CDatesDlg() : CDialog(140u, nullptr) {}
    COleDateTime m_from, m_to;
    CDateTimeCtrl m_pickFrom;
    std::vector<std::string> m_changes;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_FROM, m_pickFrom);
        DDX_DateTimeCtrl(pDX, IDC_FROM, m_from);
        DDX_DateTimeCtrl(pDX, IDC_TO, m_to);
    }
    afx_msg void OnFromChange(NMHDR* pHeader, LRESULT* pResult)
    {
        const auto* pChange = reinterpret_cast<const NMDATETIMECHANGE*>(pHeader);
        m_changes.push_back(pChange->dwFlags == GDT_NONE ? "none" : std::to_string(pChange->st.wYear));
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDatesDlg, CDialog)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_FROM, OnFromChange)
END_MESSAGE_MAP()

class DateTimeCtrls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
        m_hModule = LoadLibraryA("testdlg_1252.dll");
        ASSERT_NE(nullptr, m_hModule);
        m_hOldModule = TbGetResourceModule();
        TbSetResourceModule(m_hModule);
    }
    void TearDown() override
    {
        if (m_dlg.m_hWnd != nullptr)
            m_dlg.DestroyWindow();
        TbSetResourceModule(m_hOldModule);
        FreeLibrary(m_hModule);
    }
    std::string Text(int nId)
    {
        char sz[64] = "";
        ::GetDlgItemTextA(m_dlg.m_hWnd, nId, sz, sizeof sz);
        return sz;
    }
    HMODULE m_hModule = nullptr;
    HMODULE m_hOldModule = nullptr;
    CDatesDlg m_dlg;
};
}  // namespace

TEST_F(DateTimeCtrls, ExchangeShowsAndReadsDatesAndNoDate)
{
    ASSERT_TRUE(m_dlg.Create(140u, nullptr));
    m_dlg.m_pickFrom.SetFormat("dd'/'MM'/'yyyy");
    ::SendDlgItemMessageA(m_dlg.m_hWnd, IDC_TO, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("yyyy/MM/dd"));
    m_dlg.m_from = COleDateTime(2026, 9, 8, 0, 0, 0);
    m_dlg.m_to = COleDateTime(2026, 12, 7, 13, 45, 10);
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ("08/09/2026", Text(IDC_FROM));
    EXPECT_EQ("2026/12/07", Text(IDC_TO));
    m_dlg.m_from = COleDateTime();
    m_dlg.m_to = COleDateTime();
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(COleDateTime(2026, 9, 8, 0, 0, 0), m_dlg.m_from);
    EXPECT_EQ(COleDateTime(2026, 12, 7, 13, 45, 10), m_dlg.m_to) << "the time of day travels too";

    // An invalid value shows no date where the picker may hold none, and reads back as null.
    m_dlg.m_from.SetStatus(COleDateTime::invalid);
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ("", Text(IDC_FROM));
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(COleDateTime::null, m_dlg.m_from.GetStatus());
    EXPECT_EQ(COleDateTime::valid, m_dlg.m_to.GetStatus());

    // The picker without the check box refuses no date and keeps its own.
    COleDateTime none;
    none.SetStatus(COleDateTime::null);
    CDateTimeCtrl to;
    to.Attach(::GetDlgItem(m_dlg.m_hWnd, IDC_TO));
    EXPECT_FALSE(to.SetTime(none));
    COleDateTime read;
    EXPECT_TRUE(to.GetTime(read));
    EXPECT_EQ(COleDateTime(2026, 12, 7, 13, 45, 10), read);
    SYSTEMTIME st = {};
    EXPECT_EQ(static_cast<DWORD>(GDT_VALID), to.GetTime(&st));
    EXPECT_EQ(1, st.wDayOfWeek) << "7 December 2026 is a Monday";
    to.Detach();
    EXPECT_TRUE(m_dlg.m_changes.empty()) << "the program's changes are not told";
}

TEST_F(DateTimeCtrls, UserChangesReachTheNotifyHandler)
{
    ASSERT_TRUE(m_dlg.Create(140u, nullptr));
    m_dlg.m_pickFrom.SetFormat("yyyy/MM/dd");
    m_dlg.m_from = COleDateTime(2026, 1, 15, 0, 0, 0);
    m_dlg.m_to = COleDateTime(2026, 1, 15, 0, 0, 0);
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    const HWND hFrom = m_dlg.m_pickFrom.m_hWnd;
    ::SendMessageA(hFrom, WM_KEYDOWN, VK_HOME, 0);
    ::SendMessageA(hFrom, WM_KEYDOWN, VK_UP, 0);
    ::SendMessageA(hFrom, WM_KEYDOWN, VK_SPACE, 0);
    // The other picker's change is not this handler's.
    ::SendDlgItemMessageA(m_dlg.m_hWnd, IDC_TO, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ((std::vector<std::string>{"2027", "none"}), m_dlg.m_changes);
}
