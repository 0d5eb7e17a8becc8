#pragma once
// The input field of the forms and order tickets: a subclassed "Edit" bound to a column data type
// and a decimal code, so that it takes the table engine's kinds, formats and separators. Numeric
// kinds (COLTYPE_INT32, COLTYPE_INT64, COLTYPE_DOUBLE) are typed digit by digit with live
// thousands grouping and a fixed count of fraction digits; text kinds (COLTYPE_CHAR4,
// COLTYPE_STRING) filter characters; other kinds are shown only. The object is the caller's;
// the window is put back to its own procedure when destroyed.
//
// Decimal codes: 0 no fraction, -n exactly n fraction digits (for integer kinds n implied
// decimals), DECIMALS_64THS fractions typed as "whole numerator/denominator".
//
// The parent hears Up and Down (with SetNotifyUpDown) as EEN_UP and EEN_DOWN: wParam 2 with
// Shift, else 1 with Ctrl, else 0; lParam the field's control id. A key or a paste the field
// refuses is posted as EEN_REFUSED (lParam the control id; wParam EER_DECIMALS for a digit past
// the fraction digits the field takes, else 0), so the form can say why.
#include <memory>
#include <string>

#include "framework/base/ColumnDataType.h"
#include "framework/base/TBString.h"
#include "framework/base/TBWnd.h"
#include "framework/window/TBFont.h"

#define EEN_UP   (WM_USER + 1000)
#define EEN_DOWN (WM_USER + 1001)
#define EEN_REFUSED (WM_USER + 1002)
#define EER_DECIMALS 1
#define EE_KEEP_COLOR (static_cast<COLORREF>(-1))

class CDataExchange;
class CString;

class CEnhancedEdit : public CTBWnd
{
public:
    CEnhancedEdit();
    ~CEnhancedEdit() override;

    // Takes over the parent's item; for a combo box its edit part. FALSE when there is none.
    BOOL SubclassDlgItem(UINT nId, HWND hParent);
    // What DDX_EnhancedEdit stores: lengths in characters, 0 = no maximum.
    void SetLengthLimits(LONGLONG nMax, LONGLONG nMin) { m_nMaxLength = nMax; m_nMinLength = nMin; }

    // Kind and format.
    void SetDataType(int nType, int nDecimals);
    void SetFormat(const CColumnDataType& type, int nDecimals);
    void SetThousandsGrouping(BOOL bGrouping) { m_type.SetThousands(bGrouping); }
    // Fraction digits always shown: zeros at the end of the fraction are dropped down to them.
    void SetMinDecimals(int nMinDecimals) { m_type.SetMinDecimals(nMinDecimals); }
    int  GetDataType() const { return m_type.GetDataType(); }
    // Allowed characters for the text kinds; an empty text lifts the restriction.
    void SetValidChars(const char* pszChars);
    void SetNumericChars() { SetValidChars("0123456789.-"); }
    void SetAlphaChars() { SetValidChars("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"); }
    void SetAlphaNumericChars() { SetValidChars("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.-_ "); }
    // Forbidden characters; the flag follows whether the text is empty.
    void SetForbiddenChars(const char* pszChars);
    void SetNoMinus(BOOL bNoMinus) { m_bNoMinus = bNoMinus; }
    void SetFractionDenominator(int nDenominator) { m_nDenominator = nDenominator; }
    void SetNotifyUpDown(BOOL bNotify) { m_bNotifyUpDown = bNotify; }
    // Letter shortcuts of a free text field: typing a letter puts its text in the field.
    void AddShortcut(char chLetter, int nCode, const char* pszText, int nNumber);
    CTBString GetShortcutText(char chLetter) const;
    int  GetShortcutNumber(char chLetter) const;        // -1 when none
    int  GetLastShortcutNumber() const { return m_nLastShortcut; }

    // Read-only keeps the window enabled but unreachable; colours are applied again.
    void SetReadOnly(BOOL bReadOnly);
    BOOL IsReadOnly() const { return m_bReadOnly; }
    void SetKeepColorsReadOnly(BOOL bKeep) { m_bKeepColors = bKeep; }
    // EE_KEEP_COLOR (-1) keeps the remembered background or the current text colour.
    void SetColors(COLORREF crBack, COLORREF crText);
    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetBackColor() const { return m_crBack; }
    // A text colour for a while (at most 65 s; 0 seconds: until the next call or the focus);
    // EE_KEEP_COLOR puts the remembered colour back.
    void SetTimedTextColor(COLORREF crText, int nSeconds);
    // The colours and brush for WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC, reflected by the parent.
    HBRUSH CtlColor(HDC hdc);

