#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/EnhancedEdit.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Controls.h"

namespace {
const int EDIT_ID = 101;

// A parent with one "Edit" item taken over by the field; the separators are put back after.
class EnhancedEditTest : public ::testing::Test
{
protected:
    void SetUp() override { Make(0); }
    void TearDown() override
    {
        GetNorvGlobals().m_chDecimal = '.';
        GetNorvGlobals().m_chThousands = ',';
    }
    // A fresh field over a fresh item; the earlier item goes, so that the id finds the new one.
    void Make(DWORD dwExStyle)
    {
        if (m_pEdit && m_pEdit->m_hWnd)
            DestroyWindow(m_pEdit->m_hWnd);
        m_pEdit = std::make_unique<CEnhancedEdit>();
        HWND hItem = CreateWindowExA(dwExStyle, WC_EDITA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10,
                                     200, 24, m_parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(EDIT_ID)),
                                     nullptr, nullptr);
        ASSERT_NE(nullptr, hItem);
        SendMessageA(hItem, WM_SETFONT, reinterpret_cast<WPARAM>(m_parent.m_hFont), FALSE);
        ASSERT_TRUE(m_pEdit->SubclassDlgItem(EDIT_ID, m_parent.m_hWnd));
    }
    void Number(int nType, int nDecimals, BOOL bGrouping, BOOL bBlankZero = FALSE)
    {
        m_pEdit->SetFormat(CColumnDataType(nType, bGrouping, 0, 0, bBlankZero), nDecimals);
    }
    void Type(const std::string& strKeys)
    {
        for (char ch : strKeys)
            SendMessageA(m_pEdit->m_hWnd, WM_CHAR, static_cast<unsigned char>(ch), 0);
    }
    std::string Text() const { return std::string(m_pEdit->GetWindowText()); }
    int Caret() const
    {
        DWORD dwStart = 0, dwEnd = 0;
        SendMessageA(m_pEdit->m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
        return static_cast<int>(dwEnd);
    }
    void Paste(const char* pszText)
    {
        ASSERT_TRUE(OpenClipboard(m_parent.m_hWnd));
        EmptyClipboard();
        size_t cb = strlen(pszText) + 1;
        HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, cb);
        memcpy(GlobalLock(hMem), pszText, cb);
        GlobalUnlock(hMem);
        SetClipboardData(CF_TEXT, hMem);
        CloseClipboard();
        SendMessageA(m_pEdit->m_hWnd, WM_PASTE, 0, 0);
    }

    CTestParent m_parent;
    std::unique_ptr<CEnhancedEdit> m_pEdit;
};

struct NumberCase {
    int nType, nDecimals, bGrouping;
    char chThousands, chDecimal;
    std::string strTyped, strShown;
    int nLine;
};

