#include "market/DataTable.h"

#include <algorithm>
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/Language.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/SortColumns.h"
#include "framework/table/ViewTable.h"
#include "link/MessageSource.h"
#include "link/RowWriter.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatGlobals.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/MessageBox.h"
#include "refdata/ServerDateFields.h"

#define SORT_KEY_CAPACITY 15

namespace {

// A text column laid out this wide or wider holds a sentence (a headline, a description).
const int FREE_TEXT_MIN_WIDTH = 150;

// CServerMessage::FillRow writes through this into a row of the store.
class CBufferRowWriter : public IMessageRowWriter
{
public:
    CBufferRowWriter(CDataBuffer* pRow, CViewTable* pView) : m_pRow(pRow), m_pView(pView) {}
    int GetColumnCount() const override { return m_pView->GetColumns().GetCount(); }
    int GetColumnType(int nCol) const override { return m_pView->GetColumns().GetColumn(nCol)->GetDataType(); }
    int GetColumnDecimals(int nCol) const override { return m_pView->GetColumns().GetColumn(nCol)->GetDecimals(FALSE); }
    BOOL SetCellText(int nCol, LPCSTR pszText, int nFlag) override { return m_pRow->SetText(nCol, pszText, nFlag); }

private:
    CDataBuffer* m_pRow;
    CViewTable* m_pView;
};

void BuildMap(std::vector<int>& map, std::span<const int> fields, std::span<const int> arabic, BOOL bArabic)
{
    map.assign(fields.begin(), fields.end());
    if (bArabic)
        for (size_t c = 0; c < map.size() && c < arabic.size(); ++c)
            if (arabic[c] != FIELD_NONE)
                map[c] = arabic[c];
}

// The types a table's description lists: its whole catalogue.
CMessageTypeSet DescribedTypes(const TABLE_DESC& desc)
{
    CMessageTypeSet types;
    types.Add(desc.nReplyType);
    for (int nType : desc.liveTypes)
        types.Add(nType);
    for (int nType : desc.directTypes)
        types.Add(nType);
    return types;
}

}  // namespace

void CLogFileSetting::Save(CIni* pIni) const
{
    pIni->WriteInt("LogsPeriod", m_nLogsPeriod);
    pIni->WriteString("LogsFile", m_strLogsFile);
    pIni->WriteBool("LogsRealtime", m_bLogsRealtime);
    pIni->WriteString("LogsFileRT", m_strLogsFileRT);
}

void CLogFileSetting::Load(CIni* pIni)
{
    m_nLogsPeriod = pIni->GetInt("LogsPeriod", 5);
    m_strLogsFile = static_cast<const char*>(pIni->GetString("LogsFile", ""));
    m_bLogsRealtime = pIni->GetBool("LogsRealtime", FALSE);
    m_strLogsFileRT = static_cast<const char*>(pIni->GetString("LogsFileRT", ""));
}

CZorvatMessageSource* GetAppMessageSource()
{
    return CZORVAT32App::Get();
}

CDataTable::CDataTable(const TABLE_DESC& desc, CZorvatMessageSource* pSource)
    : CZorvatMessageSink(DescribedTypes(desc)), m_desc(desc), m_pSource(pSource), m_pRows(std::make_unique<CDataArray>())
{
}

CDataTable::~CDataTable()
{
    CDataTable::Destroy();
}

BOOL CDataTable::IsUsableDescription(const TABLE_DESC& desc)
{
    const int nColumns = static_cast<int>(desc.columns.size());
    const auto inside = [nColumns](int nCol) { return nCol >= 0 && nCol < nColumns; };
    if (nColumns == 0 || desc.nFixedColumns < 0 || desc.nFixedColumns > nColumns)
        return FALSE;
    if (!std::all_of(desc.keys.begin(), desc.keys.end(), inside))
        return FALSE;
    const auto sortInside = [&inside](const TABLE_SORT_KEY& key) { return inside(key.nColumn); };
    if (!std::all_of(desc.sort.begin(), desc.sort.end(), sortInside))
        return FALSE;
    return std::all_of(desc.maps.begin(), desc.maps.end(), [nColumns](const TABLE_FIELD_MAP& map) {
        return static_cast<int>(map.fields.size()) <= nColumns && static_cast<int>(map.arabicFields.size()) <= nColumns;
    });
}

