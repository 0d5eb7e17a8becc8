// The grid's clipboard: which rows a copy takes, the file it writes, the text the clipboard
// renders from it, cut, paste between views, and what a grid leaves behind when it goes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/base/NorvGlobals.h"
#include "framework/table/TableFilters.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Clipboard.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

std::string ReadWholeFile(const char* pszPath)
{
    std::ifstream in(pszPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const char* pszPath)
{
    std::ifstream in(pszPath);
    return in.good();
}

// A clipboard format's bytes up to their zero; "<none>" when it is not there.
std::string ClipboardText(UINT uFormat)
{
    if (!OpenClipboard(nullptr))
        return "<closed>";
    std::string strText = "<none>";
    HANDLE hData = GetClipboardData(uFormat);
    const char* psz = hData ? static_cast<const char*>(GlobalLock(hData)) : nullptr;
    if (psz) {
        strText = psz;
        GlobalUnlock(hData);
    }
    CloseClipboard();
    return strText;
}

void EmptyTheClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

int FormatCount()
{
    if (!OpenClipboard(nullptr))
        return -1;
    int nCount = CountClipboardFormats();
    CloseClipboard();
    return nCount;
}

void Mark(CViewTable& view, int nIndex)
{
    CRowPosition pos;
    ASSERT_TRUE(view.GetRowTree().LocateByIndex(nIndex, &pos));
    SetRowMarked(&view, pos.m_pNode, TRUE);
}

std::string Symbol(CViewTable& view, int nIndex)
{
    CRowPosition pos;
    if (!view.GetRowTree().LocateByIndex(nIndex, &pos) || !pos.m_pNode)
        return "<none>";
    return static_cast<const char*>(pos.m_pNode->GetData()[GRID_COL_SYMBOL].pData);
}

// The rows of a copy file after its two header lines, one symbol each.
std::vector<std::string> CopiedSymbols(const char* pszPath)
{
    std::istringstream in(ReadWholeFile(pszPath));
    std::vector<std::string> symbols;
    std::string strLine;
    for (int nLine = 0; std::getline(in, strLine); ++nLine)
        if (nLine >= 2)
            symbols.push_back(strLine.substr(0, strLine.find('|')));
    return symbols;
}

// A grid that counts its beeps and can lose its clipboard format.
class CCountingGrid : public CTableWindow
{
public:
    void Beep() override { ++m_nBeeps; }
    void DropClipboardFormat() { m_uClipFormat = 0; }
    int m_nBeeps = 0;
};

// A second grid over another view, created but not shown: a paste target.
class CHiddenGrid
{
public:
    explicit CHiddenGrid(CViewTable& view)
    {
        m_grid.CreateEx(&view, 0, "Target", WS_POPUP, 0, 0, 300, 200, nullptr, 0);
    }
    CCountingGrid m_grid;
};

// Quotes tables name their views alike: their rows may be pasted into one another.
class CNamedGridTable : public CGridTable
{
public:
    CNamedGridTable(const char* pszName, int nRows)
    {
        View().SetName(pszName);
        Fill(nRows);
    }
};

// The same columns over a snapshot view, whose rows own their values: what a paste fills.
class CSnapGridTable
{
public:
    explicit CSnapGridTable(const char* pszName)
        : t({{"Symbol", COLTYPE_STRING, 12, FALSE}, {"Last", COLTYPE_DOUBLE, 0, FALSE},
             {"Volume", COLTYPE_INT32, 0, TRUE}, {"Change", COLTYPE_DOUBLE, 0, FALSE}})
    {
        UseSourceResources();
        t.Table().GetColumn(GRID_COL_LAST).SetDecimals(-3);
        t.Table().GetColumn(GRID_COL_CHANGE).SetDecimals(-2);
        CSnapAlloc alloc;
        t.Table().Open(&alloc);
        View().SetName(pszName);
    }
    ~CSnapGridTable() { t.Table().RemoveAllRows(); }
    CViewTable& View() { return t.View(0); }
    COwnedTable t;
};

}  // namespace

