// The KSE board's per-stock settings: the price alert that fires once, the outside holding
// valued at the market, the ticker flag, all kept in the shared settings file under
// "<name>.TickerKSE" keyed by the stock's number.
#include <cstdio>
#include "app/InfoTable.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "framework/base/TBString.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/QuotationKSETable.h"
#include "market/dialogs/AlertDlg.h"
#include "market/dialogs/ExtrenalPortfolio.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Sound.h"

#define IDS_ALERT_REACHED 55296          // "%1" stock, "%2" alert price

namespace {

void SelectSettingsSection(CIni& ini, LPCSTR pszTable)
{
    char szSection[128];
    snprintf(szSection, sizeof(szSection), "%s.TickerKSE", pszTable != nullptr ? pszTable : "");
    ini.SetSection(szSection);
}

CTBString Key(LPCSTR pszName, long nStock)
{
    char szKey[64];
    snprintf(szKey, sizeof(szKey), "%s%ld", pszName, nStock);
    return szKey;
}

CString Format(LPCSTR pszFormat, double dValue)
{
    char szText[64];
    snprintf(szText, sizeof(szText), pszFormat, dValue);
    return szText;
}

double RowReference(const CDataBuffer* pRow)
{
    return KSEReferencePrice(pRow->GetDouble(KC_LAST), pRow->GetDouble(KC_PREVIOUS), pRow->GetDouble(KC_REFERENCE3));
}

}  // namespace

void CQuotationKSETable::OnLayoutSaved(CTableMDIWnd* pWindow)
{
    if (pWindow != nullptr && pWindow == GetMainWindow())
        SaveUserSettings(GetSharedGlobals()->m_settings);
}

void CQuotationKSETable::LoadSettings(CIni* pIni)
{
    CDataTable::LoadSettings(pIni);
    // Before the columns exist (during Create) there is nothing to put the settings on.
    if (pIni == nullptr || GetTable() == nullptr || GetTable()->GetColumnCount() < KC_COUNT)
        return;
    const CTBString strSection = pIni->GetSection();
    LoadUserSettings(*pIni);
    pIni->SetSection(strSection);
}

void CQuotationKSETable::SaveUserSettings(CIni& ini)
{
    SelectSettingsSection(ini, GetName());
    ini.WriteBool("ShowExtKSE", m_bShowExternal);
    CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        const long nStock = pRow->GetLong(KC_STOCK);
        ini.WriteString(Key("TickerKSE", nStock), pRow->GetText(KC_STOCK));
        ini.WriteLong(Key("ExtQtyKSE", nStock), static_cast<LONG>(pRow->GetDouble(KC_EXT_QTY)));
        ini.WriteLong(Key("ExtPrcKSE", nStock), PriceToSetting(pRow->GetDouble(KC_EXT_PRICE)));
        ini.WriteLong(Key("AlertPrcKSE", nStock), PriceToSetting(pRow->GetDouble(KC_ALERT_PRICE)));
        ini.WriteLong(Key("AlertDirKSE", nStock), pRow->GetLong(KC_ALERT_DIR));
        ini.WriteBool(Key("ScrollingTickerKSE", nStock), pRow->GetLong(KC_TICKER) != 0);
    }
}

void CQuotationKSETable::LoadUserSettings(CIni& ini)
{
    if (GetTable() == nullptr || GetTable()->GetColumnCount() < KC_COUNT)
        return;
    SelectSettingsSection(ini, GetName());
    SetShowExternal(ini.GetBool("ShowExtKSE", FALSE));
    CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        CDataBuffer* pRow = pRows->GetAt(i);
        const long nStock = pRow->GetLong(KC_STOCK);
        const double dQuantity = ini.GetLong(Key("ExtQtyKSE", nStock), 0);
        const double dPrice = SettingToPrice(ini.GetLong(Key("ExtPrcKSE", nStock), 0));
        const double dAlert = SettingToPrice(ini.GetLong(Key("AlertPrcKSE", nStock), 0));
        const int nDirection = static_cast<int>(ini.GetLong(Key("AlertDirKSE", nStock), ALERT_NONE));
        const int nTicker = ini.GetBool(Key("ScrollingTickerKSE", nStock), TRUE) ? 1 : 0;
        pRow->BeginChanges();
        pRow->SetValue(KC_EXT_QTY, &dQuantity, TRUE);
        pRow->SetValue(KC_EXT_PRICE, &dPrice, TRUE);
        if (nDirection == ALERT_NONE)
            pRow->SetText(KC_ALERT_PRICE, "", TRUE);
        else
            pRow->SetValue(KC_ALERT_PRICE, &dAlert, TRUE);
        pRow->SetValue(KC_ALERT_DIR, &nDirection, TRUE);
        pRow->SetValue(KC_TICKER, &nTicker, TRUE);
        UpdateHoldingColumns(pRow);
        pRow->Commit();
    }
}

