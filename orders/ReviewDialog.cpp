// The review dialogs' common body: the filler that reads a layout, the displays' exchange, the
// password rule and the kept-password stores.
#include "orders/ReviewDialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/ZorvatApp.h"
#include "app/dialogs/CredentialDialogs.h"
#include "framework/base/ColumnDataType.h"
#include "framework/base/ColumnValues.h"
#include "framework/base/NorvGlobals.h"
#include "link/ServerMessage.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/user/Dialogs.h"
#include "refdata/PriceText.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatTypes.h"

namespace {
// The stores of the classes that have run, for the log-off.
std::vector<KEPT_PASSWORD*>& KeptStores()
{
    static std::vector<KEPT_PASSWORD*> s_stores;
    return s_stores;
}

CString Printed(const char* pszFormat, double dValue)
{
    // Rounded as every amount the terminal shows: half away from zero as the server wrote it, so
    // that a cash of 1995169.855 reads .86 beside a buying power of .86 (printf would give .85).
    const char* pszPrecision = strstr(pszFormat, "%.");
    if (pszPrecision != nullptr && pszPrecision[2] >= '0' && pszPrecision[2] <= '9' && pszPrecision[3] == 'f')
        dValue = RoundHalfAwayFromZero(dValue, pszPrecision[2] - '0');
    char sz[64];
    snprintf(sz, sizeof sz, pszFormat, dValue);
    return sz;
}

// The layouts print whole numbers with "%d"; GetLong's value fits an int.
CString PrintedWhole(const char* pszFormat, int nValue)
{
    char sz[64];
    snprintf(sz, sizeof sz, pszFormat, nValue);
    return sz;
}

// A server date as the user reads it; "" when it is no date.
CString DateText(LPCSTR pszField)
{
    const CString strDate = ConvertServerDateField(pszField, COLTYPE_DATE_TEXT);
    int nYear = 0, nMonth = 0, nDay = 0;
    if (strDate.GetLength() != 8 || strspn(strDate, "0123456789") != 8 ||
        sscanf(strDate, "%4d%2d%2d", &nYear, &nMonth, &nDay) != 3)
        return "";
    static const int s_days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > s_days[nMonth - 1] ||
        (nMonth == 2 && nDay == 29 && !bLeap))
        return "";
    char sz[32];
    snprintf(sz, sizeof sz, "%02d/%02d/%04d", nDay, nMonth, nYear);
    return sz;
}

CString StockNumberText(long nStock)
{
    CString strText = "=KWD";
    if (nStock != 0)
        strText.Format("%ld", nStock);
    return strText;
}

CString StockSymbol(long nStock)
{
    const BOOL bArabic = GetNorvGlobals().m_bRightToLeft;
    if (const auto* pList = dynamic_cast<const CStockListKSETable*>(FindDataTable(IDS_TABLE_STOCK_LIST_KSE)))
        return pList->GetStockSymbol(nStock, bArabic);
    return StockNumberText(nStock);
}

CString StockName(long nStock)
{
    if (const auto* pList = dynamic_cast<const CStockListKSETable*>(FindDataTable(IDS_TABLE_STOCK_LIST_KSE)))
        // In the language the user reads, as the symbol beside it.
        return pList->GetStockName(nStock, GetNorvGlobals().m_bRightToLeft);
    return "";
}

BOOL RowApplies(const REVIEW_ROW& row, const REVIEW_LAYOUT& layout, const CServerMessage& reply, int nSideCode)
{
    switch (row.nCondition) {
    case RC_NOT_ZERO: return reply.GetDouble(row.nField, 0) != 0;
    case RC_SIDE_1: return nSideCode == 1;
    case RC_SIDE_NOT_1: return nSideCode != 1;
    case RC_DURATION_1: return layout.nDurationField >= 0 && reply.GetLong(layout.nDurationField) == 1;
    default: return TRUE;
    }
}

bool IsFigure(int nKind)
{
    return nKind == RK_NUMBER || nKind == RK_WHOLE || nKind == RK_PRICE || nKind == RK_FORWARD_PRICE;
}

