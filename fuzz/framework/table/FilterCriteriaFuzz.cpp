// Criteria typed for columns of every type. A criterion that is accepted lives on as its text
// (saved with the view, copied into new views): that text must build the same filter again,
// letting the same rows through. A criterion that is refused changes nothing.
//
// Input: a byte of options (combine rule, separators, date and time patterns), then up to eight
// criteria, each a column, a flag, a group, a quote choice and a text up to a NUL.
#include <cstdint>
#include <string>
#include "fuzz/common/FuzzCheck.h"
#include "fuzz/common/FuzzInput.h"
#include "fuzz/framework/table/FormatScope.h"
#include "tests/framework/table/FilterTestSupport.h"

namespace {

const int CRITERIA_MAX = 8;
const size_t CRITERIA_TEXT_MAX = 96;
// Settings values hold 255 characters; a longer criterion cannot be stored there.
const int SETTINGS_TEXT_MAX = 255;

std::string FilterText(CTableFilters& filters, int nCol, int nFilter)
{
    CTBString strText;
    filters.GetColumnFilter(nCol)->FormatFilterText(strText, nFilter);
    return std::string(strText);
}

// The filter at nAt, built again alone from its text, is the same filter on every row.
void CheckRebuiltAlone(CTypedTable& table, CTableFilters& filters, int nCol, int nAt)
{
    CViewTable& view = table.t.View();
    const ITFilter* pFilter = (*filters.GetColumnFilter(nCol))[nAt];
    std::string strText = FilterText(filters, nCol, nAt);
    CTableFilters alone;
    alone.Init(&view, nullptr);
    FUZZ_CHECK(alone.AddFilter(nCol, strText.c_str(), pFilter->GetFlag(), pFilter->GetGroup()) == 0,
               "the text of an accepted criterion builds no filter");
    const ITFilter* pAgain = (*alone.GetColumnFilter(nCol))[0];
    FUZZ_CHECK(pAgain->GetKind() == pFilter->GetKind(), "the text builds a filter of another kind");
    FUZZ_CHECK(pAgain->CompareTo(*pFilter, view.GetColumns()[nCol]) == 0, "the text builds another value");
    FUZZ_CHECK(FilterText(alone, nCol, 0) == strText, "the rebuilt filter writes another text");
    for (int r = 0; r < view.GetRowCount(); ++r) {
        CTableRow* pNode = view.GetRowTree().GetNodeAt(r);
        const CTableColumn* pColumn = view.GetColumns()[nCol];
        FUZZ_CHECK(const_cast<ITFilter*>(pFilter)->Match(pNode, nCol, pColumn, &view)
                       == const_cast<ITFilter*>(pAgain)->Match(pNode, nCol, pColumn, &view),
                   "the rebuilt filter lets other rows through");
    }
}

// Settings store the texts, and a comparison without its flag and group. A text the settings
// cannot hold as it is stays out: one too long, or one holding the backslash and 'n' that
// settings texts use for a line break.
void CheckSettings(CTypedTable& table, CTableFilters& filters)
{
    for (int c = 0; c < COL_COUNT; ++c)
        for (int i = 0; i < filters.GetColumnFilter(c)->GetSize(); ++i) {
            std::string strText = FilterText(filters, c, i);
            if (strText.size() > static_cast<size_t>(SETTINGS_TEXT_MAX) || strText.find("\\n") != std::string::npos)
                return;
        }
    for (int c = 0; c < COL_COUNT; ++c)
        for (ITFilter* pFilter : *filters.GetColumnFilter(c))
            if (pFilter->GetKind() == FILTER_COMPARISON) {
                pFilter->SetFlag(FALSE);
                pFilter->SetGroup(0);
            }
    CMapIni settings;
    FUZZ_CHECK(filters.Save(&settings), "bound filters refused to save");
    CTableFilters loaded;
    loaded.Init(&table.t.View(), nullptr);
    FUZZ_CHECK(loaded.Load(&settings), "bound filters refused to load");
    FUZZ_CHECK(table.Describe(loaded) == table.Describe(filters), "saved filters load as other filters");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The settings keys are string ids of the language file.
    UseSourceResources();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CFuzzInput in(pData, nSize);
    uint8_t bOptions = in.TakeByte();
    // The rows first, in the patterns they are written in; the criteria then in the input's.
    CTypedTable table;
    FUZZ_CHECK(table.m_bFilled, "the rows of the table did not go in");
    CFormatScope format(static_cast<uint8_t>(bOptions >> 2));
    CViewTable& view = table.t.View();
    CTableFilters filters;
    FUZZ_CHECK(filters.Init(&view, nullptr), "filters refused a view with columns");
    filters.SetCombine((bOptions & 1) != 0);
    for (int n = 0; n < CRITERIA_MAX && !in.IsEmpty(); ++n) {
        int nCol = in.TakeInt(0, COL_COUNT - 1);
        uint8_t bChoice = in.TakeByte();
        std::string strCriteria = in.TakeText(CRITERIA_TEXT_MAX);
        std::string strBefore = CTypedTable::ListFilters(filters);
        BOOL bValid = filters.IsValidCriteria(nCol, strCriteria.c_str());
        BOOL bQuote = (bChoice & 4) != 0;
        int nAt = filters.AddFilter(nCol, strCriteria.c_str(), bChoice & 1, (bChoice >> 1) & 1, bQuote);
        if (nAt < 0) {
            FUZZ_CHECK(CTypedTable::ListFilters(filters) == strBefore, "a refused criterion changed the filters");
            continue;
        }
        FUZZ_CHECK(bValid || bQuote, "a criterion found invalid was added");
        FUZZ_CHECK(nAt < filters.GetColumnFilter(nCol)->GetSize(), "the position answered is not in the column");
        CheckRebuiltAlone(table, filters, nCol, nAt);
    }
    // A copied view rebuilds every filter from its text, in order, with flags and groups.
    CTableFilters copy;
    copy.Init(&view, &filters);
    FUZZ_CHECK(table.Describe(copy) == table.Describe(filters), "a copy of the filters differs");
    CheckSettings(table, filters);
    return 0;
}
