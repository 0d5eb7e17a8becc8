// The table text archive, as a paste or an import reads it. Whatever the text, the rows read
// are each a line the view took whole: a refused line is skipped and reported (ReadRows FALSE),
// never half-applied. What the view then writes reads back into another view as the same rows,
// which write the same text again.
//
// Input: a byte of options (row state, separator, title line, number separators, date and time
// patterns), then the lines.
#include <unistd.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "fuzz/common/FuzzCheck.h"
#include "fuzz/common/FuzzInput.h"
#include "fuzz/framework/table/FormatScope.h"
#include "framework/base/ColumnValues.h"
#include "framework/table/TableArchive.h"
#include "framework/table/TableGroups.h"
#include "framework/table/TreeAlloc.h"
#include "tests/framework/table/TableTestSupport.h"

namespace {

const size_t TEXT_MAX = 1024;
const size_t LINES_MAX = 8;

// A view of every kind of cell a pasted line may carry: texts, prices with decimals, counts of
// sixty-fourths, rates, large numbers, dates and times. Its allocator owns the rows it reads.
class CArchiveTable
{
public:
    CArchiveTable()
        : t({{"Sym", COLTYPE_STRING, 12, FALSE}, {"Price", COLTYPE_INT32, 0, FALSE}, {"Frac", COLTYPE_INT, 0, FALSE},
             {"Rate", COLTYPE_DOUBLE, 0, FALSE}, {"Vol", COLTYPE_INT64, 0, FALSE}, {"Cur", COLTYPE_CHAR4, 0, FALSE},
             {"Day", COLTYPE_PACKED_DATE, 0, FALSE}, {"Stamp", COLTYPE_PACKED_DATETIME, 0, FALSE},
             {"When", COLTYPE_DATETIME_TEXT, 0, FALSE}, {"Qty", COLTYPE_INT32, 0, FALSE}})
    {
        t.Table().GetColumn(1).SetDecimals(-2);
        t.Table().GetColumn(3).SetDecimals(-4);
        CSnapAlloc alloc;
        t.Table().Open(&alloc);
    }
    CViewTable& View() { return t.View(); }

private:
    COwnedTable t;
};

struct CArchiveOptions
{
    BOOL bRowState;
    char chSeparator;
};

// A private folder for one input's files, gone with the input. Every file is new: a disk file
// truncated and written again would be flushed at each close.
class CScratchFolder
{
public:
    CScratchFolder()
    {
        std::error_code ec;
        // Memory where there is some: an input writes a dozen small files.
        BOOL bMemory = std::filesystem::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0;
        std::filesystem::path base = bMemory ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        std::string strTemplate = (base / "table_archive_XXXXXX").string();
        std::vector<char> name(strTemplate.begin(), strTemplate.end());
        name.push_back('\0');
        FUZZ_CHECK(mkdtemp(name.data()) != nullptr, "no private temporary folder");
        m_strFolder = name.data();
    }
    ~CScratchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_strFolder, ec);
    }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    std::string NewPath() { return m_strFolder + "/" + std::to_string(m_nFiles++) + ".tbl"; }

private:
    std::string m_strFolder;
    int m_nFiles = 0;
};

void WriteFile(const std::string& strPath, const std::string& strText)
{
    std::ofstream out(strPath, std::ios::binary);
    out << strText;
}

