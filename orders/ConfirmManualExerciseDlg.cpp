// The exercise's confirmation: the reply's terms in read-only fields.
#include "orders/ConfirmManualExerciseDlg.h"

#include <cstdlib>

#include "framework/table/TableColumn.h"
#include "market/TableLinks.h"
#include "platform/mfc/OleDateTime.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatTypes.h"

namespace {
const COLORREF WARNING_COLOUR = RGB(194, 2, 0);

enum SHOWN { SHOWN_TEXT, SHOWN_RIGHT, SHOWN_DATE, SHOWN_PRICE, SHOWN_AMOUNT, SHOWN_NUMBER, SHOWN_NONE };
// The fields by control: the reply field, how it is shown and the field's kind. The strike is a
// price of four decimals; the amount paid and the cash left are money, in cents and grouped.
const struct { int nControl; int nField; int nShown; int nType; int nDecimals; } ROWS[CConfirmManualExerciseDlg::FIELDS] = {
    {6726, 5, SHOWN_TEXT, COLTYPE_STRING, 0},     {6727, 9, SHOWN_RIGHT, COLTYPE_STRING, 0},
    {6728, 10, SHOWN_DATE, COLTYPE_STRING, 0},    {6729, 11, SHOWN_PRICE, COLTYPE_DOUBLE, -4},
    {6731, 12, SHOWN_NUMBER, COLTYPE_INT32, 0},   {6730, 13, SHOWN_NUMBER, COLTYPE_INT32, 0},
    {6732, 14, SHOWN_AMOUNT, COLTYPE_DOUBLE, -2},  {6733, 15, SHOWN_AMOUNT, COLTYPE_DOUBLE, -2},
    {6734, 16, SHOWN_NUMBER, COLTYPE_INT32, 0},   {IDC_CONFIRM_WARNING, -1, SHOWN_NONE, COLTYPE_STRING, 0},
};

// A server date as "%Y/%m/%d"; empty when it is no valid date.
CString DateText(LPCSTR pszField)
{
    const CString strDate = ConvertServerDateField(pszField, 24);
    const COleDateTime date(atoi(strDate.Mid(0, 4)), atoi(strDate.Mid(4, 2)), atoi(strDate.Mid(6, 2)), 0, 0, 0);
    return strDate.GetLength() >= 8 && date.GetStatus() == COleDateTime::valid ? date.Format("%Y/%m/%d") : CString();
}
}  // namespace

BEGIN_MESSAGE_MAP(CConfirmManualExerciseDlg, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CConfirmManualExerciseDlg::CConfirmManualExerciseDlg(const CServerMessage& reply, CWnd* pParent)
    : CDialog(IDD_CONFIRM_EXERCISE, pParent), m_reply(reply)
{
}

BOOL CConfirmManualExerciseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < FIELDS; ++i) {
        CEnhancedEdit& edit = m_edits[i];
        edit.SubclassDlgItem(ROWS[i].nControl, m_hWnd);
        edit.SetDataType(ROWS[i].nType, ROWS[i].nDecimals);
        edit.SetThousandsGrouping(ROWS[i].nShown == SHOWN_AMOUNT);
        edit.SetReadOnly(TRUE);
        CString strText;
        switch (ROWS[i].nShown) {
        case SHOWN_TEXT: strText = m_reply.GetField(ROWS[i].nField); break;
        case SHOWN_RIGHT: strText = COptionRight::GetText(m_reply.GetLong(ROWS[i].nField)); break;
        case SHOWN_DATE: strText = DateText(m_reply.GetFieldText(ROWS[i].nField)); break;
        case SHOWN_PRICE: strText.Format("%.4f", m_reply.GetDouble(ROWS[i].nField, 0)); break;
        case SHOWN_AMOUNT: strText.Format("%.2f", m_reply.GetDouble(ROWS[i].nField, 0)); break;
        case SHOWN_NUMBER: strText = m_reply.GetField(ROWS[i].nField); break;
        default: break;
        }
        edit.SetText(strText);
        if (ROWS[i].nType != COLTYPE_STRING)
            edit.Reformat();
    }
    // The money left after the exercise: below zero the user is warned in red.
    CEnhancedEdit& warning = m_edits[FIELDS - 1];
    const BOOL bShort = m_reply.GetDouble(15, 0) < 0;
    if (bShort) {
        warning.SetText(LoadMarketText(IDS_CONFIRM_SHORT_CASH));
        warning.SetTimedTextColor(WARNING_COLOUR, 0);
    }
    ::ShowWindow(warning.m_hWnd, bShort ? SW_SHOW : SW_HIDE);
    return TRUE;
}

HBRUSH CConfirmManualExerciseDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    for (CEnhancedEdit& edit : m_edits)
        if (pWnd != nullptr && pWnd->m_hWnd == edit.m_hWnd)
            return edit.CtlColor(pDC->GetSafeHdc());
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
