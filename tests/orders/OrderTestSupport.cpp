#include "tests/orders/OrderTestSupport.h"

#include <cstdlib>
#include <strings.h>

#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "link/MessageTypes.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/QuotationFwdKSETable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderForms.h"
#include "orders/PlaceOrderDlg.h"
#include "orders/PlaceOrderForwardDlg.h"
#include "orders/PlaceOrderOddLotKSEDlg.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/DateTimePick.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tools/testserver/model/SimTables.h"

#define IDC_CHAIN_TICKER 6707
#define IDC_CHAIN_REQUEST 6713

time_t LocalMorning(int nYear, int nMonth, int nDay)
{
    tm parts = {};
    parts.tm_mday = nDay;
    parts.tm_mon = nMonth - 1;
    parts.tm_year = nYear - 1900;
    parts.tm_hour = 10;
    parts.tm_isdst = -1;
    return mktime(&parts);
}

void SetPickerDate(HWND hDlg, int nId, int nYear, int nMonth, int nDay)
{
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(nYear);
    st.wMonth = static_cast<WORD>(nMonth);
    st.wDay = static_cast<WORD>(nDay);
    SendDlgItemMessageA(hDlg, nId, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void PasteInto(HWND hDlg, int nId, const char* pszText)
{
    ASSERT_TRUE(OpenClipboard(hDlg));
    EmptyClipboard();
    const size_t cb = strlen(pszText) + 1;
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, cb);
    memcpy(GlobalLock(hMem), pszText, cb);
    GlobalUnlock(hMem);
    SetClipboardData(CF_TEXT, hMem);
    CloseClipboard();
    SendDlgItemMessageA(hDlg, nId, WM_PASTE, 0, 0);
}

std::vector<std::string> BoxItems(HWND hDlg, int nId)
{
    std::vector<std::string> items;
    const int nCount = static_cast<int>(SendDlgItemMessageA(hDlg, nId, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        char sz[512] = "";
        SendDlgItemMessageA(hDlg, nId, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(sz));
        items.push_back(sz);
    }
    return items;
}

std::string BoxSelection(HWND hDlg, int nId)
{
    const LRESULT nItem = SendDlgItemMessageA(hDlg, nId, CB_GETCURSEL, 0, 0);
    if (nItem == CB_ERR)
        return "";
    char sz[512] = "";
    SendDlgItemMessageA(hDlg, nId, CB_GETLBTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(sz));
    return sz;
}

std::vector<std::string> BodyOf(const std::string& strLine)
{
    std::vector<std::string> pieces;
    size_t nStart = 0;
    while (true) {
        const size_t nBar = strLine.find('|', nStart);
        pieces.push_back(strLine.substr(nStart, nBar == std::string::npos ? std::string::npos : nBar - nStart));
        if (nBar == std::string::npos)
            break;
        nStart = nBar + 1;
    }
    return std::vector<std::string>(pieces.begin() + std::min<size_t>(4, pieces.size()), pieces.end());
}

std::vector<std::string> WithOrder(std::vector<std::string> fields, const std::string& strOrder)
{
    for (std::string& field : fields)
        if (field == "#")
            field = strOrder;
    return fields;
}

std::string OrdersWithoutCheck(const std::vector<std::string>& log)
{
    const struct { const char* pszCheck; const char* pszOrder; size_t nError; } pairs[] = {
        {"OV", "OR", 12}, {"KV", "KR", 0}, {"KU", "KA", 0}, {"KJ", "KQ", 0}};
    std::string strBad;
    for (const auto& pair : pairs) {
        bool bChecked = false;
        for (const std::string& line : log) {
            if (line.rfind(std::string("> ~") + pair.pszCheck + "|", 0) == 0) {
                const std::vector<std::string> body = BodyOf(line.substr(3));
                bChecked = body.size() > pair.nError && atoi(body[pair.nError].c_str()) == 0;
            } else if (line.rfind(std::string("< &") + pair.pszOrder + "|", 0) == 0) {
                if (!bChecked)
                    strBad += line + "\n";
                bChecked = false;
            }
        }
    }
    return strBad;
}

void COrderSession::Start(bool bArabic, const std::vector<std::string>& options, const char* pszUser,
                          const char* pszPassword)
{
    ASSERT_TRUE(server.Start(options));
    pRun = std::make_unique<CTerminalRun>(bArabic);
    pRun->m_onMakersRegistered = [this] { RegisterMakers(); };
    ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), pszUser, pszPassword));
}