BOOL CDataTable::Create(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    // A second Create would add its columns to the open table under the windows showing it.
    if (m_table.GetViewCount() == 0 || m_table.GetView(0)->IsOpen() || !IsUsableDescription(m_desc))
        return FALSE;
    // A class that fixes its own columns keeps them whatever its maker asks; the others take the
    // maker's count when it fits.
    if (m_desc.nFixedColumns > 0 || nFixedColumns < 0 || nFixedColumns > static_cast<int>(m_desc.columns.size()))
        nFixedColumns = m_desc.nFixedColumns;
    m_bComplete = FALSE;
    m_nNameId = nNameId;
    GetSharedGlobals()->LoadString(m_strName, nNameId);
    if (m_strName.IsEmpty())
        m_strName.Format("%u", nNameId);
    m_table.SetName(m_strName);
    CreateColumns();
    InitFieldMaps();
    m_table.SetFixedColumnCount(nFixedColumns);
    CSortColumns keys(SORT_KEY_CAPACITY);
    for (const TABLE_SORT_KEY& key : m_desc.sort)
        keys.Add(key.nColumn, key.nDirection);
    m_table.SetDefaultSortColumns(keys);
    m_strTitle.Empty();
    if (nTitleId != 0)
        GetSharedGlobals()->LoadString(m_strTitle, nTitleId);
    if (m_strTitle.IsEmpty())
        m_strTitle = m_strName;
    m_table.SetTitle(m_strTitle, 0);
    const BOOL bLines = (m_desc.nFlags & TABLEF_NO_GROUP_LINES) == 0;
    m_table.SetGroupHeaderMode(bLines ? 2 : 0);
    m_table.SetTotalsMode(bLines ? 3 : 0);
    // Rows come from the server only, and several windows share them.
    m_table.SetAllowCut(FALSE);
    m_table.SetAllowPaste(FALSE);
    m_table.SetAllowFixedColumns(TRUE);
    m_table.SetShowHeader(TRUE);
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    SelectSection(&settings);
    LoadSettings(&settings);
    if (!m_table.Open()) {
        MessageBoxA(nullptr, "Unable to create CTable.", nullptr, MB_OK | MB_ICONERROR);
        AbandonCreate();
        return FALSE;
    }
    m_pRows->SetTable(&m_table);
    if (!m_desc.keys.empty() && !m_pRows->SetKeyColumns(m_desc.keys)) {
        AbandonCreate();
        return FALSE;
    }
    std::vector<int> money;
    for (size_t c = 0; c < m_desc.columns.size(); ++c)
        if (m_desc.columns[c].nFlags & COLF_MONEY)
            money.push_back(static_cast<int>(c));
    m_pRows->SetMoneyColumns(money, m_desc.nCurrencyColumn, m_desc.nMoneyDecimals);
    CViewTable* pView = m_table.GetView(0);
    pView->SetTitle(GetViewTitle(pView, FALSE), 0);
    pView->SetTitle(GetViewTitle(pView, TRUE), 1);
    CTableMDIWnd* pMain = CreateWindowOnView(pView);
    if (pMain == nullptr) {
        AbandonCreate();
        return FALSE;
    }
    pMain->GetGrid().AddEventSink(this);
    if (m_desc.nFlags & TABLEF_FOLLOW_LAST_ROW)
        pMain->GetGrid().SetFollowLastRow(TRUE);
    if (m_desc.crCellBack0 != TABLE_NO_COLOR)
        pMain->GetGrid().SetCellBackColor(static_cast<COLORREF>(m_desc.crCellBack0), 0);
    // Registered last: nothing can fail after this, so a failed table is never found by name
    // nor handed a line.
    if (CNorvApp* pApp = CNorvApp::Get())
        pApp->AddTable(this);
    if (m_pSource != nullptr && (m_desc.nFlags & TABLEF_NO_SINK) == 0 && GetSinkId() < 0)
        m_pSource->AddSink(GetSinkRecord());
    return TRUE;
}

