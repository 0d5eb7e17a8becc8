// The table text archive: lines, escapes, the row state suffix and reading back.
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include "TableTestSupport.h"
#include "framework/table/TableArchive.h"
#include "framework/table/TableFilters.h"

namespace {

std::string PathOf(const char* pszName)
{
    return TestFilePath(pszName);
}

std::string ReadFile(const std::string& strPath)
{
    std::ifstream in(strPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& strPath, const std::string& strText)
{
    std::ofstream out(strPath);
    out << strText;
}

// A paste: the text read into the view as a file; TRUE when every line went in.
BOOL Paste(CViewTable& view, const std::string& strText, BOOL bRowState)
{
    std::string strPath = PathOf("archive_paste.tbl");
    WriteFile(strPath, strText);
    CTableFileArchive in(&view, bRowState);
    return in.Open(strPath.c_str(), TRUE) && view.ReadRows(&in);
}

// A copy: the view's rows as the archive writes them, after the line that says "no titles".
std::string Copy(CViewTable& view, BOOL bRowState)
{
    std::string strPath = PathOf("archive_copy.tbl");
    {
        CTableFileArchive out(&view, bRowState);
        EXPECT_TRUE(out.Open(strPath.c_str(), FALSE));
        EXPECT_TRUE(out.WriteString("0\n"));
        EXPECT_TRUE(view.ForEachRow(&out));
    }
    return ReadFile(strPath);
}

// A snapshot-style view: its allocator gives every row read a block of its own.
class CArchiveView
{
public:
    CArchiveView()
        : t({{"A", COLTYPE_STRING, 12, FALSE}, {"B", COLTYPE_INT32, 0, FALSE}, {"C", COLTYPE_INT32, 0, FALSE}})
    {
        UseSourceResources();
        for (int i = 1; i < 3; ++i) {
            t.Table().GetColumn(i).SetThousands(FALSE);
            t.Table().GetColumn(i).SetBlankZero(FALSE);
        }
        CSnapAlloc alloc;
        t.Table().Open(&alloc);
    }
    ~CArchiveView() { t.Table().RemoveAllRows(); }
    COwnedTable t;
};

}  // namespace

TEST(TableArchive, EscapesSurviveARoundTrip)
{
    EXPECT_EQ("a\\|b\\\\c", CTableFileArchive::EscapeField("a|b\\c", '|'));
    char szText[] = "a\\|b\\\\c|d\\e";
    int nLength = CTableFileArchive::UnescapeField(szText, '\0');
    EXPECT_STREQ("a|b\\c", szText);
    EXPECT_STREQ("d\\e", szText + strlen(szText) + 1);
    EXPECT_EQ(9, nLength);
    char szEmpty[] = "";
    EXPECT_EQ(0, CTableFileArchive::UnescapeField(szEmpty, '\0'));
    EXPECT_EQ("a\\\tb", CTableFileArchive::EscapeField("a\tb", '\t'));
}

TEST(TableArchive, RowsWrittenReadBackWithTheirState)
{
    CArchiveView v;
    CViewTable& view = v.t.View();
    std::string strPath = PathOf("archive_rows.tbl");
    WriteFile(strPath, "0\nx|b\\|c|1|2|00000005S7+0000\n");
    // Rows go in through the view, attributes and state included.
    {
        CTableFileArchive in(&view, TRUE);
        ASSERT_TRUE(in.Open(strPath.c_str(), TRUE));
        EXPECT_FALSE(view.ReadRows(&in));       // "x|..." has cells that do not parse
    }
    WriteFile(strPath, "0\nb\\|c|1|2|000000051" "3" "410500" "+010045000000\nplain|3|4\n");
    {
        CTableFileArchive in(&view, TRUE);
        ASSERT_TRUE(in.Open(strPath.c_str(), TRUE));
        EXPECT_TRUE(view.ReadRows(&in));
        EXPECT_EQ(2, in.GetRowCount());
    }
    ASSERT_EQ(2, view.GetRowCount());
    CRowPosition pos;
    ASSERT_TRUE(view.GetRowTree().LocateByIndex(0, &pos));
    CTableRow* pRow = pos.m_pNode;
    EXPECT_EQ(5u, pRow->GetCategory());
    EXPECT_EQ('1', pRow->GetStatus());
    EXPECT_TRUE(pRow->IsMarked());
    EXPECT_TRUE(pRow->m_bFlags & ROW_EDITABLE);
    EXPECT_EQ("b|c", std::string(static_cast<const char*>(pRow->GetData()[0].pData)));
    EXPECT_FALSE(pRow->m_bFlags & ROW_MARKABLE);
    // The extension after '+' keeps text colour 69 (beyond six bits) and background 0.
    EXPECT_EQ(69, pRow->GetAttr(1, 1) & CELL_TEXT_MASK);
    EXPECT_TRUE(pRow->GetAttr(0, 1) & CELL_BOLD);

    std::string strOut = PathOf("archive_out.tbl");
    {
        CTableFileArchive out(&view, TRUE);
        ASSERT_TRUE(out.Open(strOut.c_str(), FALSE));
        EXPECT_TRUE(view.ForEachRow(&out));
    }
    EXPECT_EQ("b\\|c|1|2|000000051" "3" "410500" "+010045000000\nplain|3|4|00000000 4000000+000000000000\n",
              ReadFile(strOut));
    {
        CTableFileArchive plain(&view, FALSE);
        ASSERT_TRUE(plain.Open(strOut.c_str(), FALSE));
        plain.WriteRow(pRow);
        EXPECT_EQ(0, plain.WriteRow(view.GetRowTree().GetTotalLine()));
    }
    EXPECT_EQ("b\\|c|1|2\n", ReadFile(strOut));
}

TEST(TableArchive, RefusedLinesAreSkippedAndLongLinesReadWhole)
{
    CArchiveView v;
    CViewTable& view = v.t.View();
    std::string strPath = PathOf("archive_refused.tbl");
    std::string strLong(400, 'z');
    WriteFile(strPath, "0\r\nok|1|2\r\nshort|1\nbad|x|3\n" + strLong + "|5|6\r\n\r\nlast|7|8\n");
    CTableFileArchive in(&view, FALSE);
    ASSERT_TRUE(in.Open(strPath.c_str(), TRUE));
    EXPECT_FALSE(view.ReadRows(&in));           // not whole: three lines were refused
    // The long line is one row (its text cut to the column), not a row and a bogus tail.
    std::string strRows;
    for (int i = 0; i < view.GetRowCount(); ++i) {
        CRowPosition pos;
        view.GetRowTree().LocateByIndex(i, &pos);
        char szA[16], szB[16];
        pos.m_pNode->GetCellText(szA, sizeof szA, 0, view.GetColumns()[0], &view);
        pos.m_pNode->GetCellText(szB, sizeof szB, 1, view.GetColumns()[1], &view);
        strRows += std::string(szA) + "," + szB + "|";
    }
    EXPECT_EQ("ok,1|zzzzzzzzzzz,5|last,7|", strRows);
}

TEST(TableArchive, FiltersAndTitleLines)
{
    CArchiveView v;
    CViewTable& view = v.t.View();
    std::string strPath = PathOf("archive_title.tbl");
    WriteFile(strPath, "1\nA|B|C|\nkeep|5|0\ndrop|1|0\n");
    CTableFilters filters;
    filters.Init(&view, nullptr);
    filters.AddFilter(1, ">2", FALSE, 0);
    {
        CTableFileArchive in(&view, FALSE);
        in.SetFilters(&filters);
        ASSERT_TRUE(in.Open(strPath.c_str(), TRUE));
        EXPECT_TRUE(view.ReadRows(&in));
        EXPECT_EQ(1, in.GetRowCount());
    }
    ASSERT_EQ(1, view.GetRowCount());
    view.m_bWriteTitleLine = TRUE;
    view.GetColumns()[0]->m_strTitle[0] = "Two\nLines";
    std::string strOut = PathOf("archive_title_out.tbl");
    {
        CTableFileArchive out(&view, FALSE);
        out.m_chSeparator = '\t';
        ASSERT_TRUE(out.Open(strOut.c_str(), FALSE));
        EXPECT_TRUE(view.ForEachRow(&out));
    }
    EXPECT_EQ("Two Lines\tB\tC\t\nkeep\t5\t0\n", ReadFile(strOut));
}

TEST(TableArchive, SixtyFourthsCellsKeepTheirValue)
{
    CArchiveView v;
    CViewTable& view = v.t.View();
    view.GetColumns()[2]->m_chDecimals = -2;
    // Column B whole numbers, column C two decimals; both cells 10 1/2 in sixty-fourths.
    std::string strText = "0\nx|10 1/2|10 1/2|00000000 0008080+000000000000\n";
    for (int nPass = 0; nPass < 2; ++nPass) {
        EXPECT_TRUE(Paste(view, strText, TRUE));
        ASSERT_EQ(1, view.GetRowCount());
        CTableRow* pRow = view.GetRowTree().GetNodeAt(0);
        for (int nCol = 1; nCol < 3; ++nCol) {
            EXPECT_TRUE(pRow->IsFraction(nCol)) << "pass " << nPass << " column " << nCol;
            EXPECT_EQ(672, pRow->GetData()[nCol].nValue) << "pass " << nPass << " column " << nCol;
        }
        // What is written reads back the same: the pasted copy of a copied row.
        EXPECT_EQ(strText, Copy(view, TRUE));
        view.RemoveAllRows();
    }
}

TEST(TableArchive, NumbersWiderThanTheirColumnAreWrittenWhole)
{
    CArchiveView v;
    CViewTable& view = v.t.View();
    view.GetColumns()[1]->m_nSize = 4;          // room for three characters on screen
    EXPECT_TRUE(Paste(view, "0\nx|-123456|7\n", FALSE));
    // Not "###": a pasted copy of the row would be refused.
    EXPECT_EQ("0\nx|-123456|7\n", Copy(view, FALSE));
}

TEST(TableArchive, ANulByteEndsTheTextOfItsLineOnly)
{
    CArchiveView v;
    CViewTable& view = v.t.View();
    EXPECT_FALSE(Paste(view, std::string("0\nab\0cd|1|2\nnext|3|4\n", 21), FALSE));   // "ab" has too few cells
    EXPECT_EQ("0\nnext|3|4\n", Copy(view, FALSE));
}

TEST(TableArchive, DatesBefore1900PasteAndCopyWhole)
{
    UseSourceResources();
    COwnedTable t({{"Sym", COLTYPE_STRING, 8, FALSE}, {"Settle", COLTYPE_DATE_TEXT, 0, FALSE}});
    CSnapAlloc alloc;
    t.Table().Open(&alloc);
    CViewTable& view = t.View();
    // Every date a reader takes is shown, so a copy of it pastes back as the same date.
    const char* const pszText = "0\nold|0299/12/31\nnew|2020/02/29\n";
    EXPECT_TRUE(Paste(view, pszText, FALSE));
    ASSERT_EQ(2, view.GetRowCount());
    EXPECT_EQ(pszText, Copy(view, FALSE));
    // The in-place editor takes texts the same way; one that is no date changes nothing.
    EXPECT_TRUE(view.SetCellTextAt(1, 1, "1899/12/31"));
    EXPECT_FALSE(view.SetCellTextAt(1, 1, "1899/13/31"));
    EXPECT_EQ("0\nold|0299/12/31\nnew|1899/12/31\n", Copy(view, FALSE));
    view.RemoveAllRows();
}

TEST(TableArchive, StatusCharactersComeBackAsTheyWereWritten)
{
    CArchiveView v;
    CViewTable& view = v.t.View();
    // Statuses '|' and '\' escaped as cells are; a carriage return cannot be carried.
    std::string strText = "0\na|1|1|00000000\\|0\nb|2|2|00000000\\\\0\nc|3|3|00000000\r0\nd|4|4|00000000S0\n";
    for (int nPass = 0; nPass < 2; ++nPass) {
        EXPECT_TRUE(Paste(view, strText, TRUE));
        std::string strStatus;
        for (int i = 0; i < view.GetRowCount(); ++i)
            strStatus += view.GetRowTree().GetNodeAt(i)->GetStatus();
        EXPECT_EQ("|\\ S", strStatus) << "pass " << nPass;
        strText = Copy(view, TRUE);
        view.RemoveAllRows();
    }
    EXPECT_EQ("0\na|1|1|00000000\\|0000000+000000000000\nb|2|2|00000000\\\\0000000+000000000000\n"
              "c|3|3|00000000 0000000+000000000000\nd|4|4|00000000S0000000+000000000000\n",
              strText);
}

TEST(TableArchive, MissingNumbersTravelAsEmptyFields)
{
    CArchiveView v;
    CViewTable& view = v.t.View();
    // In a number column an empty field is the missing value that the writer left there.
    EXPECT_TRUE(Paste(view, "0\nx||7\n", FALSE));
    ASSERT_EQ(1, view.GetRowCount());
    CRowPosition pos;
    ASSERT_TRUE(view.GetRowTree().LocateByIndex(0, &pos));
    EXPECT_EQ(MISSING_INT32, pos.m_pNode->GetData()[1].nValue);
    char szShown[5];
    pos.m_pNode->GetCellText(szShown, sizeof szShown, 1, view.GetColumns()[1], &view);
    EXPECT_STREQ("####", szShown);      // the fill is the display's, not the file's
    EXPECT_EQ("0\nx||7\n", Copy(view, FALSE));
    // With the row state the copied row pastes back whole.
    std::string strCopy = Copy(view, TRUE);
    view.RemoveAllRows();
    EXPECT_TRUE(Paste(view, strCopy, TRUE));
    EXPECT_EQ(1, view.GetRowCount());
    EXPECT_EQ(strCopy, Copy(view, TRUE));
    // The text column takes an empty field as an empty text; a broken number is still refused.
    view.RemoveAllRows();
    EXPECT_TRUE(Paste(view, "0\n|1|2\n", FALSE));
    EXPECT_EQ("0\n|1|2\n", Copy(view, FALSE));
    EXPECT_FALSE(Paste(view, "0\nx|1a|2\n", FALSE));
    // A column with blank zeros shows a zero as nothing but writes it out: an empty field
    // stays the missing value there too.
    view.RemoveAllRows();
    view.GetColumns()[1]->SetBlankZero(TRUE);
    view.GetColumns()[2]->SetBlankZero(TRUE);
    EXPECT_TRUE(Paste(view, "0\nx||0\n", FALSE));
    ASSERT_TRUE(view.GetRowTree().LocateByIndex(0, &pos));
    EXPECT_EQ(MISSING_INT32, pos.m_pNode->GetData()[1].nValue);
    EXPECT_EQ(0, pos.m_pNode->GetData()[2].nValue);
    pos.m_pNode->GetCellText(szShown, sizeof szShown, 2, view.GetColumns()[2], &view);
    EXPECT_STREQ("", szShown);
    EXPECT_EQ("0\nx||0\n", Copy(view, FALSE));
}
