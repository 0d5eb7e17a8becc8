#include "market/TicksUnitsKSETable.h"

#include <memory>
#include "market/DataArray.h"

namespace {
enum TICKS_COLUMN { TC_BAND = 0, TC_HIGH = 1, TC_LOW = 2, TC_WIDTH = 3, TC_TICK = 4 };

constexpr TABLE_COLUMN Bound(UINT nTitleId)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_BLANK_ZERO | COLF_OMIT_ZERO_FRACTION};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 56377, .nType = COLTYPE_INT32, .nWidth = 50, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN},
    Bound(56378),
    Bound(56379),
    Bound(56380),
    // Ticks below one fils (0.1, 0.5) keep their tenth; whole ones show bare.
    {.nTitleId = 56381, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_OMIT_ZERO_FRACTION},
};
const TABLE_SORT_KEY s_sort[] = {{TC_BAND, SORT_ASCENDING}};
const int s_keys[] = {TC_BAND};
const int s_direct[] = {MSG_TU};    // the bands, rebuilt whole from each line
}  // namespace

const TABLE_DESC g_ticksUnitsKSETable = {
    .nNameId = IDS_TABLE_TICKS_UNITS_KSE, .nTitleId = IDS_TITLE_TICKS_UNITS_KSE, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .directTypes = s_direct, .crCellBack0 = RGB(128, 255, 128)};

void CTicksUnitsKSETable::OnTU(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    m_nBands = ComputeTickBands(*pMsg, m_bands, MAX_TICK_BANDS);
    RemoveAllRows();
    CDataArray* pRows = GetRows();
    pRows->BeginUpdate();
    for (int i = 0; i < m_nBands; ++i) {
        const TICK_BAND& band = m_bands[i];
        std::unique_ptr<CDataBuffer> pRow(pRows->NewRow());
        const LONG nBand = band.nBand;
        pRow->SetValue(TC_BAND, &nBand, FALSE);
        pRow->SetDouble(TC_HIGH, band.dHigh, FALSE);
        pRow->SetDouble(TC_LOW, band.dLow, FALSE);
        pRow->SetDouble(TC_WIDTH, band.dUpper, FALSE);
        pRow->SetDouble(TC_TICK, band.nTick / 100.0, FALSE);
        pRows->AddRow(pRow.get(), TRUE);
    }
    pRows->EndUpdate();
}
