#pragma once
// The news headlines of every market ("LW", live "BW"): story, language, time, market and the
// headline with its market mentions ("@2") named. A click on a headline asks for its story.
#include "market/DataTable.h"

#define IDS_TABLE_NEWS_LIST 57744
#define IDS_TITLE_NEWS_LIST 57747
#define ID_NEWS_REFRESH 33175
#define ID_NEWS_READ_STORY 33626

extern const TABLE_DESC g_listNewsTable;

// A market's name by its code.
typedef CString (*PFN_MARKET_NAME)(long nCode);

class CListNewsTable : public CDataTable
{
public:
    explicit CListNewsTable(CZorvatMessageSource* pSource) : CDataTable(g_listNewsTable, pSource) {}

    // Every mention mark and the code after it, up to the next space or comma or else the end,
    // becomes the market's name in parentheses. The search goes on after the inserted name, so
    // a name never expands again; *pnSteps (when given) counts the mentions replaced.
    static CString ExpandMarketMentions(LPCSTR pszText, PFN_MARKET_NAME pfnName = nullptr, int* pnSteps = nullptr);

    // The rows go and the list of every market is asked for.
    using CDataTable::SendRequest;
    BOOL SendRequest() override;
    // The story of a row: "EW" for its id and language.
    BOOL RequestStory(const CDataBuffer* pRow);
    // The same, then the news reader opened to show it.
    BOOL ReadStory(const CDataBuffer* pRow);

    void OnLW(CServerMessage* pMsg) override;
    void OnBW(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // A list of the same columns under another description (one company's headlines).
    CListNewsTable(const TABLE_DESC& desc, CZorvatMessageSource* pSource) : CDataTable(desc, pSource) {}
    void ApplyLive(CServerMessage* pMsg) override;
    // A reply this table takes: the list of every market, not one company's.
    virtual BOOL IsOwnReply(CServerMessage* pMsg) const;

private:
    // The line's row with the market name and the expanded headline; the caller owns it.
    CDataBuffer* MakeRow(CServerMessage* pMsg);
};
