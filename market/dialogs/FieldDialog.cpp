// The row dialogs' common body: the fields' exchange, read from the derived class's table.
#include "market/dialogs/FieldDialog.h"

#include "framework/base/ColumnValues.h"
#include "framework/base/NorvGlobals.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/user/Dialogs.h"

namespace {
// The number of a field's text (thousands separators already out); an empty text is 0. FALSE
// for a text that is not a number of the field's kind.
BOOL ReadNumber(const DIALOG_FIELD& field, const CTBString& strText, double* pdValue)
{
    *pdValue = 0;
    if (strText.GetLength() == 0)
        return TRUE;
    const CColumnDataType type(field.nType, /*bThousands=*/FALSE, 0, 0, /*bBlankZero=*/FALSE);
    if (field.nType == COLTYPE_INT64) {
        LONGLONG nValue = 0;
        if (!ParseInt64Value(&nValue, field.nDecimals, type, strText))
            return FALSE;
        *pdValue = static_cast<double>(nValue);
        return TRUE;
    }
    return ParseDoubleValue(pdValue, field.nDecimals, type, strText);
}
}  // namespace

CFieldDialog::CFieldDialog(UINT nIDTemplate, const DIALOG_FIELD* pFields, int nFields, CWnd* pParent)
    : CDialog(nIDTemplate, pParent),
      m_pFields(pFields),
      m_nFields(pFields != nullptr && nFields > 0 ? (nFields < MAX_FIELDS ? nFields : MAX_FIELDS) : 0)
{
}

void CFieldDialog::SetFieldText(int nField, LPCSTR pszText)
{
    if (IsField(nField))
        m_texts[nField] = pszText != nullptr ? pszText : "";
}

const CString& CFieldDialog::GetFieldText(int nField) const
{
    static const CString s_strNone;
    return IsField(nField) ? m_texts[nField] : s_strNone;
}

double CFieldDialog::GetFieldValue(int nField) const
{
    return IsField(nField) ? m_values[nField] : 0;
}

BOOL CFieldDialog::IsNumeric(int nField) const
{
    const int nType = m_pFields[nField].nType;
    return !m_pFields[nField].bShownOnly && (nType == COLTYPE_INT64 || nType == COLTYPE_DOUBLE);
}

BOOL CFieldDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    int nFirst = -1;
    for (int n = 0; n < m_nFields; ++n) {
        if (m_pFields[n].bShownOnly)
            m_edits[n].SetReadOnly(TRUE);
        else if (nFirst < 0)
            nFirst = n;
    }
    if (nFirst < 0)
        return TRUE;
    // The text is selected whole: a preset value is usually typed over.
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_edits[nFirst].m_hWnd), TRUE);
    return FALSE;
}

void CFieldDialog::DoDataExchange(CDataExchange* pDX)
{
    // The texts first, as the caller set them; the bindings then subclass the items and give
    // them their kinds, which a numeric field needs before its text can be read as a number.
    for (int n = 0; n < m_nFields; ++n)
        DDX_Text(pDX, m_pFields[n].nId, m_texts[n]);
    for (int n = 0; n < m_nFields; ++n) {
        const DIALOG_FIELD& field = m_pFields[n];
        DDX_EnhancedEdit(pDX, field.nId, m_edits[n], field.nType, field.nDecimals, field.nMaxLength, 0,
                         EE_KEEP_COLOR, EE_KEEP_COLOR, m_texts[n]);
    }
    for (int n = 0; n < m_nFields && !pDX->HasFailed(); ++n) {
        if (!IsNumeric(n))
            continue;
        if (pDX->m_bSaveAndValidate)
            SaveNumber(pDX, n);
        else
            LoadNumber(n);
    }
}

void CFieldDialog::LoadNumber(int nField)
{
    CEnhancedEdit& edit = m_edits[nField];
    edit.SetThousandsGrouping(TRUE);
    double dValue = 0;
    // Nothing set reads as 0 and shows as nothing, so the user types into an empty field.
    if (!ReadNumber(m_pFields[nField], edit.GetText(FALSE), &dValue) || dValue == 0)
        edit.Clear();
    else
        edit.Reformat();
}

void CFieldDialog::SaveNumber(CDataExchange* pDX, int nField)
{
    CEnhancedEdit& edit = m_edits[nField];
    const CTBString strText = edit.GetText(FALSE);
    double dValue = 0;
    if (!ReadNumber(m_pFields[nField], strText, &dValue)) {
        pDX->PrepareEditCtrl(m_pFields[nField].nId);
        CString strMessage;
        strMessage.LoadString(IDS_FIELD_NOT_A_NUMBER);
        const UINT uReading = GetNorvGlobals().m_bRightToLeft ? MB_RIGHT | MB_RTLREADING : 0;
        ::MessageBoxA(m_hWnd, strMessage, nullptr, MB_OK | MB_ICONEXCLAMATION | uReading);
        pDX->Fail();
        return;
    }
    m_texts[nField] = strText.GetLength() == 0 ? CString() : CString(static_cast<LPCSTR>(edit.GetPlainText()));
    m_values[nField] = dValue;
}
