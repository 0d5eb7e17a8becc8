#pragma once
// The KSE market indices, one row per index keyed by its code: filled by the "LX" reply and
// kept current by "IX" lines, which lack the two texts. Each row shows its change against the
// day's reference value, in points and per cent, coloured by rise and fall, and the same for a
// second, hidden set of values. The context menu opens the selected index's daily or monthly
// history.
#include "market/DataTable.h"

#define IDS_TABLE_INDICES_KSE 55432
#define IDS_TITLE_INDICES_KSE 55433
#define ID_INDEX_DAILY_HISTORY 33283
#define ID_INDEX_MONTHLY_HISTORY 33284

// The cell attributes of a change.
#define CHANGE_ATTR_NONE 0
#define CHANGE_ATTR_FALL 3
#define CHANGE_ATTR_RISE 4

extern const TABLE_DESC g_indicesKSETable;

class CIndicesKSETable : public CDataTable
{
public:
    explicit CIndicesKSETable(CZorvatMessageSource* pSource) : CDataTable(g_indicesKSETable, pSource) {}

    // The day values left 0 take the current value; then the changes and their colours.
    static void ComputeChanges(CDataBuffer* pRow);

    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void OnLX(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnIX(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    void OpenHistory(UINT nCommand);
};
