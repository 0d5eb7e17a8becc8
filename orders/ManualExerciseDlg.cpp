// Option exercise: the position's option and contracts, the terms asked, confirmed and made.
#include "orders/ManualExerciseDlg.h"

#include <cstdlib>

#include "app/ZorvatApp.h"
#include "framework/table/TableColumn.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/ConfirmManualExerciseDlg.h"
#include "refdata/ZorvatGlobals.h"

namespace {
const UINT US_HOLDINGS_ID = 51170;
const int HOLDING_OPTION_COL = 0;
const int HOLDING_MARKET_COL = 14;
const int SHARES_A_CONTRACT = 100;

const ACTION_EDIT EDITS[] = {
    {IDC_EXERCISE_SYMBOL, COLTYPE_STRING, 0, 6},
    {IDC_EXERCISE_CONTRACTS, COLTYPE_INT32, 0, 10},
    {IDC_EXERCISE_SHARES, COLTYPE_INT32, 0, 10},
    {IDC_EXERCISE_MARKET, COLTYPE_STRING, 0, 12},
};
}  // namespace

CManualExerciseDlg::CManualExerciseDlg() : CActionForm(IDD_FORM_MANUAL_EXERCISE, {MSG_XO})
{
}

CWnd* CManualExerciseDlg::Make(UINT)
{
    return new CManualExerciseDlg;
}

BOOL CManualExerciseDlg::OnInitDialog()
{
    CActionForm::OnInitDialog();
    SetUpEdits(EDITS, m_edits, 4);
    m_edits[0].SetAlphaChars();
    m_edits[1].SetNumericChars();
    m_edits[2].SetReadOnly(TRUE);
    UpdateExerciseButton();
    return TRUE;
}

void CManualExerciseDlg::LoadPosition(LPCSTR pszSymbolKey, LPCSTR pszSecondKey)
{
    if (IsInModal())
        return;                 // the confirmation stands for the position shown
    m_pending.ForgetCheck();
    GetDlgItem(IDC_EXERCISE_SYMBOL)->SetFocus();
    for (CEnhancedEdit& edit : m_edits)
        edit.Clear();
    if (pszSymbolKey != nullptr && *pszSymbolKey != '\0') {
        CDataTable* pTable = FindDataTable(US_HOLDINGS_ID);
        CDataBuffer* pRow = pTable != nullptr && pTable->GetRows() != nullptr
                                ? pTable->GetRows()->FindRow({pszSymbolKey, pszSecondKey != nullptr ? pszSecondKey : ""})
                                : nullptr;
        if (pRow != nullptr) {
            m_edits[0].SetText(pRow->GetText(HOLDING_OPTION_COL));
            m_edits[3].SetText(pRow->GetText(HOLDING_MARKET_COL));
            GetDlgItem(IDC_EXERCISE_CONTRACTS)->SetFocus();
        }
    }
    UpdateExerciseButton();
}

BOOL CManualExerciseDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if (nCode == BN_CLICKED && nId == IDC_EXERCISE_CLOSE) {
        CloseForm();
        return TRUE;
    }
    if (nCode == BN_CLICKED && nId == IDC_EXERCISE_SEND) {
        OnExercise();
        return TRUE;
    }
    if (nCode == EN_CHANGE && nId == IDC_EXERCISE_CONTRACTS) {
        CString strShares;
        strShares.Format("%ld", atol(m_edits[1].GetText(TRUE)) * SHARES_A_CONTRACT);
        m_edits[2].SetText(strShares);
    }
    if (nCode == EN_CHANGE && (nId == IDC_EXERCISE_CONTRACTS || nId == IDC_EXERCISE_SYMBOL || nId == IDC_EXERCISE_MARKET))
        UpdateExerciseButton();
    return CActionForm::OnCommand(wParam, lParam);
}

void CManualExerciseDlg::UpdateExerciseButton()
{
    const CString strContracts = GetText(IDC_EXERCISE_CONTRACTS);
    EnableControl(IDC_EXERCISE_SEND, !GetText(IDC_EXERCISE_SYMBOL).IsEmpty() && !GetText(IDC_EXERCISE_MARKET).IsEmpty() &&
                                         !strContracts.IsEmpty() && atof(strContracts) != 0.0);
}

void CManualExerciseDlg::OnExercise()
{
    if (IsInModal())
        return;
    ORDER_TICKET_SNAPSHOT shot;
    shot.nMode = 0;
    shot.strTicker = GetText(IDC_EXERCISE_SYMBOL);
    shot.strMarketName = GetText(IDC_EXERCISE_MARKET);
    shot.nMarketCode = GetGlobals()->GetMarketCode(shot.strMarketName);
    shot.strQuantity = GetText(IDC_EXERCISE_CONTRACTS);
    const long nNumber = SendBody(*EXERCISE_ROAD.pCheck, shot, nullptr);
    if (nNumber != 0)
        m_pending.CheckSent(EXERCISE_ROAD, nNumber, shot);
    else
        m_pending.ForgetCheck();
}

void CManualExerciseDlg::OnXO(CServerMessage* pMsg)
{
    if (m_pending.IsCheckReply(pMsg) && !IsInModal()) {
        OnTermsReply(CServerMessage(*pMsg));
        return;
    }
    // The exercise made: told once, never confirmed again.
    OUTSTANDING_ORDER order;
    if (!m_pending.TakeOrderReply(pMsg, &order))
        return;
    if (pMsg->GetLong(0) != 0) {
        ShowReplyError(*pMsg, 0);
        return;
    }
    CString strText;
    strText.FormatMessage(IDS_EXERCISE_DONE, static_cast<LPCSTR>(pMsg->GetFieldText(12)),
                          static_cast<LPCSTR>(pMsg->GetFieldText(5)), static_cast<LPCSTR>(pMsg->GetFieldText(13)),
                          static_cast<LPCSTR>(pMsg->GetFieldText(8)));
    ShowMarketInfo(strText, 0, 1);
}

void CManualExerciseDlg::OnTermsReply(const CServerMessage& reply)
{
    ORDER_TICKET_SNAPSHOT shot = m_pending.GetSnapshot();
    m_pending.ForgetCheck();
    if (reply.GetLong(0) != 0) {
        ShowReplyError(reply, 0);
        return;
    }
    // Confirmed once the terms' line is handled.
    AfterLine([this, reply, shot]() mutable {
        CConfirmManualExerciseDlg confirm(reply, this);
        const INT_PTR nResult = RunModal(confirm);
        if (DeleteIfGone() || nResult != IDOK)
            return;
        // What is confirmed is what was asked.
        shot.nMode = 1;
        const long nNumber = SendBody(*EXERCISE_ROAD.pOrder, shot, nullptr);
        if (nNumber == 0)
            return;
        m_pending.OrderSent(EXERCISE_ROAD, nNumber, shot);
    });
}
