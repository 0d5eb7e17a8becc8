// The edit field's cut, copy and paste through the clipboard: the limit cuts a paste and says so,
// undo takes a paste back, a password field gives nothing away, a read-only one takes nothing.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "ControlTestSupport.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Clipboard.h"

namespace {
void PutText(const std::string& str)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, str.size() + 1);
    std::memcpy(GlobalLock(hMem), str.c_str(), str.size() + 1);
    GlobalUnlock(hMem);
    SetClipboardData(CF_TEXT, hMem);
    CloseClipboard();
}

std::string TakeText()
{
    if (!OpenClipboard(nullptr))
        return "<closed>";
    std::string str = "<none>";
    if (HANDLE hMem = GetClipboardData(CF_TEXT)) {
        str = static_cast<const char*>(GlobalLock(hMem));
        GlobalUnlock(hMem);
    }
    CloseClipboard();
    return str;
}

std::string TextOf(HWND hWnd)
{
    char sz[128];
    GetWindowTextA(hWnd, sz, sizeof sz);
    return sz;
}

class EditClipboard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hParent = CreateControlParent();
        m_hEdit = CreateControl(m_hParent, WC_EDITA, WS_BORDER, 5, 5, 120, 22, 7);
        ASSERT_NE(nullptr, m_hEdit);
    }
    void TearDown() override
    {
        DestroyWindow(m_hParent);
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }
    HWND m_hParent = nullptr;
    HWND m_hEdit = nullptr;
};
}  // namespace

TEST_F(EditClipboard, CopyAndCutTakeTheSelectionPasteReplacesIt)
{
    SetWindowTextA(m_hEdit, "Hello world");
    SendMessageA(m_hEdit, EM_SETSEL, 6, 11);
    SendMessageA(m_hEdit, WM_COPY, 0, 0);
    EXPECT_EQ("world", TakeText());
    EXPECT_EQ("Hello world", TextOf(m_hEdit));
    SendMessageA(m_hEdit, EM_SETSEL, 0, 6);
    ParentLog().Clear();
    SendMessageA(m_hEdit, WM_CUT, 0, 0);
    EXPECT_EQ("Hello ", TakeText());
    EXPECT_EQ("world", TextOf(m_hEdit));
    EXPECT_EQ("CMD 7/1024, CMD 7/768", ParentLog().Joined());     // EN_UPDATE, EN_CHANGE
    SendMessageA(m_hEdit, EM_SETSEL, 5, 5);
    SendMessageA(m_hEdit, WM_PASTE, 0, 0);
    EXPECT_EQ("worldHello ", TextOf(m_hEdit));
    EXPECT_EQ(MAKELRESULT(11, 11), SendMessageA(m_hEdit, EM_GETSEL, 0, 0));
    // Undo takes the paste back.
    ASSERT_TRUE(SendMessageA(m_hEdit, EM_CANUNDO, 0, 0));
    SendMessageA(m_hEdit, WM_UNDO, 0, 0);
    EXPECT_EQ("world", TextOf(m_hEdit));
    // Nothing selected: copy leaves the clipboard as it was.
    SendMessageA(m_hEdit, EM_SETSEL, 2, 2);
    SendMessageA(m_hEdit, WM_COPY, 0, 0);
    EXPECT_EQ("Hello ", TakeText());
}

TEST_F(EditClipboard, PasteIntoALimitedFieldIsCutAtTheLimitWithMaxText)
{
    SetWindowTextA(m_hEdit, "ab");
    SendMessageA(m_hEdit, EM_LIMITTEXT, 5, 0);
    SendMessageA(m_hEdit, EM_SETSEL, 2, 2);
    PutText("12345678");
    ParentLog().Clear();
    SendMessageA(m_hEdit, WM_PASTE, 0, 0);
    EXPECT_EQ("ab123", TextOf(m_hEdit));
    EXPECT_EQ("CMD 7/1024, CMD 7/768, CMD 7/1281", ParentLog().Joined());   // then EN_MAXTEXT
    // Full: a paste changes nothing and only says the limit was met.
    ParentLog().Clear();
    SendMessageA(m_hEdit, WM_PASTE, 0, 0);
    EXPECT_EQ("ab123", TextOf(m_hEdit));
    EXPECT_EQ("CMD 7/1281", ParentLog().Joined());
    // A selection makes room: the paste replaces it up to the limit.
    SendMessageA(m_hEdit, EM_SETSEL, 0, 2);
    SendMessageA(m_hEdit, WM_PASTE, 0, 0);
    EXPECT_EQ("12123", TextOf(m_hEdit));
}

TEST_F(EditClipboard, OneLineFieldTakesTheFirstLineOfAPasteInItsCase)
{
    SetWindowLongA(m_hEdit, GWL_STYLE, GetWindowLongA(m_hEdit, GWL_STYLE) | ES_UPPERCASE);
    PutText("first line\r\nsecond");
    SendMessageA(m_hEdit, WM_PASTE, 0, 0);
    EXPECT_EQ("FIRST LINE", TextOf(m_hEdit));
}

TEST_F(EditClipboard, PasswordFieldGivesNothingAwayAndReadOnlyTakesNothing)
{
    PutText("kept");
    SendMessageA(m_hEdit, EM_SETPASSWORDCHAR, '*', 0);
    SetWindowTextA(m_hEdit, "secret");
    SendMessageA(m_hEdit, EM_SETSEL, 0, -1);
    SendMessageA(m_hEdit, WM_COPY, 0, 0);
    SendMessageA(m_hEdit, WM_CUT, 0, 0);
    EXPECT_EQ("kept", TakeText());
    EXPECT_EQ("secret", TextOf(m_hEdit));
    SendMessageA(m_hEdit, EM_SETPASSWORDCHAR, 0, 0);
    SendMessageA(m_hEdit, EM_SETREADONLY, TRUE, 0);
    SendMessageA(m_hEdit, EM_SETSEL, 0, -1);
    SendMessageA(m_hEdit, WM_PASTE, 0, 0);
    SendMessageA(m_hEdit, WM_CUT, 0, 0);
    EXPECT_EQ("secret", TextOf(m_hEdit));
    // Copying from a read-only field is allowed.
    SendMessageA(m_hEdit, WM_COPY, 0, 0);
    EXPECT_EQ("secret", TakeText());
}