void COrderSession::RegisterMakers()
{
    RegisterOrderForms();
}

void COrderSession::TearDown()
{
    GetGlobals()->SetClockSource(nullptr);
    ClearDialogSteps();
    pRun.reset();
    server.Stop();
}

CNewPlaceOrderDlg* COrderSession::Command(UINT nId)
{
    SendMessageA(App().GetMainFrame()->m_hWnd, WM_COMMAND, nId, 0);
    PumpPending();
    CFormMDIWnd* pFrame = App().GetOrderTicketForm();
    return pFrame != nullptr ? dynamic_cast<CNewPlaceOrderDlg*>(pFrame->GetView()) : nullptr;
}

HWND COrderSession::OpenForm(UINT nFormId)
{
    // The slot outlives the test: the session's end destroys the frame and clears it.
    static CFormMDIWnd* s_pFrame;
    s_pFrame = nullptr;
    App().OpenFormWindow(&s_pFrame, nFormId);
    PumpPending();
    return s_pFrame != nullptr && s_pFrame->GetView() != nullptr ? s_pFrame->GetView()->m_hWnd : nullptr;
}

HWND COrderSession::OpenFilledTicket(UINT nFormId, int* pnQuantity)
{
    HWND h = nullptr;
    switch (nFormId) {
    case IDD_FORM_ORDER_TICKET:
        if (CNewPlaceOrderDlg* pTicket = Command(33049); (h = pTicket != nullptr ? pTicket->m_hWnd : nullptr) != nullptr) {
            SetDlgItemTextA(h, IDC_TICKET_TICKER, "101");
            NotifyControl(h, IDC_TICKET_TICKER, CBN_KILLFOCUS);
            EnterText(h, IDC_TICKET_LIMIT, "842");
        }
        *pnQuantity = IDC_TICKET_QUANTITY;
        return h;
    case IDD_FORM_US_ORDER:
        if ((h = OpenForm(nFormId)) != nullptr) {
            ChooseItem(h, 6730, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
            SetDlgItemTextA(h, 5722, "ALPN");
            EnterText(h, 5728, "10.5");
        }
        *pnQuantity = 5723;
        return h;
    case IDD_FORM_KSE_TICKET:
    case IDD_FORM_ODD_LOT_TICKET:
        if ((h = OpenForm(nFormId)) != nullptr) {
            ClickControl(h, IDC_KSE_SIDE_BUY);
            ChooseItem(h, IDC_KSE_STOCK, "GHB / 101");
            // The odd-lot board's limit order is its second type.
            ClickControl(h, nFormId == IDD_FORM_KSE_TICKET ? IDC_KSE_TYPE_LIMIT : IDC_KSE_TYPE_STOP);
            PumpPending();
            EnterText(h, IDC_KSE_LIMIT, "842");
        }
        *pnQuantity = IDC_KSE_QUANTITY;
        return h;
    case IDD_FORM_FORWARD_ORDER:
        if ((h = OpenForm(nFormId)) != nullptr) {
            auto* pForm = dynamic_cast<CPlaceOrderForwardDlg*>(CWnd::FromHandlePermanent(h));
            EXPECT_TRUE(pForm != nullptr && PumpUntil([&] { return pForm->GetInitCount() == 1; }));
            // The test market quotes no quantities: maker 1 sells 900 of stock 101 for a month.
            FindDataTable(IDS_TABLE_QUOTATIONS_FWD_KSE)->GetRows()->FindRowByIds({101, 2, 1})->SetDouble(10, 900, TRUE);
            CheckRadioButton(h, 5720, 5721, 5720);
            NotifyControl(h, 5720, BN_CLICKED);
            SendDlgItemMessageA(h, 5794, CB_SETCURSEL, 1, 0);     // the best market maker
            NotifyControl(h, 5794, CBN_SELCHANGE);
        }
        *pnQuantity = 5723;
        return h;
    default:
        return nullptr;
    }
}

std::vector<std::string> COrderSession::Requests(const std::vector<std::string>& mnemonics) const
{
    std::vector<std::string> lines;
    for (const std::string& line : server.Received())
        for (const std::string& mn : mnemonics)
            if (line.rfind("&" + mn + "|", 0) == 0)
                lines.push_back(line);
    return lines;
}

size_t COrderSession::Count(const std::string& strMnemonic) const
{
    return Requests({strMnemonic}).size();
}

std::string COrderSession::Lines(const std::string& strMnemonic) const
{
    std::string strLines;
    for (const std::string& line : server.Log()) {
        const size_t nAt = line.find(strMnemonic + "|");
        if (nAt != std::string::npos && nAt < 5)
            strLines += line + "\n";
    }
    return strLines;
}

void COrderSession::AskOptionSeries(HWND hTicket, const char* pszUnderlying)
{
    const size_t nBefore = Count("GO");
    EnterText(hTicket, IDC_TICKET_UNDERLYING, pszUnderlying);
    ASSERT_TRUE(PumpUntil([&] {
        return Count("GO") == nBefore + 1 && SendDlgItemMessageA(hTicket, IDC_TICKET_EXPIRY, CB_GETCOUNT, 0, 0) > 0;
    })) << Lines("GO");
    PumpFor(100);
}

HWND COrderSession::AskChainSeries(const char* pszUnderlying)
{
    App().OpenOptionChain(pszUnderlying);
    PumpPending();
    HWND hChain = nullptr;
    for (HWND h = GetWindow(App().GetMainFrame()->m_hWndMDIClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
        if (auto* pFrame = dynamic_cast<CFormMDIWnd*>(CWnd::FromHandlePermanent(h)))
            if (pFrame->GetTemplateId() == IDD_FORM_OPTION_CHAIN && pFrame->GetView() != nullptr)
                hChain = pFrame->GetView()->m_hWnd;
    if (hChain == nullptr)
        return nullptr;
    const size_t nBefore = Count("GO");
    SetDlgItemTextA(hChain, IDC_CHAIN_TICKER, pszUnderlying);
    SendMessageA(hChain, WM_COMMAND, MAKEWPARAM(IDC_CHAIN_REQUEST, BN_CLICKED), 0);
    PumpUntil([&] { return Count("GO") == nBefore + 2; });
    PumpFor(300);
    return hChain;
}

void COrderStatusSession::RegisterMakers()
{
    COrderSession::RegisterMakers();
    RegisterTableMaker(51110, MakeDataTable<COrderStatusTable>);
    RegisterTableMaker(51128, MakeDataTable<COrderStatusKSETable>);
}

void COrderStatusSession::StartTrader(bool bArabic, const char* pszUser, const char* pszPassword)
{
    Start(bArabic, {"--rate", "0"}, pszUser, pszPassword);
}

void COrderStatusSession::TearDown()
{
    COrderSession::TearDown();
    RegisterTableMaker(51110, pfnUsBefore);
    RegisterTableMaker(51128, pfnKseBefore);
}

bool COtherTerminal::Open(int nPort, const char* pszUser, const char* pszPassword)
{
    if (!client.Connect(nPort) || client.Send("VC", "0|80000") == 0 || !client.ReadUntil("~VC|", 5000) ||
        client.Send("XC", "||") == 0 || !client.ReadUntil("~EN|", 5000) ||
        !client.KeyExchange("00112233445566778899AABBCCDDEEFF"))
        return false;
    client.Send("UL", std::string(pszUser) + "|" + pszPassword + "|");
    if (!client.ReadUntil("~UL|", 5000))
        return false;
    client.ReadQuiet(100);
    return true;
}

std::vector<std::string> COtherTerminal::Send(const char* pszMnemonic, const std::string& strBody)
{
    client.Send(pszMnemonic, strBody);
    return client.ReadQuiet(200);
}

std::string COrderStatusSession::Place(int nPlace, const char* pszBody, int nNumberField, UINT nTable)
{
    const long nLink = App().SendRequest(nPlace, pszBody);
    const std::string strHead = std::string("> ~") + GetMessageMnemonic(nPlace) + "|" + std::to_string(nLink) + "|";
    std::string strOrder;
    PumpUntil([&] {
        for (const std::string& line : server.Log())
            if (line.rfind(strHead, 0) == 0)
                strOrder = BodyOf(line.substr(2))[static_cast<size_t>(nNumberField)];
        return !strOrder.empty() && (nTable == 0 || Row(nTable, strOrder) != nullptr);
    }, 5000);
    PumpFor(200);
    return strOrder;
}

CDataBuffer* COrderStatusSession::Row(UINT nTable, const std::string& strOrder) const
{
    CDataTable* pTable = FindDataTable(nTable);
    return pTable != nullptr ? pTable->GetRows()->FindRow({strOrder.c_str()}) : nullptr;
}

std::string CellText(CDataTable* pTable, int nRow, int nCol)
{
    CViewRow row;
    CTBString strText;
    return pTable->GetMainWindow()->GetView()->GetRow(row, nRow) && row.GetText(strText, nCol) ? std::string(strText)
                                                                                                 : "";
}

LISTED_NAMES ListedNames(bool bArabic)
{
    LISTED_NAMES listed;
    const CDataTable* pList = FindDataTable(IDS_TABLE_STOCK_LIST_KSE);
    const CDataArray* pRows = pList != nullptr ? pList->GetRows() : nullptr;
    for (int i = 0; pRows != nullptr && i < pRows->GetCount(); ++i) {
        const std::string strName(pRows->GetAt(i)->GetText(bArabic ? SLC_NAME_AR : SLC_NAME));
        listed.names.push_back(strName);
        if (strName.size() > listed.strKseName.size()) {
            listed.strKseName = strName;
            listed.nKseStock = atol(pRows->GetAt(i)->GetText(SLC_ID));
        }
    }
    CSimTable symbols;
    std::string strError;
    if (!CSimTables::ReadFile(TESTSERVER_MARKET_DIR "/us_symbols.txt", symbols, &strError))
        ADD_FAILURE() << strError;
    for (const CSimRecord& symbol : symbols.rows) {
        const std::string strName = TbUtf8ToCodePage(GetField(symbol, bArabic ? "name_ar" : "name"), bArabic ? 1256 : 1252);
        listed.names.push_back(strName);
        if (strName.size() > listed.strUsName.size()) {
            listed.strUsName = strName;
            listed.strUsSymbol = GetField(symbol, "symbol");
            listed.nUsMarket = atoi(GetField(symbol, "market").c_str());
        }
    }
    return listed;
}

std::vector<HWND> ControlsShowing(HWND hDlg, const std::string& strName)
{
    std::vector<HWND> shown;
    for (HWND hField = GetWindow(hDlg, GW_CHILD); hField != nullptr; hField = GetWindow(hField, GW_HWNDNEXT)) {
        char szClass[64] = "";
        GetClassNameA(hField, szClass, sizeof szClass);
        char szText[512] = "";
        GetWindowTextA(hField, szText, sizeof szText);
        if ((strcasecmp(szClass, "Edit") == 0 || strcasecmp(szClass, "Static") == 0) && strName == szText)
            shown.push_back(hField);
    }
    return shown;
}

void ExpectEachNameFits(HWND hField, const std::vector<std::string>& names)
{
    RECT rc;
    GetClientRect(hField, &rc);
    const int nRoom = rc.right - rc.left - 4;       // the edit's margins
    HDC hdc = GetDC(hField);
    HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageA(hField, WM_GETFONT, 0, 0)));
    for (const std::string& strName : names) {
        SIZE size = {};
        GetTextExtentPoint32A(hdc, strName.c_str(), static_cast<int>(strName.size()), &size);
        EXPECT_LE(size.cx, nRoom) << "control " << GetDlgCtrlID(hField) << " cuts \"" << TbCodePageToUtf8(strName) << "\"";
    }
    SelectObject(hdc, hOld);
    ReleaseDC(hField, hdc);
}