std::vector<NumberCase> ReadNumberCases()
{
    std::vector<NumberCase> cases;
    std::ifstream in(TB_SOURCE_DIR "/tests/framework/window/expected_edit_numbers.txt");
    std::string strLine;
    for (int nLine = 1; std::getline(in, strLine); ++nLine) {
        if (strLine.empty() || strLine[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream ss(strLine);
        for (std::string f; std::getline(ss, f, '|');)
            fields.push_back(f);
        if (strLine.back() == '|')
            fields.emplace_back();
        if (fields.size() != 6 || fields[3].size() != 2)
            continue;
        cases.push_back({std::stoi(fields[0]), std::stoi(fields[1]), std::stoi(fields[2]), fields[3][0], fields[3][1],
                         fields[4], fields[5], nLine});
    }
    return cases;
}
}  // namespace

TEST_F(EnhancedEditTest, NumbersAreCutPaddedAndGroupedAsDecimalArithmeticSays)
{
    std::vector<NumberCase> cases = ReadNumberCases();
    ASSERT_EQ(400u, cases.size());
    for (const NumberCase& c : cases) {
        GetNorvGlobals().m_chThousands = c.chThousands;
        GetNorvGlobals().m_chDecimal = c.chDecimal;
        Number(c.nType, c.nDecimals, c.bGrouping);
        m_pEdit->SetText(c.strTyped.c_str());
        EXPECT_EQ(c.strShown, Text()) << "set, line " << c.nLine << ": " << c.strTyped;

        // Typed key by key and formatted on leaving, where typing can say the same: without
        // a decimal key, a typed fraction would join the whole part.
        if (c.nDecimals < 0 || c.strTyped.find(c.chDecimal) == std::string::npos) {
            m_pEdit->Clear();
            Type(c.strTyped);
            m_pEdit->Reformat();
            EXPECT_EQ(c.strShown, Text()) << "typed, line " << c.nLine << ": " << c.strTyped;
        }
    }
}

TEST_F(EnhancedEditTest, TypingGroupsAsItGoesAndKeepsTheFractionDigits)
{
    Number(COLTYPE_DOUBLE, -2, TRUE);
    Type("12345");
    EXPECT_EQ("12,345", Text());
    EXPECT_EQ(6, Caret());
    Type(".6");
    EXPECT_EQ("12,345.6", Text());
    SendMessageA(m_pEdit->m_hWnd, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ("12,345.60", Text()) << "formatted on leaving";
    SendMessageA(m_pEdit->m_hWnd, EM_SETSEL, 9, 9);
    Type("7");
    EXPECT_EQ("12,345.60", Text()) << "a third fraction digit is refused";

    // The decimal key jumps past the separator there is; Backspace takes a digit, not a comma.
    SendMessageA(m_pEdit->m_hWnd, EM_SETSEL, 2, 2);
    Type(".");
    EXPECT_EQ(7, Caret());
    SendMessageA(m_pEdit->m_hWnd, EM_SETSEL, 3, 3);
    Type("\b");
    EXPECT_EQ("1,345.60", Text());
    Type("x");
    EXPECT_EQ("1,345.60", Text()) << "letters are refused";

    m_pEdit->SetText("12,345");
    for (int nCaret : {0, 3, 6}) {
        SendMessageA(m_pEdit->m_hWnd, EM_SETSEL, nCaret, nCaret);
        Type("-");
        EXPECT_EQ("-12,345.00", Text()) << "caret at " << nCaret;
        Type("-");
        EXPECT_EQ("12,345.00", Text());
    }
    m_pEdit->SetNoMinus(TRUE);
    Type("-");
    EXPECT_EQ("12,345.00", Text());

    // A full field takes nothing more but a replacement of its selection.
    Number(COLTYPE_INT64, 0, FALSE);
    m_pEdit->SetLengthLimits(4, 0);
    m_pEdit->Clear();
    Type("12345");
    EXPECT_EQ("1234", Text());
    SendMessageA(m_pEdit->m_hWnd, EM_SETSEL, 0, 4);
    Type("9");
    EXPECT_EQ("9", Text());

    // A number's length is its digits: the separators it shows are not counted, whether the
    // digits are typed or pasted, and a selection gives back only the digits it holds.
    Number(COLTYPE_INT64, 0, TRUE);
    m_pEdit->SetLengthLimits(10, 0);
    SendMessageA(m_pEdit->m_hWnd, EM_LIMITTEXT, 10, 0);
    m_pEdit->Clear();
    Type("12345678901");
    EXPECT_EQ("1,234,567,890", Text());
    SendMessageA(m_pEdit->m_hWnd, EM_SETSEL, 1, 2);
    Type("5");
    EXPECT_EQ("1,234,567,890", Text()) << "a separator selected frees no digit";
    m_pEdit->Clear();
    Type("1234567");
    Paste("890");
    EXPECT_EQ("1,234,567,890", Text());
    Paste("1");
    EXPECT_EQ("1,234,567,890", Text());
}

TEST_F(EnhancedEditTest, ValuesShowWithImpliedDecimalsAndReadBack)
{
    Number(COLTYPE_INT32, -2, TRUE);
    int32_t nValue = 12345;
    m_pEdit->SetValue(&nValue);
    EXPECT_EQ("123.45", Text());
    EXPECT_EQ("12345", std::string(m_pEdit->GetPlainText()));
    int32_t nBack = 0;
    EXPECT_TRUE(m_pEdit->GetValue(&nBack, 0));
    EXPECT_EQ(12345, nBack);
    nValue = -5;
    m_pEdit->SetValue(&nValue);
    EXPECT_EQ("-0.05", Text());

    Number(COLTYPE_INT64, -3, TRUE);
    m_pEdit->SetInt64(1234567890123LL);
    EXPECT_EQ("1,234,567,890.123", Text());
    LONGLONG nBig = 0;
    m_pEdit->GetValue(&nBig, 0);
    EXPECT_EQ(1234567890123LL, nBig);
    EXPECT_EQ("1234567890.123", std::string(m_pEdit->GetText(FALSE)));
    char sz[8];
    EXPECT_EQ(7, m_pEdit->CopyText(sz, sizeof(sz)));
    EXPECT_STREQ("1234567", sz);

    GetNorvGlobals().m_chDecimal = ',';
    GetNorvGlobals().m_chThousands = '.';
    Number(COLTYPE_DOUBLE, -2, TRUE);
    m_pEdit->SetDouble(1234.5);
    EXPECT_EQ("1.234,50", Text()) << "the C text's point becomes the framework's separator";
    EXPECT_DOUBLE_EQ(1234.5, m_pEdit->GetDouble());

    GetNorvGlobals().m_chDecimal = '.';
    GetNorvGlobals().m_chThousands = ',';
    Number(COLTYPE_DOUBLE, -2, TRUE, /*bBlankZero=*/TRUE);
    m_pEdit->SetText("0.00");
    EXPECT_EQ("", Text()) << "blank when zero";
    EXPECT_TRUE(m_pEdit->IsEmpty());
    m_pEdit->SetText("12|3x");
    EXPECT_EQ("123.00", Text()) << "only digits, sign and separator are kept";
}

TEST_F(EnhancedEditTest, TextKindsFilterWhatIsTyped)
{
    m_pEdit->SetDataType(COLTYPE_STRING, 0);
    Type("a|b");
    EXPECT_EQ("ab", Text()) << "'|' would split a request line";

    m_pEdit->Clear();
    m_pEdit->SetAlphaChars();
    Type("a1b-");
    EXPECT_EQ("ab", Text());
    m_pEdit->SetForbiddenChars("1");
    Type("2-1");
    EXPECT_EQ("ab2-", Text()) << "with both: allowed or not forbidden";

    m_pEdit->SetValidChars("");
    m_pEdit->SetForbiddenChars("xy");
    m_pEdit->Clear();
    Type("axby|");
    EXPECT_EQ("ab|", Text());

    m_pEdit->SetForbiddenChars("");
    m_pEdit->SetLengthLimits(3, 0);
    m_pEdit->Clear();
    Type("abcd\b");
    EXPECT_EQ("ab", Text()) << "three at most; Backspace still works";

    m_pEdit->SetDataType(COLTYPE_CHAR4, 0);
    m_pEdit->SetText("ABCDEF");
    EXPECT_EQ("ABCD", Text());

    m_pEdit->SetDataType(COLTYPE_STRING, 0);
    m_pEdit->SetLengthLimits(0, 0);
    m_pEdit->AddShortcut('l', 1, "Limit", 7);
    m_pEdit->AddShortcut('M', 2, "Market", -1);
    m_pEdit->Clear();
    Type("l");
    EXPECT_EQ("Limit", Text());
    EXPECT_EQ(7, m_pEdit->GetLastShortcutNumber());
    Type("mz");
    EXPECT_EQ("Market", Text());
    EXPECT_EQ(7, m_pEdit->GetLastShortcutNumber()) << "a number below 0 is not remembered";
    EXPECT_EQ("Limit", std::string(m_pEdit->GetShortcutText('L')));
    EXPECT_EQ(-1, m_pEdit->GetShortcutNumber('q'));
}

// The fields of the paste table.
enum PasteField { PRICE, QUANTITY, FRACTION, DATE, TIME, FREE, ALPHA, NO_HASH, CODE4, ORDER_KIND };

TEST_F(EnhancedEditTest, PasteIsTakenOnlyWhenTheWholeTextCouldBeTyped)
{
    static const struct {
        PasteField field;
        const char* pszHeld;    // set as a program sets it; "" is an empty field
        int nSelStart, nSelEnd;
        const char* pszClip;
        const char* pszAfter;   // null: refused, the field keeps what it held
    } cases[] = {
        {PRICE, "", 0, 0, "1234", "1,234.00"},
        {PRICE, "", 0, 0, "1,234.5", "1,234.50"},
        {PRICE, "", 0, 0, "-12.5", "-12.50"},
        {PRICE, "12.00", 0, 5, "12a", nullptr},
        {PRICE, "", 0, 0, "1-2", nullptr},
        {PRICE, "", 0, 0, "1.2.3", nullptr},
        {PRICE, "", 0, 0, "1.234", nullptr},
        {PRICE, "12.00", 0, 0, "-", "-12.00"},
        {PRICE, "12.00", 2, 2, "-", nullptr},
        {PRICE, "12.00", 5, 5, "5", nullptr},
        {PRICE, "12.00", 3, 5, "5", "12.50"},
        {PRICE, "12.00", 2, 3, ".", "12.00"},
        {PRICE, "12.00", 0, 5, "7.5", "7.50"},
        {QUANTITY, "", 0, 0, "123456", "123456"},
        {QUANTITY, "12", 0, 2, "1234567", nullptr},
        {QUANTITY, "12", 0, 2, "1.5", nullptr},
        {QUANTITY, "12", 0, 2, "-5", nullptr},
        {QUANTITY, "12", 1, 1, "3", "132"},
        {FRACTION, "", 0, 0, "1 3/64", "1 3/64"},
        {FRACTION, "1", 1, 1, " 3/64", "1 3/64"},
        {FRACTION, "1", 1, 1, " 3/32", nullptr},
        {FRACTION, "1", 1, 1, " 3/", nullptr},
        {FRACTION, "1", 1, 1, " /64", nullptr},
        {FRACTION, "1", 1, 1, " 3 5", nullptr},
        {FRACTION, "1", 1, 1, ".5", nullptr},
        {DATE, "", 0, 0, "12/03/2024", nullptr},
        {TIME, "", 0, 0, "10:30", nullptr},
        {FREE, "ab", 2, 2, "cd", "abcd"},
        {FREE, "ab", 2, 2, "c|d", nullptr},
        {FREE, "ab", 2, 2, "c\td", nullptr},
        {FREE, "ab", 2, 2, "cdef", nullptr},
        {FREE, "abcd", 0, 2, "xyz", "xyzcd"},
        {ALPHA, "", 0, 0, "abc", "abc"},
        {ALPHA, "", 0, 0, "ab1", nullptr},
        {NO_HASH, "", 0, 0, "a-1", "a-1"},
        {NO_HASH, "", 0, 0, "a#", nullptr},
        {CODE4, "AB", 2, 2, "CD", "ABCD"},
        {CODE4, "AB", 2, 2, "CDE", nullptr},
        {ORDER_KIND, "", 0, 0, "Market", "Market"},
        {ORDER_KIND, "", 0, 0, "Stop", nullptr},
    };
    for (const auto& c : cases) {
        Make(0);
        switch (c.field) {
        case PRICE: Number(COLTYPE_DOUBLE, -2, TRUE); m_pEdit->SetNumericChars(); break;
        case QUANTITY:
            Number(COLTYPE_INT64, 0, FALSE);
            m_pEdit->SetNoMinus(TRUE);
            m_pEdit->SetLengthLimits(6, 0);
            break;
        case FRACTION: Number(COLTYPE_INT32, DECIMALS_64THS, FALSE); m_pEdit->SetFractionDenominator(64); break;
        case DATE: m_pEdit->SetDataType(COLTYPE_DATE_TEXT, 0); break;
        case TIME: m_pEdit->SetDataType(COLTYPE_PACKED_TIME, 0); break;
        case FREE: m_pEdit->SetDataType(COLTYPE_STRING, 0); m_pEdit->SetLengthLimits(5, 0); break;
        case ALPHA: m_pEdit->SetDataType(COLTYPE_STRING, 0); m_pEdit->SetAlphaChars(); break;
        case NO_HASH: m_pEdit->SetDataType(COLTYPE_STRING, 0); m_pEdit->SetForbiddenChars("#"); break;
        case CODE4: m_pEdit->SetDataType(COLTYPE_CHAR4, 0); break;
        case ORDER_KIND:
            m_pEdit->SetDataType(COLTYPE_STRING, 0);
            m_pEdit->AddShortcut('L', 1, "Limit", 1);
            m_pEdit->AddShortcut('M', 2, "Market", 2);
            break;
        }
        if (*c.pszHeld)
            m_pEdit->SetText(c.pszHeld);
        else
            m_pEdit->Clear();
        const std::string strHeld = Text();
        SendMessageA(m_pEdit->m_hWnd, EM_SETSEL, c.nSelStart, c.nSelEnd);
        Paste(c.pszClip);
        EXPECT_EQ(c.pszAfter ? c.pszAfter : strHeld, Text())
            << "field " << c.field << " holding \"" << c.pszHeld << "\" [" << c.nSelStart << "," << c.nSelEnd
            << "), paste \"" << c.pszClip << "\"";
    }
}

TEST_F(EnhancedEditTest, UpAndDownGoToTheParentWithTheModifier)
{
    m_pEdit->SetNotifyUpDown(TRUE);
    SendMessageA(m_pEdit->m_hWnd, WM_KEYDOWN, VK_UP, 0);
    SendMessageA(m_pEdit->m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    Drain();
    ASSERT_EQ(2u, m_parent.m_log.size());
    EXPECT_EQ(static_cast<UINT>(EEN_UP), m_parent.m_log[0].uMsg);
    EXPECT_EQ(0u, m_parent.m_log[0].wParam);
    EXPECT_EQ(EDIT_ID, m_parent.m_log[0].lParam);
    EXPECT_EQ(static_cast<UINT>(EEN_DOWN), m_parent.m_log[1].uMsg);
}

TEST_F(EnhancedEditTest, ReadOnlyAndTimedColours)
{
    m_pEdit->SetDataType(COLTYPE_STRING, 0);
    m_pEdit->SetText("fixed");
    m_pEdit->SetColors(RGB(10, 20, 30), RGB(200, 0, 0));
    m_pEdit->SetReadOnly(TRUE);
    EXPECT_TRUE(GetWindowLongA(m_pEdit->m_hWnd, GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(GetWindowLongA(m_pEdit->m_hWnd, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(IsWindowEnabled(m_pEdit->m_hWnd));
    EXPECT_EQ(RGB(255, 255, 255), m_pEdit->GetBackColor());
    Type("x");
    Paste("y");
    EXPECT_EQ("fixed", Text());
    EXPECT_EQ(HTNOWHERE, SendMessageA(m_pEdit->m_hWnd, WM_NCHITTEST, 0, 0));
    m_pEdit->SetReadOnly(FALSE);
    EXPECT_EQ(RGB(10, 20, 30), m_pEdit->GetBackColor()) << "the remembered background comes back";
    EXPECT_TRUE(GetWindowLongA(m_pEdit->m_hWnd, GWL_STYLE) & WS_TABSTOP);

    m_pEdit->SetTimedTextColor(RGB(0, 0, 255), 1);
    m_pEdit->SetTimedTextColor(RGB(0, 255, 0), 1);
    EXPECT_EQ(RGB(0, 255, 0), m_pEdit->GetTextColor());
    EXPECT_TRUE(PumpUntil([this] { return m_pEdit->GetTextColor() == RGB(200, 0, 0); }, 5000))
        << "the colour from before the first timed one";
    m_pEdit->SetTimedTextColor(RGB(0, 0, 255), 0);
    m_pEdit->SetTimedTextColor(EE_KEEP_COLOR, 0);
    EXPECT_EQ(RGB(200, 0, 0), m_pEdit->GetTextColor());
}

TEST_F(EnhancedEditTest, RightToLeftFieldTakesAnArabicFont)
{
    Make(WS_EX_RTLREADING | WS_EX_RIGHT);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(m_pEdit->m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTA lf;
    ASSERT_EQ(static_cast<int>(sizeof(lf)), GetObjectA(hFont, sizeof(lf), &lf));
    EXPECT_EQ(ARABIC_CHARSET, lf.lfCharSet);
    m_pEdit->SetDataType(COLTYPE_STRING, 0);
    const std::string strArabic = Arabic("سوق");
    m_pEdit->SetText(strArabic.c_str());
    EXPECT_EQ(strArabic, Text());
}