CString RowText(const REVIEW_ROW& row, const CServerMessage& reply, int nSideCode, LPCSTR pszName)
{
    const int nField = row.nField;
    switch (row.nKind) {
    case RK_NUMBER: return Printed(row.pszFormat, reply.GetDouble(nField, 0));
    case RK_WHOLE: return PrintedWhole(row.pszFormat, static_cast<int>(reply.GetLong(nField)));
    case RK_PRICE: return GroupedNumber(static_cast<LPCSTR>(FormatPrice(reply.GetDouble(nField, 0), row.nPriceDecimals))).c_str();
    case RK_STOCK: {
        CString strText;
        strText.Format("%s / %s", static_cast<LPCSTR>(StockSymbol(reply.GetLong(nField))), reply.GetFieldText(nField));
        return strText;
    }
    case RK_STOCK_NAME:
        if (pszName != nullptr && *pszName != '\0')
            return pszName;
        return nField >= 0 ? StockName(reply.GetLong(nField)) : CString();
    case RK_SIDE: return CTransactionType::GetText(static_cast<int>(reply.GetLong(nField)));
    case RK_ORDER_TYPE: return COrderType::GetText(static_cast<int>(reply.GetLong(nField)));
    case RK_DURATION: return COrderDur::GetText(static_cast<int>(reply.GetLong(nField)));
    case RK_FILL_RULE: return CFillRest::GetText(static_cast<int>(reply.GetLong(nField)));
    case RK_DATE: return DateText(reply.GetFieldText(nField));
    case RK_FORWARD_PRICE: {
        const double dCharges = reply.GetDouble(14, 0) + reply.GetDouble(13, 0);
        const double dBase = reply.GetDouble(nField, 0);
        return Printed(row.pszFormat, nSideCode == 2 ? dBase - dCharges : dBase + dCharges);
    }
    default: return reply.GetField(nField);
    }
}
}  // namespace

CReviewDialog::CReviewDialog(const REVIEW_CLASS& reviewClass, int nMode, CWnd* pParent)
    : CDialog(reviewClass.nTemplate, pParent), m_class(reviewClass), m_nMode(nMode)
{
    std::vector<KEPT_PASSWORD*>& stores = KeptStores();
    if (std::find(stores.begin(), stores.end(), m_class.pKept) == stores.end())
        stores.push_back(m_class.pKept);
}

void CReviewDialog::ForgetKeptPasswords()
{
    for (KEPT_PASSWORD* pKept : KeptStores())
        pKept->strPassword.Empty();
}

CReviewDialog::DISPLAY* CReviewDialog::FindDisplay(int nControl)
{
    for (int n = 0; n < m_nDisplays; ++n)
        if (m_displays[n].nControl == nControl)
            return &m_displays[n];
    if (m_nDisplays == MAX_DISPLAYS)
        return nullptr;
    DISPLAY& display = m_displays[m_nDisplays++];
    display.nControl = nControl;
    return &display;
}

void CReviewDialog::SetDisplayText(int nControl, LPCSTR pszText)
{
    if (DISPLAY* pDisplay = FindDisplay(nControl))
        pDisplay->strText = pszText != nullptr ? pszText : "";
}

void CReviewDialog::Fill(const REVIEW_LAYOUT& layout, const CServerMessage& reply, LPCSTR pszName)
{
    m_nSideCode = layout.nSideField >= 0 ? static_cast<int>(reply.GetLong(layout.nSideField)) : 0;
    for (int n = 0; n < layout.nRows; ++n) {
        const REVIEW_ROW& row = layout.pRows[n];
        DISPLAY* pDisplay = FindDisplay(row.nControl);
        if (pDisplay == nullptr)
            continue;
        // Two rows may share a control under opposite conditions: the one that applies writes its
        // text and how it shows.
        if (RowApplies(row, layout, reply, m_nSideCode)) {
            // A cancellation reviews the form's own preview, which carries the order but none of
            // the server's figures: a figure it lacks shows nothing rather than a made-up 0.
            const BOOL bLacking = m_nMode == 1 && IsFigure(row.nKind) && reply.GetField(row.nField).IsEmpty();
            pDisplay->strText = bLacking ? CString() : RowText(row, reply, m_nSideCode, pszName);
            pDisplay->nDisplay = bLacking ? RD_AS_FILLED : row.nDisplay;
            pDisplay->bFilled = TRUE;
        } else if (!pDisplay->bFilled) {
            pDisplay->nDisplay = row.nDisplay;
        }
    }
}

void CReviewDialog::ShowControl(int nId, BOOL bShow)
{
    if (HWND hControl = ::GetDlgItem(m_hWnd, nId))
        ::ShowWindow(hControl, bShow ? SW_SHOW : SW_HIDE);
}