void CDataTable::AbandonCreate()
{
    CDataTable::Destroy();
    m_pRows = std::make_unique<CDataArray>();
    m_baseMap.clear();
    m_maps.clear();
    m_nNameId = 0;
    m_strName.Empty();
    m_strTitle.Empty();
}

void CDataTable::Destroy()
{
    if (m_pSource != nullptr && GetSinkId() >= 0)
        m_pSource->RemoveSink(GetSinkId());
    m_held.clear();
    m_bReceiving = FALSE;
    CMDITable::Destroy();
    // The rows leave the engine table while it still holds them.
    if (m_pRows != nullptr)
        m_pRows->RemoveAll();
    m_table.Reset();
}

void CDataTable::CreateColumns()
{
    for (const TABLE_COLUMN& def : m_desc.columns)
        AddDescribedColumn(def);
    // An amount shows its row's currency's places: a dinar's fils, a dollar's cents.
    if (m_desc.nCurrencyColumn >= 0)
        for (size_t c = 0; c < m_desc.columns.size() && static_cast<int>(c) < m_table.GetColumnCount(); ++c)
            if ((m_desc.columns[c].nFlags & COLF_MONEY) != 0)
                m_table.GetColumn(static_cast<int>(c)).SetUnit(m_desc.nCurrencyColumn, CurrencyDecimals);
}

void CDataTable::InitFieldMaps()
{
    const BOOL bArabic = GetNorvGlobals().m_nLanguage == 1;
    m_baseMap.clear();
    for (const TABLE_COLUMN& def : m_desc.columns)
        m_baseMap.push_back(bArabic && def.nArabicField != FIELD_NONE ? def.nArabicField : def.nField);
    m_maps.clear();
    for (const TABLE_FIELD_MAP& map : m_desc.maps) {
        m_maps.push_back({map.nMessageType, {}});
        BuildMap(m_maps.back().map, map.fields, map.arabicFields, bArabic);
    }
}

const std::vector<int>& CDataTable::GetFieldMap(int nMessageType) const
{
    for (const CTypedMap& map : m_maps)
        if (nMessageType != 0 && map.nType == nMessageType)
            return map.map;
    return m_baseMap;
}

CColumn CDataTable::AddColumn(UINT nTitleId, int nWidth, int nDecimals, int nType, int nAlign, int nSize)
{
    CString strTitle;
    GetSharedGlobals()->LoadString(strTitle, nTitleId);
    if (strTitle.IsEmpty())
        strTitle.Format("%u", nTitleId);
    CColumn column = m_table.AddColumn();
    // The name is the column's identity in a saved layout.
    column.SetName(strTitle);
    column.SetTitle(strTitle, 0);
    column.SetTitle(strTitle, 1);
    column.SetWidth(nWidth);
    column.SetDecimals(nDecimals);
    column.SetDataType(nType);
    column.SetAlignment(nAlign);
    if (nSize != 0)
        column.SetSize(nSize + 1);
    return column;
}

CColumn CDataTable::AddIntColumn(UINT nTitleId)
{
    CColumn column = AddColumn(nTitleId != 0 ? nTitleId : IDS_KEY_COLUMN_TITLE, 10, 0, COLTYPE_INT32, ALIGN_RIGHT, 0);
    column.SetOptionFlag(FALSE);
    column.SetHidden(TRUE);
    column.SetUserSwitchable(FALSE);
    column.SetSortable(FALSE);
    return column;
}

CColumn CDataTable::AddStringColumn(UINT nTitleId, int nWidth, int nSize, int nAlign)
{
    return AddColumn(nTitleId, nWidth, 0, COLTYPE_STRING, nAlign, nSize);
}

