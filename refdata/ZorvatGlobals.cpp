#include "refdata/ZorvatGlobals.h"

#include <cstdio>
#include <cstring>
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "link/MessageSource.h"
#include "platform/win/user/Sound.h"
#include "refdata/MarketListClient.h"

#define IDS_GLOBALS_TEXT1 1020
#define IDS_GLOBALS_TEXT2 1022
#define IDS_GLOBALS_TEXT3 1024

void CGlobals::LoadStrings()
{
    m_strText1.LoadString(IDS_GLOBALS_TEXT1);
    m_strText2.LoadString(IDS_GLOBALS_TEXT2);
    m_strText3.LoadString(IDS_GLOBALS_TEXT3);
}

CZorvatGlobals::CZorvatGlobals()
    : CZorvatMessageSink({MSG_XC, MSG_DS, MSG_SL, MSG_CL, MSG_MT, MSG_GM, MSG_CM, MSG_MM, MSG_GG, MSG_TI, MSG_NU}),
      m_currencies(10), m_markets(10), m_marketStates(10), m_stockLists(10), m_symbolMaps(10),
      m_englishNames(10), m_arabicNames(10), m_strMarketsFile("Markets.zvt")
{
    SetMarketTimeOffsets(this);
}

CZorvatGlobals::~CZorvatGlobals()
{
    Unregister();
    ClearSymbolMaps();
}

void CZorvatGlobals::ClearSymbolMaps()
{
    POSITION pos = m_symbolMaps.GetStartPosition();
    while (pos != nullptr) {
        int nCode = 0;
        CSymbolMap* pMap = nullptr;
        m_symbolMaps.GetNextAssoc(pos, nCode, pMap);
        delete pMap;
    }
    m_symbolMaps.RemoveAll();
    m_pCurrentSymbols = nullptr;
}

BOOL CZorvatGlobals::Register(CZorvatMessageSource* pSource, IMarketListClient* pClient)
{
    if (pSource == nullptr || !pSource->AddSink(&m_sink))
        return FALSE;
    m_pClient = pClient;
    return TRUE;
}

void CZorvatGlobals::Unregister()
{
    if (m_sink.m_pSource != nullptr)
        m_sink.m_pSource->RemoveSink(m_sink.m_nId);
    m_pClient = nullptr;
}

const CMap<int, int, CString, LPCSTR>& CZorvatGlobals::NameMap() const
{
    return GetNorvGlobals().m_nLanguage != 0 ? m_arabicNames : m_englishNames;
}

CString CZorvatGlobals::GetMarketName(long nCode) const
{
    CString strName;
    if (nCode == 0)
        return strName;
    if (!LookupMarketName(nCode, strName))
        strName.Format("%ld", nCode);
    return strName;
}

BOOL CZorvatGlobals::LookupMarketName(long nCode, CString& strName) const
{
    return NameMap().Lookup(static_cast<int>(nCode), strName);
}

BOOL CZorvatGlobals::FormatMarketColumn(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol)
{
    if (pszBuf == nullptr || nSize <= 0 || pRow == nullptr || nCol < 0)
        return FALSE;
    const CString strName = GetGlobals()->GetMarketName(pRow[nCol].nValue);
    snprintf(pszBuf, static_cast<size_t>(nSize), "%s", static_cast<LPCSTR>(strName));
    return TRUE;
}

long CZorvatGlobals::GetMarketCode(LPCSTR pszName) const
{
    if (pszName == nullptr)
        return 0;
    const CMap<int, int, CString, LPCSTR>& names = NameMap();
    POSITION pos = names.GetStartPosition();
    while (pos != nullptr) {
        int nCode = 0;
        CString strName;
        names.GetNextAssoc(pos, nCode, strName);
        if (strcmp(strName, pszName) == 0)
            return nCode;
    }
    return 0;
}

void CZorvatGlobals::GetMarketCodes(CArray<int, int>& codes) const
{
    codes.RemoveAll();
    POSITION pos = m_markets.GetStartPosition();
    while (pos != nullptr) {
        int nCode = 0;
        MarketDetail market;
        m_markets.GetNextAssoc(pos, nCode, market);
        codes.Add(nCode);
    }
}

void CZorvatGlobals::GetMarketCodeList(CArray<int, int>& codes) const
{
    for (int i = 0; i < m_permittedCodes.GetSize(); ++i)
        codes.Add(m_permittedCodes[i]);
}

