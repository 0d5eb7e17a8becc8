#pragma once
// The KSE tick-size bands: every "TU" line the server broadcasts replaces the whole table with
// the bands it carries (TickBands.h), at most ten. Never requested by the table itself.
#include "market/DataTable.h"
#include "market/TickBands.h"

#define IDS_TABLE_TICKS_UNITS_KSE 56382
#define IDS_TITLE_TICKS_UNITS_KSE 56799

extern const TABLE_DESC g_ticksUnitsKSETable;

class CTicksUnitsKSETable : public CDataTable
{
public:
    explicit CTicksUnitsKSETable(CZorvatMessageSource* pSource) : CDataTable(g_ticksUnitsKSETable, pSource) {}

    void OnTU(CServerMessage* pMsg) override;

    // The bands of the last line, as it gave them.
    int GetBandCount() const { return m_nBands; }
    const TICK_BAND* GetBand(int nIndex) const { return nIndex >= 0 && nIndex < m_nBands ? &m_bands[nIndex] : nullptr; }

private:
    TICK_BAND m_bands[MAX_TICK_BANDS];
    int m_nBands = 0;
};