void CQuotationKSETable::UpdateHoldingColumns(CDataBuffer* pRow)
{
    QUOTE_PRICES prices;
    prices.dLast = pRow->GetDouble(KC_LAST);
    prices.dClose = pRow->GetDouble(KC_PREVIOUS);
    prices.dOpen = pRow->GetDouble(KC_REFERENCE3);
    POSITION_FIGURES figures;
    ComputePositionFigures(pRow->GetDouble(KC_EXT_QTY), pRow->GetDouble(KC_EXT_PRICE), prices, &figures);
    pRow->SetValue(KC_EXT_COST, &figures.dCost, TRUE);
    pRow->SetValue(KC_EXT_VALUE, &figures.dValue, TRUE);
    pRow->SetValue(KC_EXT_GAIN, &figures.dGain, TRUE);
    pRow->SetValue(KC_EXT_GAIN_PERCENT, &figures.dGainPercent, TRUE);
    pRow->SetCellAttribute(KC_EXT_GAIN, figures.nAttr);
    pRow->SetCellAttribute(KC_EXT_GAIN_PERCENT, figures.nAttr);
}

void CQuotationKSETable::SetShowExternal(BOOL bShow)
{
    m_bShowExternal = bShow;
    if (GetTable() == nullptr || GetTable()->GetColumnCount() < KC_COUNT)
        return;
    // Off hides them for good: the column chooser cannot bring them back.
    for (int nCol = KC_EXT_QTY; nCol <= KC_EXT_GAIN_PERCENT; ++nCol) {
        CColumn column = GetTable()->GetColumn(nCol);
        column.SetUserSwitchable(bShow);
        column.SetHidden(!bShow);
    }
}

void CQuotationKSETable::FireAlert(CDataBuffer* pRow)
{
    char szPrice[48];
    snprintf(szPrice, sizeof(szPrice), "%.2f", pRow->GetDouble(KC_ALERT_PRICE));
    CString strText;
    strText.FormatMessage(IDS_ALERT_REACHED, static_cast<LPCSTR>(pRow->GetText(KC_STOCK)), szPrice);
    if (IInfoWindow* pInfo = GetSharedGlobals()->m_pInfoWindow)
        pInfo->AddText(strText);
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->BringInfoWindowToTop(INFO_PRIORITY_ERROR);
    MessageBeep(MB_ICONEXCLAMATION);
    // One shot: the user sets it again when wanted.
    const int nNone = ALERT_NONE;
    pRow->SetText(KC_ALERT_PRICE, "", TRUE);
    pRow->SetValue(KC_ALERT_DIR, &nNone, TRUE);
}

BOOL CQuotationKSETable::SetAlert(long nStock, double dAlertPrice)
{
    CDataBuffer* pRow = FindStock(nStock);
    if (pRow == nullptr)
        return FALSE;
    const int nDirection = AlertDirectionFor(dAlertPrice, RowReference(pRow));
    pRow->BeginChanges();
    if (nDirection == ALERT_NONE) {
        pRow->SetText(KC_ALERT_PRICE, "", TRUE);
        pRow->SetValue(KC_ALERT_DIR, &nDirection, TRUE);
    } else {
        pRow->SetValue(KC_ALERT_PRICE, &dAlertPrice, TRUE);
        if (nDirection == ALERT_FIRE_NOW)
            FireAlert(pRow);
        else
            pRow->SetValue(KC_ALERT_DIR, &nDirection, TRUE);
    }
    pRow->Commit();
    return TRUE;
}

BOOL CQuotationKSETable::SetExternalHolding(long nStock, double dQuantity, double dPrice)
{
    CDataBuffer* pRow = FindStock(nStock);
    if (pRow == nullptr)
        return FALSE;
    pRow->BeginChanges();
    pRow->SetValue(KC_EXT_QTY, &dQuantity, TRUE);
    pRow->SetValue(KC_EXT_PRICE, &dPrice, TRUE);
    UpdateHoldingColumns(pRow);
    pRow->Commit();
    return TRUE;
}

BOOL CQuotationKSETable::ToggleTicker(long nStock)
{
    CDataBuffer* pRow = FindStock(nStock);
    if (pRow == nullptr)
        return FALSE;
    const int nFlag = pRow->GetLong(KC_TICKER) == 0 ? 1 : 0;
    pRow->BeginChanges();
    pRow->SetValue(KC_TICKER, &nFlag, TRUE);
    pRow->Commit();
    return TRUE;
}

void CQuotationKSETable::EditAlert(long nStock)
{
    const CDataBuffer* pRow = FindStock(nStock);
    if (pRow == nullptr)
        return;
    CString strStock;
    strStock.Format("%ld", nStock);
    CAlertDlg dlg;
    dlg.SetSymbolText(strStock);
    dlg.SetPriceText(Format("%.2f", RowReference(pRow)));
    dlg.SetAlertText(Format("%.2f", pRow->GetDouble(KC_ALERT_PRICE)));
    if (dlg.DoModal() != IDOK)
        return;
    // The row may have gone while the dialog was open (a refill): found again, or left alone.
    SetAlert(nStock, dlg.GetAlertPrice());
}

void CQuotationKSETable::EditExternalHolding(long nStock)
{
    const CDataBuffer* pRow = FindStock(nStock);
    if (pRow == nullptr)
        return;
    CString strStock;
    strStock.Format("%ld", nStock);
    CExtrenalPortfolio dlg;
    dlg.SetSymbolText(strStock);
    dlg.SetPriceText(Format("%.2f", pRow->GetDouble(KC_EXT_PRICE)));
    dlg.SetQuantityText(Format("%.0f", pRow->GetDouble(KC_EXT_QTY)));
    if (dlg.DoModal() != IDOK)
        return;
    SetExternalHolding(nStock, dlg.GetQuantity(), dlg.GetPrice());
}
