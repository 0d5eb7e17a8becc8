// DDX_EnhancedEdit in a class library dialog of data/tbdlg_1252.rc: the field's binding on
// loading and the length checks of a text field at their exact bounds.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DialogTestSupport.h"
#include "WindowTestSupport.h"
#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dialog.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/TestAnswers.h"

namespace {
class CExchangeDlg : public CDialog
{
public:
    CExchangeDlg() : CDialog(IDD_ORDER, nullptr) {}
    CEnhancedEdit m_field;
    CString m_strQuantity;
    int m_nType = COLTYPE_STRING;
    LONGLONG m_nMax = 5, m_nMin = 2;
    COLORREF m_crText = EE_KEEP_COLOR, m_crBack = EE_KEEP_COLOR;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_EnhancedEdit(pDX, IDC_QUANTITY, m_field, m_nType, 0, m_nMax, m_nMin, m_crText, m_crBack, m_strQuantity);
    }
};

class EnhancedEditExchange : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TbClearTestAnswers();
        ASSERT_TRUE(m_dlg.Create(IDD_ORDER, nullptr));
    }
    void TearDown() override
    {
        m_dlg.DestroyWindow();
        Drain();
        EXPECT_EQ(0, TbPendingTestAnswers()) << "a message box that should have come did not";
        TbClearTestAnswers();
    }
    // Saves the text typed into the field; FALSE when the exchange failed (its message answered).
    BOOL Save(const char* pszText, bool bExpectMessage)
    {
        SetDlgItemTextA(m_dlg.m_hWnd, IDC_QUANTITY, pszText);
        if (bExpectMessage) {
            TBTESTANSWER answer;
            answer.nKind = TB_ASK_MESSAGEBOX;
            answer.nValue = IDOK;
            TbQueueTestAnswer(answer);
        }
        return m_dlg.UpdateData(TRUE);
    }

    CDialogResources m_res;
    CExchangeDlg m_dlg;
};

TEST_F(EnhancedEditExchange, TextLengthsAtTheirBounds)
{
    struct {
        const char* pszText;
        BOOL bOk;
    } const cases[] = {{"a", FALSE}, {"ab", TRUE}, {"abcde", TRUE}, {"abcdef", FALSE}, {"", FALSE}};
    for (const auto& c : cases) {
        m_dlg.m_strQuantity = "kept";
        EXPECT_EQ(c.bOk, Save(c.pszText, !c.bOk)) << c.pszText;
        // The variable takes the text even when it then fails the check, as the library's
        // checks after DDX_Text do.
        EXPECT_STREQ(c.pszText, m_dlg.m_strQuantity) << c.pszText;
    }
}

TEST_F(EnhancedEditExchange, NoMaximumAndNumbersAreNotMeasured)
{
    m_dlg.m_nMax = 0;
    m_dlg.m_nMin = 0;
    EXPECT_TRUE(Save("a rather long text for a field", false));
    m_dlg.m_nMax = 2;
    m_dlg.m_nMin = 2;
    m_dlg.m_nType = COLTYPE_INT32;
    EXPECT_TRUE(Save("12345", false));
    EXPECT_STREQ("12345", m_dlg.m_strQuantity);
}

TEST_F(EnhancedEditExchange, LoadingBindsTheField)
{
    m_dlg.m_crText = RGB(0, 0, 255);
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    HWND hItem = GetDlgItem(m_dlg.m_hWnd, IDC_QUANTITY);
    EXPECT_EQ(hItem, m_dlg.m_field.m_hWnd);
    EXPECT_EQ(COLTYPE_STRING, m_dlg.m_field.GetDataType());
    EXPECT_EQ(RGB(0, 0, 255), m_dlg.m_field.GetTextColor());
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), m_dlg.m_field.GetBackColor());
    EXPECT_FALSE(m_dlg.m_field.IsReadOnly());
    // A second exchange keeps the one subclassing.
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(hItem, m_dlg.m_field.m_hWnd);

    // A read-only item is bound read-only and never read back.
    SendMessageA(hItem, EM_SETREADONLY, TRUE, 0);
    m_dlg.m_strQuantity = "kept";
    EXPECT_TRUE(Save("x", false));
    EXPECT_TRUE(m_dlg.m_field.IsReadOnly());
    EXPECT_STREQ("kept", m_dlg.m_strQuantity);
}
}  // namespace
