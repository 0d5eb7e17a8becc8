// Expiration instruction: asked for a symbol and market, shown, changed and submitted.
#include "orders/ExpirationInstructionDlg.h"

#include <cstdlib>

#include "framework/table/TableColumn.h"
#include "framework/window/EnhancedComboBox.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "platform/mfc/OleDateTime.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum SHOWN { SHOWN_TEXT, SHOWN_MARKET, SHOWN_RIGHT, SHOWN_DATE };
// The fields by control: kind, whether the user edits it, the "XI" reply field and how it shows.
const struct { ACTION_EDIT edit; BOOL bEditable; int nField; int nShown; } FIELDS[CExpirationInstructionDlg::EDITS] = {
    {{IDC_EXPIRY_SYMBOL, COLTYPE_STRING, 0, 6}, TRUE, 4, SHOWN_TEXT},
    {{6715, COLTYPE_STRING, 0, 256}, FALSE, 10, SHOWN_TEXT},
    {{IDC_EXPIRY_MARKET, COLTYPE_STRING, 0, 256}, TRUE, 5, SHOWN_MARKET},
    {{6717, COLTYPE_STRING, 0, 256}, FALSE, 11, SHOWN_RIGHT},
    {{6718, COLTYPE_DOUBLE, -4, 256}, FALSE, 12, SHOWN_TEXT},
    {{6719, COLTYPE_STRING, 0, 256}, FALSE, 13, SHOWN_DATE},
    {{6720, COLTYPE_INT32, 0, 10}, FALSE, 14, SHOWN_TEXT},
    {{6721, COLTYPE_INT32, 0, 10}, FALSE, 15, SHOWN_TEXT},
    {{IDC_EXPIRY_LIMIT, COLTYPE_DOUBLE, -4, 256}, TRUE, 9, SHOWN_TEXT},
    {{IDC_EXPIRY_CONTRACTS, COLTYPE_INT32, 0, 10}, TRUE, 7, SHOWN_TEXT},
    {{IDC_EXPIRY_MIN_IN_MONEY, COLTYPE_DOUBLE, -4, 256}, TRUE, 8, SHOWN_TEXT},
};
const int LIMIT = 8, CONTRACTS = 9, MIN_IN_MONEY = 10;
// The fields the user types, each with the text that refuses a value below 0.
const struct { int nEdit; UINT nBelowZero; } TYPED[] = {{CONTRACTS, 40385}, {MIN_IN_MONEY, 40386}, {LIMIT, 40387}};

CString DateText(LPCSTR pszField)
{
    const CString strDate = ConvertServerDateField(pszField, 24);
    const COleDateTime date(atoi(strDate.Mid(0, 4)), atoi(strDate.Mid(4, 2)), atoi(strDate.Mid(6, 2)), 0, 0, 0);
    return strDate.GetLength() >= 8 && date.GetStatus() == COleDateTime::valid ? date.Format("%Y/%m/%d") : CString();
}
}  // namespace

CExpirationInstructionDlg::CExpirationInstructionDlg() : CActionForm(IDD_FORM_EXPIRATION_INSTRUCTION, {MSG_XI})
{
}

CWnd* CExpirationInstructionDlg::Make(UINT)
{
    return new CExpirationInstructionDlg;
}

BOOL CExpirationInstructionDlg::OnInitDialog()
{
    CActionForm::OnInitDialog();
    ACTION_EDIT rows[EDITS];
    for (int i = 0; i < EDITS; ++i)
        rows[i] = FIELDS[i].edit;
    SetUpEdits(rows, m_edits, EDITS);
    for (int i = 0; i < EDITS; ++i)
        m_edits[i].SetReadOnly(!FIELDS[i].bEditable);
    return TRUE;
}

void CExpirationInstructionDlg::Preset(LPCSTR pszSymbol, LPCSTR pszMarket)
{
    for (CEnhancedEdit& edit : m_edits)
        edit.Clear();
    m_strSymbol = pszSymbol != nullptr ? pszSymbol : "";
    m_strMarket = pszMarket != nullptr ? pszMarket : "";
    m_edits[0].SetText(m_strSymbol);
    m_edits[2].SetText(m_strMarket);
    SendInstruction(0);
}

