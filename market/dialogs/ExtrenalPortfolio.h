#pragma once
// The user's own position in one watch-list symbol, held outside the terminal: the row's symbol
// and a second text are shown, the quantity (whole shares, at most 12 characters) and the price
// (four fraction digits, at most 12 characters) are typed. The quotation tables preset the texts
// from the row, run DoModal and after IDOK write the quantity and price into the row; an empty
// field (or 0) means none. Rounding for storage is the table's.
#include "market/dialogs/FieldDialog.h"

#define IDD_OWN_POSITION        7257
#define IDC_POSITION_SYMBOL     5912
#define IDC_POSITION_MARKET       1777
#define IDC_POSITION_QUANTITY   5911
#define IDC_POSITION_PRICE      1752

class CExtrenalPortfolio : public CFieldDialog
{
public:
    explicit CExtrenalPortfolio(CWnd* pParent = nullptr);

    // Before DoModal; shown only.
    void SetSymbolText(LPCSTR pszText) { SetFieldText(FIELD_SYMBOL, pszText); }
    void SetMarketText(LPCSTR pszText) { SetFieldText(FIELD_MARKET, pszText); }
    // Before DoModal, the position now ("" or 0 shows an empty field); after IDOK, as typed
    // without thousands separators ("" when emptied) and as numbers (0 when empty).
    void SetQuantityText(LPCSTR pszText) { SetFieldText(FIELD_QUANTITY, pszText); }
    void SetPriceText(LPCSTR pszText) { SetFieldText(FIELD_PRICE, pszText); }
    const CString& GetQuantityText() const { return GetFieldText(FIELD_QUANTITY); }
    const CString& GetPriceText() const { return GetFieldText(FIELD_PRICE); }
    double GetQuantity() const { return GetFieldValue(FIELD_QUANTITY); }
    double GetPrice() const { return GetFieldValue(FIELD_PRICE); }

private:
    enum { FIELD_SYMBOL, FIELD_MARKET, FIELD_QUANTITY, FIELD_PRICE };
};