std::string ReadFile(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

BOOL ReadInto(CViewTable& view, const std::string& strPath, const CArchiveOptions& options)
{
    CTableFileArchive in(&view, options.bRowState);
    in.m_chSeparator = options.chSeparator;
    FUZZ_CHECK(in.Open(strPath.c_str(), TRUE), "the archive did not open its file");
    return view.ReadRows(&in);
}

// The rows as the archive writes them, behind the line that says there is no title line.
std::string WriteOut(CScratchFolder& folder, CViewTable& view, const CArchiveOptions& options)
{
    std::string strPath = folder.NewPath();
    {
        CTableFileArchive out(&view, options.bRowState);
        out.m_chSeparator = options.chSeparator;
        FUZZ_CHECK(out.Open(strPath.c_str(), FALSE), "the archive did not open its file for writing");
        FUZZ_CHECK(out.WriteString("0\n"), "the archive did not write");
        FUZZ_CHECK(view.ForEachRow(&out), "the view did not write every row");
    }
    return ReadFile(strPath);
}

// Same values by the cells' own decimal codes, same attributes and row state.
BOOL SameRows(CViewTable& first, CViewTable& second)
{
    if (first.GetRowCount() != second.GetRowCount())
        return FALSE;
    const CTableColumns& columns = first.GetColumns();
    for (int r = 0; r < first.GetRowCount(); ++r) {
        CTableRow* pA = first.GetRowTree().GetNodeAt(r);
        CTableRow* pB = second.GetRowTree().GetNodeAt(r);
        if (!pA || !pB || pA->GetCategory() != pB->GetCategory() || pA->GetStatus() != pB->GetStatus()
            || pA->m_bFlags != pB->m_bFlags)
            return FALSE;
        for (int c = 0; c < columns.GetCount(); ++c) {
            for (int b = 0; b < 3; ++b)
                if (pA->GetAttr(c, b) != pB->GetAttr(c, b))
                    return FALSE;
            const CTableColumn* pColumn = columns[c];
            int nDecimals = pColumn->GetDecimals(pA->IsFraction(c));
            if (CompareColumnValues(&pA->GetData()[c], nDecimals, &pB->GetData()[c], nDecimals,
                                    pColumn->GetDataType()) != 0)
                return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CFuzzInput in(pData, nSize);
    uint8_t bOptions = in.TakeByte();
    CArchiveOptions options = {(bOptions & 1) != 0, (bOptions & 2) ? '\t' : '|'};
    CFormatScope format(static_cast<uint8_t>(bOptions >> 3));
    std::string strHead = (bOptions & 4) ? "1\nSym|Price|Frac|Rate|Vol|Cur|Day|Stamp|When|Qty|\n" : "0\n";
    // Whole lines only, at most a few of them.
    std::string strText = in.TakeBytes(TEXT_MAX);
    std::vector<std::string> lines;
    size_t nAt = 0;
    while (nAt < strText.size() && lines.size() < LINES_MAX) {
        size_t nEnd = strText.find('\n', nAt);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        lines.push_back(strText.substr(nAt, nEnd - nAt));
        nAt = nEnd + 1;
    }
    std::string strLines;
    for (const std::string& strLine : lines)
        strLines += strLine + "\n";
    CScratchFolder folder;

    // All lines at once.
    CArchiveTable all;
    std::string strPath = folder.NewPath();
    WriteFile(strPath, strHead + strLines);
    BOOL bWhole = ReadInto(all.View(), strPath, options);

    // Each line alone: the rows of all lines are the rows of the lines that each went in alone.
    BOOL bEachWhole = TRUE;
    std::string strEach;
    for (const std::string& strLine : lines) {
        CArchiveTable one;
        strPath = folder.NewPath();
        WriteFile(strPath, "0\n" + strLine + "\n");
        BOOL bLine = ReadInto(one.View(), strPath, options);
        FUZZ_CHECK(one.View().GetRowCount() <= 1, "one line gave several rows");
        FUZZ_CHECK(bLine == (one.View().GetRowCount() == 1), "a line refused was reported whole, or one taken was not");
        bEachWhole = bEachWhole && bLine;
        strEach += WriteOut(folder, one.View(), options).substr(2);
    }
    FUZZ_CHECK(bWhole == bEachWhole, "ReadRows did not report the lines it refused");
    std::string strWritten = WriteOut(folder, all.View(), options);
    FUZZ_CHECK(strWritten.substr(2) == strEach, "the rows read together are not the rows of the lines read alone");

    // What was written reads back as the same rows, and writes the same text.
    CArchiveTable again;
    strPath = folder.NewPath();
    WriteFile(strPath, strWritten);
    FUZZ_CHECK(ReadInto(again.View(), strPath, options), "a line the archive wrote was refused");
    FUZZ_CHECK(again.View().GetRowCount() == all.View().GetRowCount(), "rows were lost reading written rows");
    FUZZ_CHECK(WriteOut(folder, again.View(), options) == strWritten, "rows read back write another text");
    FUZZ_CHECK(SameRows(all.View(), again.View()), "rows read back are not the rows written");
    return 0;
}