BOOL CZorvatGlobals::LookupMarket(long nCode, MarketDetail& market) const
{
    return m_markets.Lookup(static_cast<int>(nCode), market);
}

long CZorvatGlobals::GetMarketTimeOffset(long nMarketCode) const
{
    MarketDetail market;
    return LookupMarket(nMarketCode, market) ? market.m_nTimeOffset : 0;
}

int CZorvatGlobals::GetMarketState(long nCode) const
{
    int nState = -1;
    return m_marketStates.Lookup(static_cast<int>(nCode), nState) ? nState : -1;
}

void CZorvatGlobals::SetMarketState(long nCode, int nState)
{
    m_marketStates[static_cast<int>(nCode)] = nState;
}

void CZorvatGlobals::GetCurrencyCodes(CStringArray& codes) const
{
    codes.RemoveAll();
    POSITION pos = m_currencies.GetStartPosition();
    while (pos != nullptr) {
        CString strCode;
        CurrencyDetail currency;
        m_currencies.GetNextAssoc(pos, strCode, currency);
        codes.Add(strCode);
    }
}

BOOL CZorvatGlobals::LookupCurrency(LPCSTR pszCode, CurrencyDetail& currency) const
{
    return pszCode != nullptr && m_currencies.Lookup(pszCode, currency);
}

void CZorvatGlobals::GetStockListNames(long nMarket, CStringArray& symbols) const
{
    symbols.RemoveAll();
    POSITION pos = m_stockLists.GetStartPosition();
    while (pos != nullptr) {
        CString strSymbol;
        StockList stock;
        m_stockLists.GetNextAssoc(pos, strSymbol, stock);
        if (stock.market == nMarket)
            symbols.Add(strSymbol);
    }
}

void CZorvatGlobals::GetMarketSymbols(long nMarket, CStringArray& symbols) const
{
    symbols.RemoveAll();
    CSymbolMap* pMap = nullptr;
    if (!m_symbolMaps.Lookup(static_cast<int>(nMarket), pMap) || pMap == nullptr)
        return;
    POSITION pos = pMap->GetStartPosition();
    while (pos != nullptr) {
        CString strSymbol;
        ShortStockListEntry entry;
        pMap->GetNextAssoc(pos, strSymbol, entry);
        symbols.Add(strSymbol);
    }
}

BOOL CZorvatGlobals::LookupShortStockEntry(long nMarket, LPCSTR pszSymbol, ShortStockListEntry& entry) const
{
    CSymbolMap* pMap = nullptr;
    if (pszSymbol == nullptr || !m_symbolMaps.Lookup(static_cast<int>(nMarket), pMap) || pMap == nullptr)
        return FALSE;
    return pMap->Lookup(pszSymbol, entry);
}

void CZorvatGlobals::RequestMarketList()
{
    if (m_pClient == nullptr)
        return;
    const CUser user = m_pClient->GetUser();
    const CString strAccount = user.GetAccountText();
    // The account text is the server's claim: a separator in it would shift the request's fields.
    if (strpbrk(strAccount, "|\r\n") != nullptr)
        return;
    CString strBody;
    strBody.Format("||%ld|%s", static_cast<long>(user.GetUserNumber()), static_cast<LPCSTR>(strAccount));
    m_pClient->SendRequest(MSG_XC, strBody);
}

void CZorvatGlobals::RequestCurrencyList()
{
    if (m_pClient == nullptr)
        return;
    CString strBody;
    strBody.Format("||%ld|", static_cast<long>(m_pClient->GetUser().GetUserNumber()));
    m_pClient->SendRequest(MSG_CL, strBody);
}

void CZorvatGlobals::ClearSchedule()
{
    for (CNorvTime& time : m_scheduleTimes)
        time = CNorvTime();
    m_bScheduleIn = FALSE;
}

CNorvTime CZorvatGlobals::GetScheduleTime(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(sizeof(m_scheduleTimes) / sizeof(m_scheduleTimes[0])))
        return CNorvTime();
    return m_scheduleTimes[nIndex];
}

void CZorvatGlobals::PlayAlertSound() const
{
    if (m_nAlertSoundMode == 1) {
        if (GetNorvGlobals().m_bBeep)
            MessageBeep(0);
    } else if (m_nAlertSoundMode == 2) {
        if (CSharedGlobals* pShared = GetSharedGlobals())
            pShared->PlaySoundFile(m_strAlertSoundFile);
    }
}

CZorvatGlobals* GetGlobals()
{
    static CZorvatGlobals s_globals;
    return &s_globals;
}
