// The order forms' common body: the sink, requests and refusals, the dialog a reply calls for
// (opened after the reply's line), the control helpers.
#include "orders/OrderFormBase.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/ZorvatApp.h"
#include "link/ErrorDictionary.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "platform/win/user/LineHandling.h"

BEGIN_MESSAGE_MAP(COrderFormBase, CFormDialog)
    ON_WM_DESTROY()
    ON_MESSAGE(EEN_REFUSED, OnFieldRefused)
END_MESSAGE_MAP()

COrderFormBase::COrderFormBase(UINT nTemplate, const CMessageTypeSet& types, BOOL bAddSinkNow)
    : CFormDialog(nTemplate), CZorvatMessageSink(types)
{
    if (bAddSinkNow)
        AddSink();
}

void COrderFormBase::AddSink()
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->AddSink(GetSinkRecord());
}

ORDER_VALUES COrderFormBase::ValuesOf(const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword)
{
    ORDER_VALUES values;
    values.pShot = &shot;
    if (const CZORVAT32App* pApp = CZORVAT32App::Get()) {
        const CUser user = pApp->GetUser();
        values.strUser.Format("%d", user.GetUserNumber());
        values.strAccount = user.GetAccountText();
    }
    values.strPassword = pszPassword != nullptr ? pszPassword : "";
    // The flag as this Submit kept it, whatever another ticket kept since.
    values.bKeptFlag = shot.bTicketFlag;
    return values;
}

long COrderFormBase::SendBody(const ORDER_BODY& body, const ORDER_VALUES& values, UINT* pnRefusal)
{
    CString strLine;
    *pnRefusal = BuildOrderRequest(body, values, &strLine);
    if (*pnRefusal != 0)
        return 0;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    const long nNumber = pApp != nullptr ? pApp->SendRequest(strLine) : 0;
    if (nNumber == 0)
        *pnRefusal = IDS_ORDER_NOT_CONNECTED;
    return nNumber;
}

long COrderFormBase::SendNameRequest(LPCSTR pszSymbol, long nMarketCode)
{
    ORDER_TICKET_SNAPSHOT shot;
    shot.strTicker = pszSymbol;
    shot.nMarketCode = nMarketCode;
    ORDER_VALUES values;
    values.pShot = &shot;
    UINT nRefusal = 0;
    // Without a market the server finds the symbol's.
    return SendBody(nMarketCode != 0 ? RN_BODY : RN_SYMBOL_BODY, values, &nRefusal);
}

long COrderFormBase::AskOptionSeries(int nField, CString* pstrAsked)
{
    CString strUnderlying = GetText(nField);
    strUnderlying.Trim();
    if (strUnderlying.IsEmpty() || strUnderlying == *pstrAsked)
        return 0;
    ORDER_TICKET_SNAPSHOT shot;
    shot.strUnderlying = strUnderlying;
    ORDER_VALUES values;
    values.pShot = &shot;
    UINT nRefusal = 0;
    const long nNumber = SendBody(GO_BODY, values, &nRefusal);
    if (nNumber != 0)
        *pstrAsked = strUnderlying;
    return nNumber;
}

void COrderFormBase::FitPanelFrame(BOOL bSidePanel, BOOL bAdvanced)
{
    const int WIDTH_WITH_ACCOUNT = 552, WIDTH_WITHOUT_ACCOUNT = 417;
    const int HEIGHT_WITH_ADVANCED = 230, HEIGHT_WITHOUT_ADVANCED = 200;
    FitFrame(bSidePanel ? WIDTH_WITH_ACCOUNT : WIDTH_WITHOUT_ACCOUNT,
             bAdvanced ? HEIGHT_WITH_ADVANCED : HEIGHT_WITHOUT_ADVANCED);
}