CColumn CDataTable::AddTimeColumn(UINT nTitleId, BOOL bPacked, int nWidth, int nAlign)
{
    return AddColumn(nTitleId, nWidth, 0, bPacked ? COLTYPE_PACKED_TIME : COLTYPE_TIME_TEXT, nAlign, 0);
}

CColumn CDataTable::AddDateTimeColumn(UINT nTitleId, BOOL bPacked, int nWidth, int nAlign)
{
    return AddColumn(nTitleId, nWidth, 0, bPacked ? COLTYPE_PACKED_DATETIME : COLTYPE_DATETIME_TEXT, nAlign, 0);
}

CColumn CDataTable::AddDateColumn(UINT nTitleId, BOOL bPacked, int nWidth, int nAlign)
{
    return AddColumn(nTitleId, nWidth, 0, bPacked ? COLTYPE_PACKED_DATE : COLTYPE_DATE_TEXT, nAlign, 0);
}

CColumn CDataTable::AddNumberColumn(UINT nTitleId, int nWidth, int nDecimals, int nAlign, BOOL bThousands,
                                    BOOL bOmitZeroFraction, int nMinDecimals, BOOL bBlankZero)
{
    CColumn column = AddColumn(nTitleId, nWidth, nDecimals, COLTYPE_INT32, nAlign, 0);
    column.SetThousands(bThousands);
    column.SetOmitZeroFraction(bOmitZeroFraction ? 1 : 0);
    column.SetMinDecimals(nMinDecimals);
    column.SetBlankZero(bBlankZero);
    return column;
}

CColumn CDataTable::AddDescribedColumn(const TABLE_COLUMN& def)
{
    if (def.nFlags & COLF_KEY)
        return AddIntColumn(def.nTitleId);
    CColumn column = AddColumn(def.nTitleId != 0 ? def.nTitleId : IDS_KEY_COLUMN_TITLE, ColumnKindWidth(def.nWidth), def.nDecimals,
                               def.nType, def.nAlign, def.nSize);
    // As wide as what it holds and its title, until the trader sets a width. A name, a market's
    // name or a sentence gives its room first where the window is too narrow for the figures, a
    // code's word (a side, an order type) after them.
    const BOOL bYields = def.nWidth == NAME_WIDTH || def.nWidth == MARKET_COLUMN_WIDTH
                         || (def.nType == COLTYPE_STRING && def.nWidth >= FREE_TEXT_MIN_WIDTH);
    const BOOL bYieldsLast = def.nType == COLTYPE_COMPUTED && def.pfnFormat != nullptr && (def.nFlags & COLF_KEY_WORD) == 0;
    column.SetFitWidth((m_desc.nFlags & TABLEF_OWN_WIDTHS) == 0, bYields, bYieldsLast);
    if (def.nFlags & COLF_THOUSANDS)
        column.SetThousands(TRUE);
    if ((def.nFlags & COLF_NO_THOUSANDS) || def.nWidth == NUMBER_WIDTH)
        column.SetThousands(FALSE);
    if (def.nFlags & COLF_OMIT_ZERO_FRACTION)
        column.SetOmitZeroFraction(1);
    if (def.nMinDecimals != 0)
        column.SetMinDecimals(def.nMinDecimals);
    if (def.nFlags & COLF_BLANK_ZERO)
        column.SetBlankZero(TRUE);
    if (def.nFlags & COLF_ZERO_SHOWN)
        column.SetBlankZero(FALSE);
    if (def.nFlags & COLF_SUMMED)
        column.SetSummed(TRUE);
    if (def.nFlags & COLF_NOT_SORTABLE)
        column.SetSortable(FALSE);
    if (def.nFlags & COLF_HIDDEN) {
        column.SetHidden(TRUE);
        column.SetUserSwitchable((def.nFlags & COLF_SWITCHABLE) != 0);
    }
    if (def.pfnFormat != nullptr)
        column.SetComputed(def.pfnFormat, def.nFormatValue);
    return column;
}