BOOL CExpirationInstructionDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if (nCode == BN_CLICKED && nId == IDC_EXPIRY_SUBMIT) {
        SendInstruction(1);
        return TRUE;
    }
    if (nCode == BN_CLICKED && nId == IDC_EXPIRY_CLOSE) {
        CloseForm();
        return TRUE;
    }
    if ((nCode == EN_KILLFOCUS || nCode == ECBN_LEFT) && (nId == IDC_EXPIRY_SYMBOL || nId == IDC_EXPIRY_MARKET))
        OnKeyLeft(nId);
    return CActionForm::OnCommand(wParam, lParam);
}

void CExpirationInstructionDlg::OnKeyLeft(int nId)
{
    CString& strRemembered = nId == IDC_EXPIRY_SYMBOL ? m_strSymbol : m_strMarket;
    const CString strText = GetText(nId);
    if (strText == strRemembered)
        return;
    strRemembered = strText;
    SendInstruction(0);
}

void CExpirationInstructionDlg::SendInstruction(int nMode)
{
    if (m_strSymbol.IsEmpty())
        return;
    for (const auto& typed : TYPED) {
        if (m_edits[typed.nEdit].GetDouble() < 0) {
            ShowRefusal(typed.nBelowZero, FIELDS[typed.nEdit].edit.nControl);
            return;
        }
    }
    ORDER_TICKET_SNAPSHOT shot;
    shot.nMode = nMode;
    shot.strTicker = GetText(IDC_EXPIRY_SYMBOL);
    shot.strMarketName = GetText(IDC_EXPIRY_MARKET);
    shot.nMarketCode = GetGlobals()->GetMarketCode(shot.strMarketName);
    shot.strQuantity.Format("%ld", m_edits[CONTRACTS].GetLong());
    shot.strLimitPrice.Format("%lf", m_edits[MIN_IN_MONEY].GetDouble());
    shot.strStopPrice.Format("%lf", m_edits[LIMIT].GetDouble());
    // Each "XI" stays outstanding until its own reply: a question asked while a submit is under
    // way does not hide the submit's refusal.
    m_pending.OrderSent(INSTRUCTION_ROAD, SendBody(*INSTRUCTION_ROAD.pOrder, shot, nullptr), shot);
}

void CExpirationInstructionDlg::OnXI(CServerMessage* pMsg)
{
    OUTSTANDING_ORDER request;
    if (!m_pending.TakeOrderReply(pMsg, &request))
        return;
    if (pMsg->GetLong(0) != 0) {
        // The refusal names what it refuses: the server's insert, else the symbol asked for.
        CServerMessage reply(*pMsg);
        if (reply.GetField(1).IsEmpty())
            reply.SetAtGrow(1, request.shot.strTicker);
        ShowReplyError(reply, 0);
        return;
    }
    // An instruction submitted is told as taken, as every order's answer is.
    if (request.shot.nMode == 1) {
        CString strText;
        strText.FormatMessage(IDS_EXPIRY_RECORDED, pMsg->GetField(4), pMsg->GetField(7));
        ShowMarketInfo(strText, 0, 1);
    }
    // A later request's answer is to come: it shows the form as it stands then.
    if (m_pending.IsOrderPending())
        return;
    for (int i = 0; i < EDITS; ++i) {
        const LPCSTR pszField = pMsg->GetFieldText(FIELDS[i].nField);
        CString strText;
        switch (FIELDS[i].nShown) {
        case SHOWN_MARKET: strText = GetGlobals()->GetMarketName(atol(pszField)); break;
        case SHOWN_RIGHT: strText = COptionRight::GetText(atoi(pszField)); break;
        case SHOWN_DATE: strText = DateText(pszField); break;
        default: strText = pszField; break;
        }
        m_edits[i].SetText(strText);
        if (FIELDS[i].edit.nType != COLTYPE_STRING)
            m_edits[i].Reformat();
    }
    m_strSymbol = GetText(IDC_EXPIRY_SYMBOL);
    m_strMarket = GetText(IDC_EXPIRY_MARKET);
}