void COrderFormBase::FitFrame(int nWidth, int nHeight)
{
    if (m_hWnd == nullptr)
        return;
    RECT rcForm = {0, 0, nWidth, nHeight};
    MapDialogRect(&rcForm);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rcForm.right, rcForm.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const HWND hFrame = ::GetParent(m_hWnd);
    if (hFrame == nullptr)
        return;
    RECT rcWindow, rcClient;
    ::GetWindowRect(hFrame, &rcWindow);
    ::GetClientRect(hFrame, &rcClient);
    ::SetWindowPos(hFrame, nullptr, 0, 0, rcForm.right + (rcWindow.right - rcWindow.left) - rcClient.right,
                   rcForm.bottom + (rcWindow.bottom - rcWindow.top) - rcClient.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void COrderFormBase::ReceiveRecords(BOOL bReceive, BOOL bBusy)
{
    if (CMessageSource* pSource = GetSinkRecord()->m_pSource) {
        if (bReceive)
            pSource->SetReceiving(GetSinkId());
        else
            pSource->ClearReceiving(GetSinkId());
    }
    if (CZORVAT32App* pApp = CZORVAT32App::Get(); pApp != nullptr && bBusy)
        pApp->SetBusyFlag(bReceive);
}

void COrderFormBase::ShowRefusal(UINT nTextId, int nFocus)
{
    ShowMarketInfo(nullptr, nTextId, 2);
    if (nFocus != 0 && HasControl(nFocus))
        ::SetFocus(::GetDlgItem(m_hWnd, nFocus));
}

LRESULT COrderFormBase::OnFieldRefused(WPARAM wParam, LPARAM lParam)
{
    m_nRefusedField = static_cast<int>(lParam);
    m_nRefusedWhy = wParam;
    return 0;
}

void COrderFormBase::TellRefusedKeys(int nId, UINT nTextId)
{
    if (m_nRefusedField != nId)
        return;
    m_nRefusedField = 0;
    ShowRefusal(m_nRefusedWhy == EER_DECIMALS ? IDS_ORDER_PRICE_DECIMALS : nTextId);
}

LRESULT COrderFormBase::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CFormDialog::WindowProc(uMsg, wParam, lParam);
    const int nId = static_cast<int>(LOWORD(wParam));
    if (uMsg != WM_COMMAND || HIWORD(wParam) != EN_KILLFOCUS || nId == 0 || nId != m_nRefusedField ||
        m_hWnd == nullptr || !IsWindow(m_hWnd))
        return lResult;
    const auto* pEdit = dynamic_cast<const CEnhancedEdit*>(CTBWnd::FromHandle(::GetDlgItem(m_hWnd, nId)));
    const int nType = pEdit != nullptr ? pEdit->GetDataType() : COLTYPE_STRING;
    if (nType == COLTYPE_DOUBLE)
        TellRefusedKeys(nId, IDS_TICKET_PRICE_REFUSED);
    else if (nType == COLTYPE_INT32 || nType == COLTYPE_INT64)
        TellRefusedKeys(nId, IDS_FIELD_DIGITS_REFUSED);
    return lResult;
}

CString ReplyErrorText(const CServerMessage& reply, int nError)
{
    CString strText;
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->GetErrorDictionary().FormatReplyError(&strText, nError, nError + 1, &reply);
    return strText;
}

CString COrderFormBase::AcknowledgedName(const ORDER_ACK& ack, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot,
                                         BOOL bKse)
{
    const CString strSeries = OptionSeriesText(shot);
    if (!strSeries.IsEmpty() || !bKse || ack.nStock < 0)
        return strSeries;
    // A KSE order names its stock by number; one named otherwise stays as named.
    const CString strStock = reply.GetField(ack.nStock);
    return !strStock.IsEmpty() && strspn(strStock, "0123456789") == static_cast<size_t>(strStock.GetLength())
               ? KseOrderName(atol(strStock))
               : CString();
}

void COrderFormBase::ShowReplyError(const CServerMessage& reply, int nError)
{
    ShowMarketInfo(ReplyErrorText(reply, nError), 0, 2);
}

void COrderFormBase::AfterLine(std::function<void()> fn)
{
    ++m_nAfterLine;
    const std::weak_ptr<char> alive = m_pAlive;
    TbPostCall([this, alive, fn = std::move(fn)]() mutable {
        if (alive.expired())
            return;             // the form is deleted: nothing of it opens
        if (m_pModal != nullptr) {
            m_afterModal.push_back(std::move(fn));      // one dialog at a time, in the order asked
            return;
        }
        --m_nAfterLine;
        if (!m_bGone && m_hWnd != nullptr)
            fn();
    });
}

INT_PTR COrderFormBase::RunModal(CDialog& dialog)
{
    if (m_pModal != nullptr)
        return IDCANCEL;
    m_pModal = &dialog;
    const INT_PTR nResult = dialog.DoModal();
    m_pModal = nullptr;
    // What waited for this dialog comes next, after its caller is done with its answer.
    std::vector<std::function<void()>> waiting;
    waiting.swap(m_afterModal);
    for (auto& fn : waiting) {
        --m_nAfterLine;
        AfterLine(std::move(fn));
    }
    return m_bGone ? IDCANCEL : nResult;
}

void COrderFormBase::CancelModal()
{
    if (m_pModal != nullptr && m_pModal->m_hWnd != nullptr)
        m_pModal->EndDialog(IDCANCEL);
}

BOOL COrderFormBase::DeleteIfGone()
{
    if (!m_bGone)
        return FALSE;
    delete this;
    return TRUE;
}

void COrderFormBase::OnDestroy()
{
    // A close or log-off while a dialog runs ends it with Cancel: nothing is sent, and the
    // dialog's caller deletes the form when it is done; a dialog still to open never opens.
    CancelModal();
    if (CMessageSource* pSource = GetSinkRecord()->m_pSource)
        pSource->RemoveSink(GetSinkId());
    CFormDialog::OnDestroy();
}

void COrderFormBase::PostNcDestroy()
{
    if (m_pModal != nullptr)
        m_bGone = TRUE;
    else
        CFormDialog::PostNcDestroy();
}

// ---- Control helpers ----------------------------------------------------------------------

void COrderFormBase::SetUpEdits(std::initializer_list<FORM_EDIT> edits)
{
    for (const FORM_EDIT& edit : edits) {
        if (!HasControl(edit.nId))
            continue;
        edit.pEdit->SubclassDlgItem(edit.nId, m_hWnd);
        edit.pEdit->SetDataType(edit.nType, edit.nDecimals);
        edit.pEdit->SetLengthLimits(edit.nLength, 0);
        SendDlgItemMessage(edit.nId, EM_LIMITTEXT, static_cast<WPARAM>(edit.nLength));
    }
}

CString COrderFormBase::GetText(int nId) const
{
    char szText[512] = "";
    ::GetDlgItemTextA(m_hWnd, nId, szText, sizeof szText);
    return szText;
}

void COrderFormBase::SetText(int nId, LPCSTR pszText)
{
    const CString strText = pszText != nullptr ? pszText : "";
    ::SetDlgItemTextA(m_hWnd, nId, strText);
    for (const PRICE_FIELD& field : m_priceFields)
        if (field.nId == nId && !strText.IsEmpty())
            field.pEdit->Reformat();
}

void COrderFormBase::SetPriceField(CEnhancedEdit& edit, int nId, int nMarketDecimals)
{
    const PRICE_FIELD field = {nId, &edit};
    auto it = std::find_if(m_priceFields.begin(), m_priceFields.end(), [nId](const PRICE_FIELD& f) { return f.nId == nId; });
    if (it == m_priceFields.end())
        m_priceFields.push_back(field);
    else
        *it = field;
    edit.SetDataType(COLTYPE_DOUBLE, PRICE_DECIMAL_CODE);
    edit.SetMinDecimals(nMarketDecimals);
    // What it shows stays whole in the new decimals.
    if (HasControl(nId))
        SetText(nId, GetText(nId));
}

CString COrderFormBase::PriceText(double dPrice)
{
    CString strText;
    strText.Format("%.*f", MAX_PRICE_DECIMALS, dPrice);
    strText.TrimRight('0');
    strText.TrimRight('.');
    return strText;
}

void COrderFormBase::ClearEditable(std::initializer_list<int> fields)
{
    for (int nId : fields)
        if (HWND hField = ::GetDlgItem(m_hWnd, nId); hField != nullptr && (::GetWindowLongA(hField, GWL_STYLE) & ES_READONLY) == 0)
            ::SetWindowTextA(hField, "");
}

void COrderFormBase::EnableControl(int nId, BOOL bEnable)
{
    HWND hControl = ::GetDlgItem(m_hWnd, nId);
    if (hControl == nullptr)
        return;
    const BOOL bHadKeys = !bEnable && ::GetFocus() == hControl;
    ::EnableWindow(hControl, bEnable);
    if (bHadKeys)
        KeepKeysInForm();
}

void COrderFormBase::KeepKeysInForm()
{
    const HWND hFocus = ::GetFocus();
    if (hFocus != nullptr && (!::IsChild(m_hWnd, hFocus) || ::IsWindowEnabled(hFocus)))
        return;
    if (HWND hNext = ::GetNextDlgTabItem(m_hWnd, hFocus, FALSE))
        ::SetFocus(hNext);
}

void COrderFormBase::ShowControl(int nId, BOOL bShow)
{
    if (HWND hControl = ::GetDlgItem(m_hWnd, nId))
        ::ShowWindow(hControl, bShow ? SW_SHOW : SW_HIDE);
}

CString COrderFormBase::GetBoxText(int nId) const
{
    const CString strItem = SelectedItemText(nId);
    return strItem.IsEmpty() ? GetText(nId) : strItem;
}

CString COrderFormBase::SelectedItemText(int nId) const
{
    const HWND hBox = ::GetDlgItem(m_hWnd, nId);
    const LRESULT nItem = ::SendMessageA(hBox, CB_GETCURSEL, 0, 0);
    char szText[512] = "";
    const LRESULT nLength = nItem == CB_ERR ? 0 : ::SendMessageA(hBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(nItem), 0);
    if (nLength <= 0 || nLength >= static_cast<LRESULT>(sizeof szText))
        return CString();
    ::SendMessageA(hBox, CB_GETLBTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(szText));
    return szText;
}

int COrderFormBase::SelectBoxText(int nId, LPCSTR pszText, BOOL bExact)
{
    const UINT nFind = bExact ? CB_FINDSTRINGEXACT : CB_FINDSTRING;
    const LRESULT nItem = SendDlgItemMessage(nId, nFind, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    if (nItem == CB_ERR)
        return -1;
    SendDlgItemMessage(nId, CB_SETCURSEL, static_cast<WPARAM>(nItem));
    return static_cast<int>(nItem);
}

int COrderFormBase::ShowBoxText(int nId, LPCSTR pszText, BOOL bAdd)
{
    LRESULT nItem = SendDlgItemMessage(nId, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    if (nItem == CB_ERR && bAdd && pszText != nullptr && *pszText != '\0')
        nItem = SendDlgItemMessage(nId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText));
    SendDlgItemMessage(nId, CB_SETCURSEL, static_cast<WPARAM>(nItem == CB_ERR ? -1 : nItem));
    return nItem == CB_ERR ? -1 : static_cast<int>(nItem);
}
