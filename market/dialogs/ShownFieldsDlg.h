#pragma once
// The body of the reference-data dialogs: a template of read-only fields, described by one
// constant table of control ranges and kinds, which the derived class fills from the reference
// data when the dialog opens. They send nothing, take nothing back and do not refresh.
#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/Dialog.h"

// A run of controls nFirstId..nLastId of one kind (COLTYPE_STRING, COLTYPE_INT64,
// COLTYPE_DOUBLE) with its decimal code (-n: n fraction digits) and length limit.
struct SHOWN_FIELDS
{
    int nFirstId;
    int nLastId;
    int nType;
    int nDecimals;
    int nMaxLength;
};

class CShownFieldsDlg : public CDialog
{
public:
    static constexpr int MAX_FIELDS = 32;

protected:
    // The table outlives the dialog (a constant of the derived class); fields past MAX_FIELDS
    // are left out.
    CShownFieldsDlg(UINT nIDTemplate, const SHOWN_FIELDS* pRanges, int nRanges, CWnd* pParent);

    // Called once the fields are bound: set each field's value.
    virtual void FillFields() = 0;
    // By control id; an id outside the table sets nothing.
    void SetFieldText(int nId, LPCSTR pszText);
    void SetFieldNumber(int nId, double dValue);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int FindField(int nId) const;

    struct FIELD { int nId; const SHOWN_FIELDS* pKind; };
    FIELD m_fields[MAX_FIELDS] = {};
    int m_nFields = 0;
    CEnhancedEdit m_edits[MAX_FIELDS];
    CString m_texts[MAX_FIELDS];
};