TEST(GridClipboard, CopiesTheMarkedRowsInDisplayOrderAndRendersThemAsText)
{
    EmptyTheClipboard();
    CNamedGridTable table("Quotes", 12);
    table.SortBy(GRID_COL_SYMBOL, SORT_DESCENDING);
    CViewTable& view = table.View();
    view.m_bWriteTitleLine = TRUE;
    // A separator and an escape travel escaped and come back in the text; the row sorts last.
    ASSERT_TRUE(view.SetCellTextAt(5, GRID_COL_SYMBOL, "A|B\\C"));
    Mark(view, 1);
    Mark(view, 5);
    Mark(view, 11);
    // A column the user hid stays in the text, one hidden for good leaves it.
    view.GetColumns()[GRID_COL_VOLUME]->m_bHidden = TRUE;
    view.GetColumns()[GRID_COL_VOLUME]->m_bUserSwitchable = TRUE;
    view.GetColumns()[GRID_COL_CHANGE]->m_bHidden = TRUE;
    view.GetColumns()[GRID_COL_CHANGE]->m_bUserSwitchable = FALSE;
    CGridWindow grid(view);
    grid->SetCurrentRowOffset(3);
    ASSERT_EQ(1, grid->Copy());
    const std::string strFile = static_cast<const char*>(grid->GetClipboardFile());
    ASSERT_TRUE(FileExists(strFile.c_str()));
    const std::string strCopy = ReadWholeFile(strFile.c_str());
    EXPECT_EQ(0u, strCopy.find("TableID=Quotes\nColumnHeaders=1\nSymbol|Last|Volume|Change|\n")) << strCopy;
    EXPECT_EQ((std::vector<std::string>{"Symbol", "S0010", "S0005", "A\\"}), CopiedSymbols(strFile.c_str()));
    EXPECT_EQ(12, view.GetRowCount());
    // Both formats are offered; the path names the file, the text is Python's csv writing.
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(grid->GetClipboardFormat()));
    EXPECT_EQ(strFile, ClipboardText(grid->GetClipboardFormat()));
    EXPECT_EQ(ReadWholeFile(TB_SOURCE_DIR "/tests/framework/window/expected_clipboard_text.txt"), ClipboardText(CF_TEXT));
    EmptyTheClipboard();
    EXPECT_FALSE(FileExists(strFile.c_str())) << "the owner deletes its file when the clipboard is emptied";
    EXPECT_EQ(0, grid->GetClipboardFile().GetLength());
}

TEST(GridClipboard, WithoutMarkedRowsTheCurrentRowIsCopiedAndWithoutOneNothing)
{
    CNamedGridTable table("Quotes", 8);
    CGridWindow grid(table.View());
    grid->SetCurrentRowOffset(2);
    const std::string strFirst = TestFilePath("clip_first.tbl");
    ASSERT_EQ(1, grid->CopyRowsToClipboard(nullptr, FALSE, strFirst.c_str()));
    EXPECT_EQ((std::vector<std::string>{"S0002"}), CopiedSymbols(strFirst.c_str()));
    EXPECT_EQ("S0002\t100.25\t20\t-1", ClipboardText(CF_TEXT));
    // A second copy takes the first one's file away.
    grid->SetCurrentRowOffset(4);
    ASSERT_EQ(1, grid->Copy());
    EXPECT_FALSE(FileExists(strFirst.c_str()));
    const std::string strSecond = static_cast<const char*>(grid->GetClipboardFile());
    EXPECT_EQ((std::vector<std::string>{"S0004"}), CopiedSymbols(strSecond.c_str()));
    // No current row: the copy fails and leaves the clipboard empty, its file gone.
    table.View().RemoveAllRows();
    EXPECT_EQ(0, grid->Copy());
    EXPECT_EQ(0, FormatCount());
    EXPECT_FALSE(FileExists(strSecond.c_str()));
    EXPECT_EQ(0, grid->GetClipboardFile().GetLength());
}

TEST(GridClipboard, CutDeletesTheRowsItCopied)
{
    CNamedGridTable table("Quotes", 10);
    CViewTable& view = table.View();
    Mark(view, 8);
    Mark(view, 9);
    CGridWindow grid(view);
    grid->SetCurrentRowOffset(0);
    ASSERT_EQ(1, grid->Cut());
    EXPECT_EQ((std::vector<std::string>{"S0008", "S0009"}), CopiedSymbols(grid->GetClipboardFile()));
    EXPECT_EQ(8, view.GetRowCount());
    EXPECT_EQ("S0007", Symbol(view, 7));
    EXPECT_EQ(0, view.GetRowTree().GetMarkedCount());
    // Nothing marked: the current row goes.
    grid->SetCurrentRowOffset(1);
    ASSERT_EQ(1, grid->Cut());
    EXPECT_EQ(7, view.GetRowCount());
    EXPECT_EQ("S0002", Symbol(view, 1));
    // Every row of the view, then all of them cut.
    ASSERT_EQ(1, grid->CopySelection(/*bCut=*/FALSE));
    EXPECT_EQ(7u, CopiedSymbols(grid->GetClipboardFile()).size());
    EXPECT_EQ(7, view.GetRowCount());
    ASSERT_EQ(1, grid->CopySelection(/*bCut=*/TRUE));
    EXPECT_EQ(0, view.GetRowCount());
    EXPECT_EQ(0, grid->Copy()) << "an empty view has no current row";
}