void CDataTable::ConvertDateFields(CServerMessage* pMsg, const std::vector<int>& map) const
{
    const int nColumns = static_cast<int>(std::min(map.size(), m_desc.columns.size()));
    for (int c = 0; c < nColumns; ++c) {
        const TABLE_COLUMN& def = m_desc.columns[static_cast<size_t>(c)];
        if ((def.nFlags & COLF_SERVER_DATE) == 0 || map[static_cast<size_t>(c)] < 0)
            continue;
        const int nField = map[static_cast<size_t>(c)];
        const CString strDate = ConvertServerDateField(pMsg->GetFieldOrOverrideText(nField), def.nType);
        if (!strDate.IsEmpty())
            pMsg->SetOverride(nField, strDate);
    }
}

BOOL CDataTable::FillRow(CServerMessage* pMsg, CDataBuffer* pRow, BOOL bPublish)
{
    return pMsg != nullptr && FillRow(pMsg, pMsg->GetType(), pRow, bPublish);
}

BOOL CDataTable::FillRow(CServerMessage* pMsg, int nType, CDataBuffer* pRow, BOOL bPublish)
{
    CViewTable* pView = m_table.GetViewCount() > 0 ? m_table.GetView(0) : nullptr;
    if (pMsg == nullptr || pRow == nullptr || pView == nullptr)
        return FALSE;
    const std::vector<int>& map = GetFieldMap(nType);
    ConvertDateFields(pMsg, map);
    CBufferRowWriter writer(pRow, pView);
    pMsg->FillRow(map.data(), static_cast<int>(map.size()), &writer, bPublish);
    // A line may name the row's currency after its amounts: they are held once it is known.
    if (m_desc.nCurrencyColumn >= 0)
        for (size_t c = 0; c < map.size() && c < m_desc.columns.size(); ++c)
            if ((m_desc.columns[c].nFlags & COLF_MONEY) != 0 && map[c] >= 0 && map[c] < pMsg->GetSize())
                pRow->SetDouble(static_cast<int>(c), pRow->GetDouble(static_cast<int>(c)), bPublish);
    return TRUE;
}

void CDataTable::TableOnReplyBegin(CServerMessage* pMsg)
{
    // Only the reply the description names opens this table's cycle.
    if (pMsg == nullptr || (m_desc.nReplyType != 0 && pMsg->GetType() != m_desc.nReplyType))
        return;
    BeginReply((m_desc.nFlags & TABLEF_REPLY_ADDS) == 0);
}

void CDataTable::BeginReply(BOOL bEmpty)
{
    if (m_pSource != nullptr && GetSinkId() >= 0)
        m_pSource->SetReceiving(GetSinkId());
    m_bReceiving = TRUE;
    if ((m_desc.nFlags & TABLEF_QUIET_REPLY) == 0)
        if (CNorvApp* pApp = CNorvApp::Get())
            pApp->SetBusyFlag(TRUE);
    // A second reply while one runs starts over: what was held is older than its rows.
    m_held.clear();
    if (bEmpty)
        RemoveAllRows();
    m_pRows->BeginUpdate();
    for (int i = 0; i < m_table.GetViewCount(); ++i)
        m_table.GetView(i)->SetLoading(TRUE);
}

