// The number fields of the order forms as an Arabic trader types them: the Arabic keyboards'
// digits (Arabic-Indic and Eastern Arabic-Indic) read as the digits they are in every number
// field the forms offer, found in the forms themselves; a quantity holds ten digits, whatever
// separators it shows, and the line that says so is told when more were typed.
#include <set>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "market/TableLinks.h"
#include "framework/window/EnhancedEdit.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderFormBase.h"
#include "orders/PlaceOrderDlg.h"
#include "orders/PlaceOrderForwardDlg.h"
#include "orders/PlaceOrderKSEDlg.h"
#include "orders/PlaceOrderOddLotKSEDlg.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using NumberFields = COrderSession;

// The form's number fields the trader can type into now.
std::vector<HWND> TypableNumberFields(HWND hForm)
{
    std::vector<HWND> fields;
    for (HWND h = GetWindow(hForm, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        const auto* pEdit = dynamic_cast<CEnhancedEdit*>(CTBWnd::FromHandle(h));
        if (pEdit == nullptr || pEdit->IsReadOnly() || !IsWindowVisible(h) || !IsWindowEnabled(h) ||
            (GetWindowLongA(h, GWL_STYLE) & ES_READONLY) != 0)
            continue;
        const int nType = pEdit->GetDataType();
        if (nType == COLTYPE_INT32 || nType == COLTYPE_INT64 || nType == COLTYPE_DOUBLE)
            fields.push_back(h);
    }
    return fields;
}

// The field emptied and typed into: with the display's text, or with ASCII digits.
std::string Typed(HWND hField, const char* pszText, bool bDisplay)
{
    ::SetFocus(hField);
    PumpPending();
    EXPECT_EQ(hField, GetFocus());
    SetWindowTextA(hField, "");
    if (bDisplay)
        TypeDisplayText(pszText);
    else
        TypeText(pszText);
    PumpPending();
    char sz[256] = "";
    GetWindowTextA(hField, sz, sizeof sz);
    return sz;
}
}  // namespace

TEST_F(NumberFields, EveryNumberFieldTakesTheArabicKeyboardsDigits)
{
    Start(true);
    std::set<int> kinds;
    int nFields = 0;
    const auto TryForm = [&](HWND hForm, const std::string& strWhere) {
        for (HWND hField : TypableNumberFields(hForm)) {
            SCOPED_TRACE(strWhere + ", field " + std::to_string(GetDlgCtrlID(hField)));
            const std::string strAscii = Typed(hField, "1203", false);
            ASSERT_NE("", strAscii);
            EXPECT_EQ(strAscii, Typed(hField, "١٢٠٣", true)) << "Arabic-Indic";
            EXPECT_EQ(strAscii, Typed(hField, "۱۲۰۳", true)) << "Eastern Arabic-Indic";
            EXPECT_EQ(strAscii, Typed(hField, "1٢۰3", true)) << "mixed";
            kinds.insert(dynamic_cast<CEnhancedEdit*>(CTBWnd::FromHandle(hField))->GetDataType());
            ++nFields;
        }
    };

    // The ticket on every market it lists and every market type a market offers.
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hTicket = pTicket->m_hWnd;
    for (const std::string& strMarket : BoxItems(hTicket, IDC_TICKET_MARKET)) {
        ChooseItem(hTicket, IDC_TICKET_MARKET, strMarket);
        for (const std::string& strSession : BoxItems(hTicket, IDC_TICKET_SESSION)) {
            ChooseItem(hTicket, IDC_TICKET_SESSION, strSession);
            const std::vector<std::string> sides = BoxItems(hTicket, IDC_TICKET_SIDE);
            if (!sides.empty())
                ChooseItem(hTicket, IDC_TICKET_SIDE, sides.front());
            TryForm(hTicket, "ticket " + TbCodePageToUtf8(strMarket + " " + strSession, CP_ACP));
        }
    }
    // The forms of one market each.
    static CFormMDIWnd* s_pFrames[4];
    int nSlot = 0;
    for (UINT nForm : {IDD_FORM_KSE_TICKET, IDD_FORM_ODD_LOT_TICKET, IDD_FORM_US_ORDER, IDD_FORM_FORWARD_ORDER}) {
        CFormMDIWnd** ppSlot = &s_pFrames[nSlot++];
        *ppSlot = nullptr;
        App().OpenFormWindow(ppSlot, nForm);
        PumpPending();
        ASSERT_NE(nullptr, *ppSlot) << nForm;
        TryForm((*ppSlot)->GetView()->m_hWnd, "form " + std::to_string(nForm));
    }
    EXPECT_GE(nFields, 10);
    EXPECT_EQ((std::set<int>{COLTYPE_INT32, COLTYPE_INT64, COLTYPE_DOUBLE}), kinds);
}

// Ten digits of quantity, whatever separators it shows: an eleventh is refused and the line that
// gives the limit is told; the check carries the ten.
TEST_F(NumberFields, AQuantityHoldsTenDigitsAsItsLineSays)
{
    Start(true);
    CNewPlaceOrderDlg* pTicket = Command(33049);      // the KSE ticket
    ASSERT_NE(nullptr, pTicket);
    const HWND hTicket = pTicket->m_hWnd;
    const HWND hQuantity = GetDlgItem(hTicket, IDC_TICKET_QUANTITY);
    ASSERT_NE(nullptr, hQuantity);
    EXPECT_EQ("1,234,567,890", Typed(hQuantity, "١٢٣٤٥٦٧٨٩٠١", true));
    ::SetFocus(GetDlgItem(hTicket, IDC_TICKET_LIMIT));
    PumpPending();
    EXPECT_NE(std::string::npos, pRun->InfoText().find(static_cast<LPCSTR>(LoadMarketText(IDS_TICKET_QUANTITY_REFUSED))))
        << pRun->InfoText();
    EXPECT_EQ("1234567890", std::string(pTicket->TakeSnapshot().strQuantity));
}
