// The terminal view's screen: the control characters, the wrap at the last column and the
// scrolling at the last row, read back as the rows' text.
#include <gtest/gtest.h>

#include <string>
#include "link/TerminalScreen.h"

namespace {
void PutText(CTerminalScreen& screen, const std::string& text)
{
    for (char ch : text)
        screen.Put(static_cast<BYTE>(ch));
}

// A row without its trailing spaces.
std::string Row(const CTerminalScreen& screen, int nRow)
{
    std::string row(screen.GetRow(nRow), TERM_COLUMNS);
    return row.substr(0, row.find_last_not_of(' ') + 1);
}

std::string Cursor(const CTerminalScreen& screen)
{
    return std::to_string(screen.GetCursorColumn()) + "," + std::to_string(screen.GetCursorRow());
}
}  // namespace

TEST(TerminalScreen, ControlCharactersMoveTheCursor)
{
    CTerminalScreen screen;
    EXPECT_EQ("", Row(screen, 0));
    EXPECT_EQ(nullptr, screen.GetRow(TERM_ROWS));
    EXPECT_EQ(nullptr, screen.GetRow(-1));
    EXPECT_EQ(TERM_BEEP, screen.Put(7));
    EXPECT_EQ("0,0", Cursor(screen));
    // Backspace stops at the first column; the next byte overwrites.
    EXPECT_EQ(TERM_MOVED, screen.Put(8));
    PutText(screen, "AB\bC");
    EXPECT_EQ("AC", Row(screen, 0));
    int nCol = -1, nRow = -1;
    EXPECT_EQ(TERM_CELL, screen.Put('D', &nCol, &nRow));
    EXPECT_EQ("2,0", std::to_string(nCol) + "," + std::to_string(nRow));
    // CR returns to the first column of the same row; LF goes down in the same column.
    PutText(screen, "\rx");
    EXPECT_EQ("xCD", Row(screen, 0));
    PutText(screen, "\ny");
    EXPECT_EQ("2,1", Cursor(screen));
    EXPECT_EQ(" y", Row(screen, 1));
    // With the new-line option CR also goes down a row.
    screen.m_bNewLineOnCr = TRUE;
    PutText(screen, "\rz");
    EXPECT_EQ("z", Row(screen, 2));
    // A byte in the cp1252 upper half is a character like any other.
    EXPECT_EQ(TERM_CELL, screen.Put(0xE9));
    EXPECT_EQ("z\xE9", Row(screen, 2));
    screen.Clear();
    EXPECT_EQ("", Row(screen, 0));
    EXPECT_EQ("0,0", Cursor(screen));
}

TEST(TerminalScreen, TheLastColumnWrapsOrIsOverwritten)
{
    const std::string line = std::string(79, '-') + "abc";
    CTerminalScreen screen;
    screen.m_bAutoWrap = FALSE;
    PutText(screen, line);
    EXPECT_EQ(std::string(79, '-') + "c", Row(screen, 0));
    EXPECT_EQ("79,0", Cursor(screen));
    EXPECT_EQ("", Row(screen, 1));

    CTerminalScreen wrapping;
    PutText(wrapping, line);
    EXPECT_EQ(std::string(79, '-') + "a", Row(wrapping, 0));
    EXPECT_EQ("bc", Row(wrapping, 1));
    EXPECT_EQ("2,1", Cursor(wrapping));
    // Exactly eighty: the cursor waits at the start of the next row.
    CTerminalScreen exact;
    PutText(exact, std::string(80, '='));
    EXPECT_EQ("0,1", Cursor(exact));
}

TEST(TerminalScreen, TheLastRowScrollsTheFirstOut)
{
    CTerminalScreen screen;
    for (int i = 1; i <= 25; ++i)
        PutText(screen, "line " + std::to_string(i) + (i < 25 ? "\r\n" : ""));
    EXPECT_EQ("line 1", Row(screen, 0));
    EXPECT_EQ("line 25", Row(screen, 24));
    EXPECT_EQ(TERM_MOVED, screen.Put('\r'));
    EXPECT_EQ(TERM_SCROLLED, screen.Put('\n'));
    PutText(screen, "line 26");
    EXPECT_EQ("line 2", Row(screen, 0));
    EXPECT_EQ("line 25", Row(screen, 23));
    EXPECT_EQ("line 26", Row(screen, 24));
    EXPECT_EQ("7,24", Cursor(screen));
    // A wrap on the last row scrolls as well, and the new last row starts empty.
    PutText(screen, std::string(72, '.') + "+");
    EXPECT_EQ("line 3", Row(screen, 0));
    EXPECT_EQ("line 26" + std::string(72, '.') + "+", Row(screen, 23));
    EXPECT_EQ("", Row(screen, 24));
    EXPECT_EQ("0,24", Cursor(screen));
}
