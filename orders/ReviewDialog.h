#pragma once
// The body of the order review dialogs: the server's priced answer to a check request shown in
// read-only fields, and the trading password that confirms it. What a dialog shows is one
// constant layout per reply (control, reply field, how it is shown, when), read by one filler;
// each dialog class adds only its template, its kept-password store and its side rules.
//
// The password: shorter than 6 characters puts the server's text of error 306 into the
// information window (raised at priority 2) and keeps the dialog open on the field; a '|' or a
// control character, which would break the order's request line, keeps it open on the field as
// the login dialog does. Otherwise the password is kept for the next review of the same class
// when its keep box (1774) is checked, the kept one emptied when not, and the dialog ends IDOK.
// Kept passwords live until the user logs off (the keep flags stay).
#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

class CServerMessage;

#define IDC_REVIEW_PASSWORD     1637
#define IDC_REVIEW_KEEP         1774
#define IDC_REVIEW_LABEL_A      1705
#define IDC_REVIEW_LABEL_B      1706
#define IDC_REVIEW_SIDE         5747
#define IDS_REVIEW_CANCEL_ORDER 40350
#define IDS_REVIEW_MODIFY_ORDER 40351
#define IDS_REVIEW_PLACE_ORDER  40353
#define REVIEW_ERROR_SHORT_PASSWORD 306
#define REVIEW_PASSWORD_MIN     6
#define IDS_REVIEW_BAD_PASSWORD 40384

// How a reply field is shown.
enum REVIEW_KIND
{
    RK_TEXT,            // the field as received
    RK_NUMBER,          // GetDouble, printed with the format
    RK_WHOLE,           // GetLong, printed with the format
    RK_PRICE,           // GetDouble as the price rule shows it, at least nPriceDecimals
    RK_STOCK,           // "%s / %s": the KSE stock's symbol and the field
    RK_STOCK_NAME,      // the name the caller passed, else the stock list's name of the field's stock
    RK_SIDE,            // the code texts of the field: side, order type, duration
    RK_ORDER_TYPE,
    RK_DURATION,
    RK_FILL_RULE,       // the forward order's fill rule (CFillRest)
    RK_DATE,            // a server date (a good-till, a maturity) as "%d/%m/%Y"; empty when invalid
    RK_FORWARD_PRICE,   // the field minus (side code 2) or plus the sum of fields 13 and 14
};

// When a row is filled; otherwise its control stays empty.
enum REVIEW_CONDITION
{
    RC_ALWAYS,
    RC_NOT_ZERO,        // the field's number is not 0
    RC_SIDE_1,          // the side code is 1
    RC_SIDE_NOT_1,
    RC_DURATION_1,      // the layout's duration field is 1 (a good-till date)
};

#define RD_AS_FILLED 1  // a row's display: shown as filled; else a grouped number with these decimals

struct REVIEW_ROW
{
    int nControl;
    int nKind;
    int nField;         // -1: none (reads as 0 or "")
    const char* pszFormat;
    int nCondition;
    int nDisplay;       // RD_AS_FILLED, or the decimal code (0, -2, -3) the number is grouped with
    int nPriceDecimals = 0; // RK_PRICE: the market's decimals
};

struct REVIEW_LAYOUT
{
    const REVIEW_ROW* pRows;
    int nRows;
    int nSideField;     // -1: the reply carries no side
    int nDurationField; // -1: none
};

// One review class's kept password; process-wide, one per class.
struct KEPT_PASSWORD
{
    BOOL bKeep = FALSE;
    CString strPassword;
};

// What a review class is: its template, the password's length limit, its kept-password store
// (not owned; a static of the class) and whether the keep flag is the ".General" "RememberPIN"
// setting the application keeps.
struct REVIEW_CLASS
{
    UINT nTemplate;
    int nPasswordMax;
    KEPT_PASSWORD* pKept;
    BOOL bKeepIsSetting;
};

class CReviewDialog : public CDialog
{
public:
    static constexpr int MAX_DISPLAYS = 24;
    static constexpr int NO_MODE = -1;

    // After IDOK: the password as typed (or as kept).
    const CString& GetPassword() const { return m_strPassword; }
    int GetSideCode() const { return m_nSideCode; }
    // A string id for the window's title, before DoModal; 0 keeps the template's.
    void SetTitleId(UINT nTitleId) { m_nTitleId = nTitleId; }

    // Empties every class's kept password (log-off); the keep flags stay.
    static void ForgetKeptPasswords();

protected:
    // nMode: 0 a new order (confirm button 40353), 2 a modification (40351), 1 a cancellation
    // (40350); NO_MODE keeps the template's button.
    CReviewDialog(const REVIEW_CLASS& reviewClass, int nMode, CWnd* pParent);

    // Fills the display texts from the reply by the layout (the layout outlives the dialog);
    // pszName is the name the caller knows for the stock, null or "" for none.
    void Fill(const REVIEW_LAYOUT& layout, const CServerMessage& reply, LPCSTR pszName);
    // A text put into a control of the template beside the layout's.
    void SetDisplayText(int nControl, LPCSTR pszText);
    // The side rules: controls shown or hidden, run before each exchange.
    virtual void ShowBySide() {}
    void ShowControl(int nId, BOOL bShow);
    // The KSE boards' side rule: label 1706 for side code 1 (bought), 1705 otherwise.
    void ShowKseSideLabels();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    struct DISPLAY
    {
        int nControl = 0;
        int nDisplay = RD_AS_FILLED;
        BOOL bFilled = FALSE;           // a row of the layout applied
        CString strText;
    };
    DISPLAY* FindDisplay(int nControl);
    BOOL GetKeep() const;
    void SetKeep(BOOL bKeep);
    void RefuseField(int nId);

    const REVIEW_CLASS& m_class;
    int m_nMode;
    UINT m_nTitleId = 0;
    int m_nSideCode = 0;
    DISPLAY m_displays[MAX_DISPLAYS];
    int m_nDisplays = 0;
    CEnhancedEdit m_edits[MAX_DISPLAYS];
    CEnhancedEdit m_editPassword;
    CString m_strPassword;
    int m_nKeep = 0;
};
