#pragma once
// The price alert of one watch-list row: the row's symbol, a second text and its current price
// are shown, the alert price is typed (two fraction digits, at most 6 characters). The quotation
// tables preset the four texts from the row, run DoModal and after IDOK take the alert price;
// an empty field (or 0) means no alert. Rounding the price for storage is the table's.
#include "market/dialogs/FieldDialog.h"

#define IDD_PRICE_ALERT         7261
#define IDC_ALERT_SYMBOL        1770
#define IDC_ALERT_MARKET          1777
#define IDC_ALERT_PRICE         1771
#define IDC_ALERT_VALUE         1772

class CAlertDlg : public CFieldDialog
{
public:
    explicit CAlertDlg(CWnd* pParent = nullptr);

    // Before DoModal; shown only.
    void SetSymbolText(LPCSTR pszText) { SetFieldText(FIELD_SYMBOL, pszText); }
    void SetMarketText(LPCSTR pszText) { SetFieldText(FIELD_MARKET, pszText); }
    void SetPriceText(LPCSTR pszText) { SetFieldText(FIELD_PRICE, pszText); }
    // Before DoModal, the alert set now ("" or 0 shows an empty field); after IDOK, as typed
    // without thousands separators ("" when emptied) and as a number (0 when empty).
    void SetAlertText(LPCSTR pszText) { SetFieldText(FIELD_ALERT, pszText); }
    const CString& GetAlertText() const { return GetFieldText(FIELD_ALERT); }
    double GetAlertPrice() const { return GetFieldValue(FIELD_ALERT); }

private:
    enum { FIELD_SYMBOL, FIELD_MARKET, FIELD_PRICE, FIELD_ALERT };
};