BOOL CDataTable::TableOnRecord(CServerMessage* pMsg)
{
    if (!m_bReceiving || pMsg == nullptr || (m_pSource != nullptr && !m_pSource->IsRestricted()))
        return FALSE;
    std::unique_ptr<CDataBuffer> pRow(m_pRows->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    m_pRows->AddRow(pRow.get(), TRUE);
    return TRUE;
}

void CDataTable::TableOnEnd(CServerMessage* /*pMsg*/)
{
    EndReply(TRUE);
}

void CDataTable::EndReply(BOOL bComplete)
{
    // An "EN" of another table's reply, or one after an error header, is not ours.
    if (!m_bReceiving)
        return;
    m_bReceiving = FALSE;
    if (m_pSource != nullptr && GetSinkId() >= 0)
        m_pSource->ClearReceiving(GetSinkId());
    if ((m_desc.nFlags & TABLEF_QUIET_REPLY) == 0)
        if (CNorvApp* pApp = CNorvApp::Get())
            pApp->SetBusyFlag(FALSE);
    m_pRows->EndUpdate();
    for (int i = 0; i < m_table.GetViewCount(); ++i)
        m_table.GetView(i)->SetLoading(FALSE);
    m_bComplete = m_bComplete || bComplete;
    ApplyHeldLines();
}

void CDataTable::TableOnLive(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsLiveType(pMsg->GetType()))
        return;
    if (!m_bComplete && (m_desc.nFlags & TABLEF_LIVE_UNGATED) == 0)
        return;
    if (m_bReceiving) {
        // Applied now, the line would land in rows the refill is about to replace, or be
        // searched for in a store that finds nothing until it is sorted.
        if (m_held.size() < MAX_HELD_LIVE_LINES)
            m_held.push_back(std::make_unique<CServerMessage>(*pMsg));
        return;
    }
    ApplyLive(pMsg);
}

BOOL CDataTable::IsLiveType(int nType) const
{
    return m_desc.liveTypes.empty() || std::find(m_desc.liveTypes.begin(), m_desc.liveTypes.end(), nType) !=
                                           m_desc.liveTypes.end();
}

void CDataTable::ApplyHeldLines()
{
    std::vector<std::unique_ptr<CServerMessage>> held;
    held.swap(m_held);
    for (size_t i = 0; i < held.size(); ++i) {
        held[i]->ResetOverrides();
        ApplyLive(held[i].get());
        // A subclass's live work may ask for the table again: the rest waits for that reply.
        if (m_bReceiving) {
            for (size_t j = i + 1; j < held.size(); ++j)
                m_held.push_back(std::move(held[j]));
            return;
        }
    }
}

void CDataTable::ApplyLive(CServerMessage* pMsg)
{
    std::unique_ptr<CDataBuffer> pLine(m_pRows->NewRow());
    FillRow(pMsg, pLine.get(), FALSE);
    const int nIndex = m_pRows->FindIndexOfRow(pLine.get());
    if (nIndex < 0) {
        m_pRows->AddRow(pLine.get(), TRUE);
        return;
    }
    // The stored row takes the line's fields in one batch: one re-sort, one repaint.
    CDataBuffer* pRow = m_pRows->GetAt(nIndex);
    pRow->BeginChanges();
    pMsg->ResetOverrides();
    FillRow(pMsg, pRow, TRUE);
    pRow->Commit();
}

long CDataTable::SendRequest(LPCSTR pszBody)
{
    if (m_desc.nRequestType == 0)
        return 0;
    CString strLine;
    if (FormatRequestLine(&strLine, m_desc.nRequestType, pszBody != nullptr ? pszBody : "", 1, FALSE, FALSE, nullptr,
                          FALSE) != REQUEST_OK)
        return 0;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr ? pApp->SendRequest(strLine) : 0;
}

void CDataTable::NameCompany(CDataBuffer* pRow, BOOL bPublish)
{
    const COMPANY_NAME_COLUMNS& company = m_desc.company;
    const CZorvatGlobals* pGlobals = GetGlobals();
    if (company.nName < 0 || pGlobals == nullptr || pRow == nullptr || !pRow->GetText(company.nName).IsEmpty())
        return;
    const CString strName = CompanyNameOf(pGlobals->GetMarketCode(pRow->GetText(company.nMarket)),
                                          pRow->GetText(company.nSymbol), /*bInterface=*/TRUE);
    if (!strName.IsEmpty())
        pRow->SetText(company.nName, strName, bPublish);
}

void CDataTable::NameCompanies()
{
    for (int i = 0; i < m_pRows->GetCount(); ++i)
        NameCompany(m_pRows->GetAt(i), TRUE);
}

void CDataTable::RemoveAllRows()
{
    m_table.RemoveAllRows();
    m_pRows->RemoveAll();
}
