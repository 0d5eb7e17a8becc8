// The read-only rich-text view: HTML in, its text shown; nothing in it is run or fetched; long
// text wraps and scrolls.
#include <gtest/gtest.h>
#include <string>
#include "ControlTestSupport.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/Window.h"

namespace {
std::string Shown(HWND hWnd)
{
    std::string str(static_cast<size_t>(GetWindowTextLengthA(hWnd)) + 1, '\0');
    str.resize(static_cast<size_t>(GetWindowTextA(hWnd, str.data(), static_cast<int>(str.size()))));
    return str;
}

struct RichView : ::testing::Test
{
    HWND hParent = CreateControlParent();
    HWND hView = CreateControl(hParent, WC_RICHVIEWA, WS_VSCROLL, 0, 0, 160, 60, 7);
    void TearDown() override { DestroyWindow(hParent); }
    std::string Show(const char* pszHtml)
    {
        SetWindowTextA(hView, pszHtml);
        return Shown(hView);
    }
};
}  // namespace

TEST_F(RichView, ShowsTheTextOfTheMarkupWithItsParagraphs)
{
    ASSERT_NE(nullptr, hView);
    EXPECT_EQ("Title\r\nFirst line\r\nsecond line\r\nBold and italic",
              Show("<html><body><h1>Title</h1><p>First   line<br>second\n line</p><p><b>Bold</b> and <i>italic</i></p></body></html>"));
    EXPECT_EQ("\x95 one\r\n\x95 two", Show("<ul><li>one</li><li>two</li></ul>"));
    EXPECT_EQ("a < b & c > \"d\" 'e' f&g &unknown; A\xA0", Show("a &lt; b &amp; c &gt; &quot;d&quot; &#39;e&#x27; f&g &unknown; &#65;\xA0"));
    // Codes no single byte of both code pages holds show as '?'; a bad number stays text.
    EXPECT_EQ("? &#x; &#12", Show("&#1575; &#x; &#12"));
    // A '<' that starts no tag is text; a tag never closed ends the text.
    EXPECT_EQ("1 < 2", Show("1 < 2<p"));
    EXPECT_EQ("", Show("<br>"));
    EXPECT_EQ("", Show(nullptr));
}

TEST_F(RichView, RunsAndFetchesNothingAndFollowsNoLink)
{
    // Script, style, head, frames and objects leave no text; an image is not shown; a '>' in a
    // quoted attribute does not end its tag.
    EXPECT_EQ("Before after. Link text",
              Show("<head><title>T</title><script src=\"http://example.com/a.js\"></script></head>"
                   "Before <script>document.write('x > y');</script><style>p { color: red }</style>"
                   "<img src=\"http://example.com/track.gif\" alt=\"img\" onload=\"alert(1)\">after."
                   "<iframe src=\"http://example.com/\">frame</iframe><object data=\"x\">obj</object>"
                   "<!-- <p>hidden</p> --> <a href=\"javascript:alert('>')\">Link text</a>"));
    // An unclosed script hides the rest, as a reader would.
    EXPECT_EQ("shown", Show("shown<SCRIPT>alert(1)"));
    // A click on a link goes nowhere: no message reaches the parent.
    Show("<a href=\"http://example.com/\">Link</a>");
    ParentLog().Clear();
    Click(hView, 5, 5);
    DrainQueue();
    EXPECT_EQ("", ParentLog().Joined());
}

TEST_F(RichView, LongTextWrapsIntoAScrollRangeAndClearingEmptiesIt)
{
    std::string strHtml;
    for (int i = 0; i < 60; ++i)
        strHtml += "word" + std::to_string(i) + " ";
    Show(strHtml.c_str());
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(hView, SB_VERT, &si));
    RECT rc;
    GetClientRect(hView, &rc);
    EXPECT_GT(si.nMax + 1, rc.bottom) << "sixty words wrap below a 60-pixel view";
    EXPECT_EQ(0, si.nPos);
    SendMessageA(hView, WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_TRUE(GetScrollInfo(hView, SB_VERT, &si));
    EXPECT_EQ(si.nMax + 1 - static_cast<int>(si.nPage), si.nPos);
    SendMessageA(hView, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    int nUp = si.nPos;
    ASSERT_TRUE(GetScrollInfo(hView, SB_VERT, &si));
    EXPECT_LT(si.nPos, nUp);
    // New text starts at the top; none leaves nothing to scroll.
    Show("short");
    ASSERT_TRUE(GetScrollInfo(hView, SB_VERT, &si));
    EXPECT_EQ(0, si.nPos);
    EXPECT_EQ("", Show(""));
    EXPECT_EQ(0, GetWindowTextLengthA(hView));
    // The text handed back is cut to the caller's buffer.
    Show("abcdef");
    char sz[4];
    EXPECT_EQ(3, GetWindowTextA(hView, sz, sizeof sz));
    EXPECT_STREQ("abc", sz);
}