void CReviewDialog::ShowKseSideLabels()
{
    ShowControl(IDC_REVIEW_LABEL_B, m_nSideCode == 1);
    ShowControl(IDC_REVIEW_LABEL_A, m_nSideCode != 1);
}

BOOL CReviewDialog::GetKeep() const
{
    if (m_class.bKeepIsSetting)
        if (const CZORVAT32App* pApp = CZORVAT32App::Get())
            return pApp->IsRememberPin();
    return m_class.pKept->bKeep;
}

void CReviewDialog::SetKeep(BOOL bKeep)
{
    m_class.pKept->bKeep = bKeep;
    if (m_class.bKeepIsSetting)
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->SetRememberPin(bKeep);
}

void CReviewDialog::DoDataExchange(CDataExchange* pDX)
{
    ShowBySide();
    for (int n = 0; n < m_nDisplays; ++n) {
        DISPLAY& display = m_displays[n];
        DDX_Text(pDX, display.nControl, display.strText);
        if (display.nDisplay == RD_AS_FILLED)
            DDX_EnhancedEdit(pDX, display.nControl, m_edits[n], COLTYPE_STRING, 0, 256, 0, EE_KEEP_COLOR,
                             EE_KEEP_COLOR, display.strText);
        else
            DDX_EnhancedEdit(pDX, display.nControl, m_edits[n], COLTYPE_DOUBLE, display.nDisplay, 256, 0,
                             EE_KEEP_COLOR, EE_KEEP_COLOR, display.strText);
    }
    // No minimum here: a short password gets the server's text, not the exchange's message.
    DDX_EnhancedEdit(pDX, IDC_REVIEW_PASSWORD, m_editPassword, COLTYPE_STRING, 0, m_class.nPasswordMax, 0,
                     EE_KEEP_COLOR, EE_KEEP_COLOR, m_strPassword);
    if (!pDX->m_bSaveAndValidate)
        m_nKeep = GetKeep() ? 1 : 0;
    DDX_Check(pDX, IDC_REVIEW_KEEP, m_nKeep);
}

BOOL CReviewDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int n = 0; n < m_nDisplays; ++n) {
        m_edits[n].SetReadOnly(TRUE);
        if (m_displays[n].nDisplay != RD_AS_FILLED) {
            m_edits[n].SetThousandsGrouping(TRUE);
            m_edits[n].Reformat();
        }
    }
    static const UINT s_confirmTexts[] = {IDS_REVIEW_PLACE_ORDER, IDS_REVIEW_CANCEL_ORDER, IDS_REVIEW_MODIFY_ORDER};
    if (m_nMode != NO_MODE) {
        CString strConfirm;
        strConfirm.LoadString(m_nMode >= 0 && m_nMode <= 2 ? s_confirmTexts[m_nMode] : IDS_REVIEW_CANCEL_ORDER);
        ::SetDlgItemTextA(m_hWnd, IDOK, strConfirm);
    }
    if (m_nTitleId != 0) {
        CString strTitle;
        strTitle.LoadString(m_nTitleId);
        SetWindowText(strTitle);
    }
    if (GetKeep())
        m_editPassword.SetText(m_class.pKept->strPassword);
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_editPassword.m_hWnd), TRUE);
    return FALSE;
}

void CReviewDialog::RefuseField(int nId)
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, nId)), TRUE);
}

void CReviewDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // The rule holds for a kept password too: it is checked as if typed now. The password goes
    // into the order's request line, where a '|' would shift the fields and a line feed end the
    // line.
    CString strWhy;
    if (m_strPassword.GetLength() < REVIEW_PASSWORD_MIN) {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            strWhy = pApp->GetErrorText(REVIEW_ERROR_SHORT_PASSWORD);
    } else if (!IsAcceptableCredential(m_strPassword, REVIEW_PASSWORD_MIN)) {
        strWhy.LoadString(IDS_REVIEW_BAD_PASSWORD);
    } else {
        SetKeep(m_nKeep != 0);
        if (m_nKeep != 0)
            m_class.pKept->strPassword = m_strPassword;
        else
            m_class.pKept->strPassword.Empty();
        EndDialog(IDOK);
        return;
    }
    if (CZORVAT32App* pApp = CZORVAT32App::Get()) {
        if (IInfoWindow* pInfo = pApp->GetInfoWindow())
            pInfo->AddText(strWhy);
        pApp->BringInfoWindowToTop(INFO_PRIORITY_ERROR);
    }
    RefuseField(IDC_REVIEW_PASSWORD);
}
