#pragma once
// The body of the market tables' row dialogs (price alert, own position): a template whose
// input fields are described by one constant table, read by this class. The caller presets each
// field's text, runs DoModal and, after IDOK, reads the texts and numbers back; the dialog sends
// nothing and stores nothing.
//
// Fields marked shown-only are read-only and skipped by Tab. A numeric field opens in its own
// format, a zero as an empty field (nothing set). On OK it hands back its text without thousands
// separators and its value; an empty field is 0. A text that is not a number (one put there past
// the field's typing filter) is told in a message box, string IDS_FIELD_NOT_A_NUMBER, and the
// dialog stays open on that field with the text selected.
#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

#define IDS_FIELD_NOT_A_NUMBER  7271

// One input field: its control, the column kind it edits (COLTYPE_STRING, COLTYPE_INT64,
// COLTYPE_DOUBLE), its decimal code (-n: n fraction digits), its length limit and whether the
// user may change it.
struct DIALOG_FIELD
{
    int nId;
    int nType;
    int nDecimals;
    int nMaxLength;
    BOOL bShownOnly;
};

class CFieldDialog : public CDialog
{
public:
    static constexpr int MAX_FIELDS = 4;

protected:
    // The table outlives the dialog (a constant of the derived class); at most MAX_FIELDS rows.
    CFieldDialog(UINT nIDTemplate, const DIALOG_FIELD* pFields, int nFields, CWnd* pParent);

    // By the field's row in the table; an index outside it sets nothing and reads "" and 0.
    void SetFieldText(int nField, LPCSTR pszText);
    const CString& GetFieldText(int nField) const;
    double GetFieldValue(int nField) const;

    BOOL OnInitDialog() override;       // the first field the user may change takes the focus
    void DoDataExchange(CDataExchange* pDX) override;

private:
    BOOL IsField(int nField) const { return nField >= 0 && nField < m_nFields; }
    BOOL IsNumeric(int nField) const;
    void LoadNumber(int nField);
    void SaveNumber(CDataExchange* pDX, int nField);

    const DIALOG_FIELD* m_pFields;      // not owned: a constant table
    int m_nFields;
    CEnhancedEdit m_edits[MAX_FIELDS];
    CString m_texts[MAX_FIELDS];
    double m_values[MAX_FIELDS] = {};
};