    // Setting. Numeric kinds keep digits, '-' and the decimal separator and are formatted.
    void SetText(const char* pszText);
    void SetTextFromChars(const char* pszChars) { SetText(pszChars); }
    void SetValue(const void* pValue);      // an int32, int64, double or text by the kind
    void SetInt64(LONGLONG nValue);
    void SetDouble(double dValue);
    void Clear() { SetTextAndCaret(CTBString(), 0); }     // empty, whatever the kind
    BOOL IsEmpty() const;
    void Reformat();

    // Reading. A text that does not convert empties the field and gives 0.
    long   GetLong();
    double GetDouble();
    CTBString GetFormattedText(BOOL bUngroup) const;
    // The ungrouped text into nSize bytes (terminator included); the count copied.
    int  CopyText(char* pszBuffer, int nSize) const;
    // The ungrouped text; bStrip also takes out every ',' and '\''.
    CTBString GetText(BOOL bStrip) const;
    // Without separators; integer kinds also without the decimal separator.
    CTBString GetPlainText() const;
    // int32, int64 or a text of nTextSize bytes by the kind; TRUE.
    BOOL GetValue(void* pValue, int nTextSize) const;

    // The numeric display form of a text by the field's kind, decimals and separators.
    CTBString FormatNumberText(const char* pszText) const;

    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    static constexpr UINT_PTR COLOR_TIMER = 0;

protected:
    void PreSubclassWindow() override;

private:
    struct CShortcut
    {
        BOOL bSet = FALSE;
        int nCode = 0;
        CTBString strText;
        int nNumber = -1;
    };

    BOOL IsNumeric() const;
    int  MaxLength() const;                     // 0 = none
    BOOL AcceptsTextChar(unsigned char ch) const;
    BOOL AcceptsNumericChar(unsigned char ch) const;
    // Whether typing alone could leave this text in the field: what a paste must result in.
    // pWhy, when given, gets the reason typing would have been refused for (EER_).
    BOOL CouldBeTyped(const std::string& str, WPARAM* pWhy = nullptr) const;
    BOOL IsTypedNumber(const std::string& str, WPARAM* pWhy = nullptr) const;
    BOOL FilterChar(UINT nChar);                // TRUE: handled here, the control never sees it
    BOOL OnNumericChar(UINT nChar);
    BOOL OnTextChar(UINT nChar);
    BOOL OnKey(UINT nKey);
    void OnPaste();
    void Refuse(WPARAM nWhy = 0) const;
    void SetTextAndCaret(const CTBString& strText, int nCaret);
    CTBString GetRaw() const;
    void ApplyRightToLeftFont();
    void RestoreTimedColor();

    std::unique_ptr<CShortcut[]> m_pShortcuts;  // 26 letters; null until the first
    HBRUSH m_hBrush = nullptr;                  // owned
    COLORREF m_crText;
    COLORREF m_crBack;
    COLORREF m_crBackRemembered;
    COLORREF m_crTextRemembered;
    BOOL m_bTimedColor = FALSE;                 // the colour timer runs
    BOOL m_bReadOnly = FALSE;
    BOOL m_bKeepColors = FALSE;
    CColumnDataType m_type{COLTYPE_STRING, FALSE, 0, 0, FALSE};
    int  m_nDecimals = 0;
    BOOL m_bValidChars = FALSE;
    CTBString m_strValidChars;
    LONGLONG m_nMaxLength = 0;
    LONGLONG m_nMinLength = 0;
    BOOL m_bForbidden = FALSE;
    CTBString m_strForbidden;
    BOOL m_bNoMinus = FALSE;
    BOOL m_bShortcuts = FALSE;
    int  m_nLastShortcut = -1;
    int  m_nDenominator = 0;
    BOOL m_bNotifyUpDown = FALSE;
    CTBFont m_fontRtl;
};

// The class library dialog's binding of a field. Loading stores the two lengths; the first
// exchange subclasses the item. Every exchange applies the item's ES_READONLY, the kind and
// decimal code and the colours (EE_KEEP_COLOR: the system's window text and window colours).
// Saving a field that is not read-only reads its text into the variable; a COLTYPE_STRING text
// longer than the maximum or shorter than the minimum then fails the exchange with a message.
void DDX_EnhancedEdit(CDataExchange* pDX, int nIDC, CEnhancedEdit& rField, int nType, int nDecimals,
                      LONGLONG nMaxLength, LONGLONG nMinLength, COLORREF crText, COLORREF crBack, CString& value);
