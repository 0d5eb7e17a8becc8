// The position forms' common body: fields described by rows, and requests for another account.
#include "orders/ActionForm.h"

void CActionForm::SetUpEdits(const ACTION_EDIT* pRows, CEnhancedEdit* pEdits, int nEdits)
{
    for (int i = 0; i < nEdits; ++i) {
        const ACTION_EDIT& row = pRows[i];
        COrderFormBase::SetUpEdits({{&pEdits[i], row.nControl, row.nType, row.nDecimals, row.nLength}});
        // Numbers here are names and counts as the server gives them: shown without grouping.
        pEdits[i].SetThousandsGrouping(FALSE);
    }
}

long CActionForm::SendBody(const ORDER_BODY& body, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword,
                           LPCSTR pszAccount, LPCSTR pszUser)
{
    ORDER_VALUES values = ValuesOf(shot, pszPassword);
    if (pszAccount != nullptr)
        values.strAccount = pszAccount;
    if (pszUser != nullptr)
        values.strUser = pszUser;
    UINT nRefusal = 0;
    const long nNumber = COrderFormBase::SendBody(body, values, &nRefusal);
    if (nRefusal != 0)
        ShowRefusal(nRefusal);
    return nNumber;
}