TEST(GridClipboard, PastesOnlyIntoAViewOfTheSameTableAndWhole)
{
    CNamedGridTable source("Quotes", 6);
    CViewTable& view = source.View();
    // A missing price pastes back as missing: the copy does not write its '#' fill.
    const double dMissing = MISSING_DOUBLE;
    CRowPosition pos;
    ASSERT_TRUE(view.GetRowTree().LocateByIndex(2, &pos));
    view.GetColumns().SetSlotValue(&pos.m_pNode->GetData()[GRID_COL_LAST], &dMissing, GRID_COL_LAST);
    Mark(view, 2);
    Mark(view, 3);
    CGridWindow grid(view);
    ASSERT_EQ(1, grid->Copy());
    EXPECT_TRUE(grid->CanPaste());

    // Twice into a view of the same name: appended, then inserted at the current row.
    CSnapGridTable same("Quotes");
    {
        CHiddenGrid target(same.View());
        EXPECT_EQ(1, target.m_grid.PasteRows());
        target.m_grid.SetCurrentRowOffset(1);
        EXPECT_EQ(1, target.m_grid.PasteRows());
        EXPECT_EQ(0, target.m_grid.m_nBeeps);
    }
    ASSERT_EQ(4, same.View().GetRowCount());
    EXPECT_EQ("S0002", Symbol(same.View(), 0));
    EXPECT_EQ("S0002", Symbol(same.View(), 1));
    EXPECT_EQ("S0003", Symbol(same.View(), 2));
    EXPECT_EQ("S0003", Symbol(same.View(), 3));
    ASSERT_TRUE(same.View().GetRowTree().LocateByIndex(1, &pos));
    double dPasted = 0;
    memcpy(&dPasted, pos.m_pNode->GetData()[GRID_COL_LAST].pData, sizeof dPasted);
    EXPECT_EQ(MISSING_DOUBLE, dPasted);
    EXPECT_TRUE(pos.m_pNode->IsMarked());

    CSnapGridTable other("Trades");
    {
        CHiddenGrid target(other.View());
        EXPECT_EQ(0, target.m_grid.PasteRows());
        EXPECT_EQ(1, target.m_grid.m_nBeeps);
    }
    EXPECT_EQ(0, other.View().GetRowCount());
    EXPECT_EQ(6, view.GetRowCount());
}

TEST(GridClipboard, AGridThatGoesLeavesItsRowsAsTextOnly)
{
    CNamedGridTable table("Quotes", 4);
    UINT uFormat = 0;
    std::string strFile;
    for (int nRendered = 0; nRendered < 2; ++nRendered) {
        {
            CGridWindow grid(table.View());
            grid->SetCurrentRowOffset(1);
            ASSERT_EQ(1, grid->Copy());
            uFormat = grid->GetClipboardFormat();
            strFile = static_cast<const char*>(grid->GetClipboardFile());
            // Once asked for, the path is on the clipboard as data, not only as an offer.
            if (nRendered) {
                EXPECT_EQ(strFile, ClipboardText(uFormat));
            }
        }
        EXPECT_FALSE(FileExists(strFile.c_str()));
        EXPECT_FALSE(IsClipboardFormatAvailable(uFormat)) << "rendered: " << nRendered;
        EXPECT_EQ("S0001\t100.125\t10\t-2", ClipboardText(CF_TEXT));
    }
    // Nothing to paste from, and the text stays.
    CSnapGridTable same("Quotes");
    CHiddenGrid target(same.View());
    EXPECT_FALSE(target.m_grid.CanPaste());
    EXPECT_EQ(0, target.m_grid.PasteRows());
    EXPECT_EQ(0, same.View().GetRowCount());
    EXPECT_EQ("S0001\t100.125\t10\t-2", ClipboardText(CF_TEXT));
}

TEST(GridClipboard, WithoutItsFormatTheGridOffersTextAndNeverPastes)
{
    CNamedGridTable table("Quotes", 4);
    CCountingGrid counting;
    CGridWindow grid(table.View(), 400, 300, &counting);
    counting.DropClipboardFormat();
    grid->SetCurrentRowOffset(0);
    ASSERT_EQ(1, grid->Copy());
    EXPECT_EQ(1, FormatCount());
    // The grid shows a zero volume blank; the copy carries the value.
    EXPECT_EQ("S0000\t100\t0\t-3", ClipboardText(CF_TEXT));
    EXPECT_FALSE(grid->CanPaste());
    EXPECT_EQ(0, grid->PasteRows());
    EXPECT_EQ(4, table.View().GetRowCount());
}
