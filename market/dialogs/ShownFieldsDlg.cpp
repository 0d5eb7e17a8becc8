// The reference-data dialogs' common body: the fields of the table, bound and read-only.
#include "market/dialogs/ShownFieldsDlg.h"

#include "framework/base/ColumnDataType.h"
#include "platform/mfc/DataExchange.h"

CShownFieldsDlg::CShownFieldsDlg(UINT nIDTemplate, const SHOWN_FIELDS* pRanges, int nRanges, CWnd* pParent)
    : CDialog(nIDTemplate, pParent)
{
    for (int nRange = 0; pRanges != nullptr && nRange < nRanges; ++nRange) {
        for (int nId = pRanges[nRange].nFirstId; nId <= pRanges[nRange].nLastId && m_nFields < MAX_FIELDS; ++nId)
            m_fields[m_nFields++] = {nId, &pRanges[nRange]};
    }
}

int CShownFieldsDlg::FindField(int nId) const
{
    for (int n = 0; n < m_nFields; ++n) {
        if (m_fields[n].nId == nId)
            return n;
    }
    return -1;
}

void CShownFieldsDlg::SetFieldText(int nId, LPCSTR pszText)
{
    const int nField = FindField(nId);
    if (nField >= 0)
        m_edits[nField].SetText(pszText != nullptr ? pszText : "");
}

void CShownFieldsDlg::SetFieldNumber(int nId, double dValue)
{
    const int nField = FindField(nId);
    if (nField < 0)
        return;
    if (m_fields[nField].pKind->nType == COLTYPE_DOUBLE) {
        m_edits[nField].SetDouble(dValue);
        return;
    }
    const LONGLONG nValue = static_cast<LONGLONG>(dValue);
    m_edits[nField].SetValue(&nValue);
}

BOOL CShownFieldsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int n = 0; n < m_nFields; ++n)
        m_edits[n].SetReadOnly(TRUE);
    FillFields();
    return TRUE;
}

void CShownFieldsDlg::DoDataExchange(CDataExchange* pDX)
{
    for (int n = 0; n < m_nFields; ++n) {
        const SHOWN_FIELDS& kind = *m_fields[n].pKind;
        DDX_EnhancedEdit(pDX, m_fields[n].nId, m_edits[n], kind.nType, kind.nDecimals, kind.nMaxLength, 0,
                         EE_KEEP_COLOR, EE_KEEP_COLOR, m_texts[n]);
    }
}
