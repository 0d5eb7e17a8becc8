#pragma once
// The KSE odd-lot board's order ticket (form 7265): the regular board's ticket with market or
// limit orders only, one price, no validity, and the stock typed exactly rather than filtered.
// Its "KV" and "KR" name the odd-lot board; its review is the odd-lot one.
#include "orders/PlaceOrderKSEDlg.h"

#define IDD_FORM_ODD_LOT_TICKET 7265

class CPlaceOrderOddLotKSEDlg : public CPlaceOrderKSEDlg
{
public:
    CPlaceOrderOddLotKSEDlg();
    static CWnd* Make(UINT nFormId);
};
