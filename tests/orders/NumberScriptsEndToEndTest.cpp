// Numbers as the Arabic trader writes them, through the display: Arabic-Indic and Persian digits
// with the Arabic decimal and thousands separators, typed on the keys a layout gives them, on
// keys the window system makes up for the character, and pasted from another program, read in
// every number field of every form as the same number written in Latin digits; what a field
// does not take is told in a line when the field is left. The US ticket, the KSE ticket and the
// KSE modify form send the number the field shows.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/FormFactory.h"
#include "app/FormMDIWnd.h"
#include "framework/window/EnhancedEdit.h"
#include "link/MessageTypes.h"
#include "market/TableLinks.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/PlaceOrderDlg.h"
#include "orders/ReviewDialog.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/user/Accelerators.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/Property.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using NumberScripts = COrderStatusSession;
using NumberScriptsProperty = COrderStatusSession;

enum TYPING { OWN_KEYS, CHARACTER_KEYS, PASTED };
const char* const s_pszTyping[] = {"keys of their own", "character key codes", "pasted"};

// The number in Arabic-Indic (U+0660) or Persian (U+06F0) digits, with the Arabic separators.
std::string InScript(const std::string& strLatin, char32_t chZero)
{
    std::string out;
    const auto Append = [&out](char32_t ch) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    };
    for (char ch : strLatin) {
        if (ch >= '0' && ch <= '9')
            Append(chZero + static_cast<char32_t>(ch - '0'));
        else if (ch == '.')
            Append(0x066B);
        else if (ch == ',')
            Append(0x066C);
        else
            out += ch;
    }
    return out;
}

// The field emptied, then the text typed or pasted through the display; what the field shows.
std::string Typed(HWND hField, const std::string& strUtf8, TYPING how)
{
    ::SetFocus(hField);
    PumpPending();
    EXPECT_EQ(hField, GetFocus());
    SetWindowTextA(hField, "");
    const HWND hTop = GetAncestor(hField, GA_ROOT);
    if (how == PASTED) {
        EXPECT_TRUE(TbQtCopyAsAnotherProgram(strUtf8.c_str()));
        SendMessageA(hField, WM_PASTE, 0, 0);
    } else {
        EXPECT_TRUE(TbQtTypeText(hTop, strUtf8.c_str(), how == OWN_KEYS));
    }
    PumpPending();
    char sz[256] = "";
    GetWindowTextA(hField, sz, sizeof sz);
    return sz;
}

// The number fields of a form the trader can type into now, at any depth.
void CollectNumberFields(HWND hParent, std::vector<HWND>& fields)
{
    for (HWND h = GetWindow(hParent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        CollectNumberFields(h, fields);
        const auto* pEdit = dynamic_cast<CEnhancedEdit*>(CTBWnd::FromHandle(h));
        if (pEdit == nullptr || pEdit->IsReadOnly() || !IsWindowVisible(h) || !IsWindowEnabled(h) ||
            (GetWindowLongA(h, GWL_STYLE) & ES_READONLY) != 0)
            continue;
        const int nType = pEdit->GetDataType();
        if (nType == COLTYPE_INT32 || nType == COLTYPE_INT64 || nType == COLTYPE_DOUBLE)
            fields.push_back(h);
    }
}

// Every form the resources describe that the terminal makes a view of.
std::vector<UINT> FormsOfTheResources()
{
    CResourceScript script;
    EXPECT_TRUE(script.LoadFile(TB_SOURCE_DIR "/resources/_1256.rc"));
    std::vector<UINT> forms;
    for (const auto& [strName, dialog] : script.GetTemplates().dialogs)
        if (strName.size() > 1 && strName[0] == '#')
            if (const UINT nId = static_cast<UINT>(atoi(strName.c_str() + 1)); FindFormMaker(nId) != nullptr)
                forms.push_back(nId);
    return forms;
}

// Each of the form's number fields reads each number in the Arabic scripts, typed either way or
// pasted, as it reads the number typed in Latin digits; a letter is refused with a line once the
// field is left.
void CheckForm(COrderSession& s, HWND hForm, const std::string& strWhere, int& nFields)
{
    std::vector<HWND> fields;
    CollectNumberFields(hForm, fields);
    for (HWND hField : fields) {
        SCOPED_TRACE(strWhere + ", field " + std::to_string(GetDlgCtrlID(hField)));
        for (const char* pszLatin : {"1203", "73.1", "1,234.5"}) {
            const std::string strLatinTyped = Typed(hField, pszLatin, OWN_KEYS);
            const std::string strLatinPasted = Typed(hField, pszLatin, PASTED);
            ASSERT_NE("", strLatinTyped) << pszLatin;
            for (char32_t chZero : {U'\u0660', U'\u06F0'})
                for (TYPING how : {OWN_KEYS, CHARACTER_KEYS, PASTED})
                    EXPECT_EQ(how == PASTED ? strLatinPasted : strLatinTyped, Typed(hField, InScript(pszLatin, chZero), how))
                        << pszLatin << (chZero == U'\u0660' ? " Arabic-Indic " : " Persian ") << s_pszTyping[how];
        }
        // A letter of the page, and a character the page cannot hold: refused, and said.
        for (const char* pszOther : {"x", "ж"}) {
            const std::string strBefore = s.pRun->InfoText();
            EXPECT_EQ(Typed(hField, "٧٣", CHARACTER_KEYS), Typed(hField, std::string("٧") + pszOther + "٣", CHARACTER_KEYS));
            ::SetFocus(GetAncestor(hField, GA_ROOT));
            PumpPending();
            EXPECT_TRUE(s.pRun->InfoText().size() > strBefore.size()) << "no line told " << pszOther << " was refused";
        }
        ++nFields;
    }
}

// The text typed into the field through the display on keys Qt names by the character.
void TypeInto(HWND hDlg, int nId, const char* pszUtf8)
{
    const HWND hField = GetDlgItem(hDlg, nId);
    ::SetFocus(hField);
    PumpPending();
    SendMessageA(hField, EM_SETSEL, 0, -1);
    ASSERT_TRUE(TbQtTypeText(GetAncestor(hField, GA_ROOT), pszUtf8, FALSE));
    PumpPending();
}
}  // namespace

TEST_F(NumberScripts, EveryNumberFieldOfEveryFormReadsArabicNumbersAsTheirLatinTwins)
{
    StartTrader(true);
    int nFields = 0;
    const std::vector<UINT> forms = FormsOfTheResources();
    ASSERT_GE(forms.size(), 5u);
    for (UINT nForm : forms) {
        if (nForm == IDD_FORM_ORDER_TICKET) {
            // The ticket on every market it lists and every market type a market offers.
            CNewPlaceOrderDlg* pTicket = Command(33100);
            ASSERT_NE(nullptr, pTicket);
            const HWND hTicket = pTicket->m_hWnd;
            for (const std::string& strMarket : BoxItems(hTicket, IDC_TICKET_MARKET)) {
                ChooseItem(hTicket, IDC_TICKET_MARKET, strMarket);
                for (const std::string& strSession : BoxItems(hTicket, IDC_TICKET_SESSION)) {
                    ChooseItem(hTicket, IDC_TICKET_SESSION, strSession);
                    CheckForm(*this, hTicket, "ticket " + TbCodePageToUtf8(strMarket + " " + strSession, CP_ACP), nFields);
                }
            }
            continue;
        }
        const HWND hForm = OpenForm(nForm);
        ASSERT_NE(nullptr, hForm) << nForm;
        CheckForm(*this, hForm, "form " + std::to_string(nForm), nFields);
    }
    EXPECT_GE(nFields, 10);
}

// The US ticket: GLNT bought at "٧٣٫١" typed on keys named by their characters; the field shows
// 73.1 and the check carries 73.1.
TEST_F(NumberScripts, AUsLimitTypedInArabicGoesOutAsTyped)
{
    StartTrader(true);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "GLNT");
    NotifyControl(hDlg, IDC_TICKET_TICKER, CBN_KILLFOCUS);
    ChooseItem(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55046)));
    TypeInto(hDlg, IDC_TICKET_QUANTITY, "١٠");
    TypeInto(hDlg, IDC_TICKET_LIMIT, "٧٣٫١");
    EXPECT_EQ("10", ControlText(hDlg, IDC_TICKET_QUANTITY));
    EXPECT_EQ("73.1", ControlText(hDlg, IDC_TICKET_LIMIT).substr(0, 4));
    EXPECT_EQ(std::string::npos, ControlText(hDlg, IDC_TICKET_LIMIT).find("731"));
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});    // when the check passes
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("OV") == 1; })) << pRun->InfoText();
    const std::vector<std::string> check = BodyOf(Requests({"OV"}).back());
    EXPECT_EQ("GLNT", check.at(3));
    EXPECT_EQ("10", check.at(4));
    EXPECT_EQ(73.1, atof(check.at(6).c_str()));
}

// The KSE ticket: "٨٤٢٫٥" in the limit reads 842.5, not 8,425, and the check carries it.
TEST_F(NumberScripts, AKseLimitTypedInArabicGoesOutAsTyped)
{
    StartTrader(true);
    int nQuantity = 0;
    const HWND hDlg = OpenFilledTicket(IDD_FORM_ORDER_TICKET, &nQuantity);
    ASSERT_NE(nullptr, hDlg);
    ChooseItem(hDlg, IDC_TICKET_SIDE, BoxItems(hDlg, IDC_TICKET_SIDE).front());
    TypeInto(hDlg, nQuantity, "١٠٠");
    TypeInto(hDlg, IDC_TICKET_LIMIT, "٨٤٢٫٥");
    EXPECT_EQ("842.5", ControlText(hDlg, IDC_TICKET_LIMIT));
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});    // when the check passes
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KV") == 1; })) << pRun->InfoText();
    const std::vector<std::string> check = BodyOf(Requests({"KV"}).back());
    EXPECT_EQ("100", check.at(7));
    EXPECT_EQ(842.5, atof(check.at(9).c_str()));
}

// The KSE modify form of a resting order: the limit "٨٣٤٫٥" goes out as 834.5, not 8345.
TEST_F(NumberScripts, AKseModifyTypedInArabicGoesOutAsTyped)
{
    StartTrader(true);
    const std::string strOrder = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||1|10|261219|secret", 17, 51128);
    ASSERT_NE("", strOrder);
    App().OpenModifyOrderKSE(atol(strOrder.c_str()));
    PumpPending();
    ASSERT_NE(nullptr, App().GetModifyOrderForm());
    const HWND hForm = App().GetModifyOrderForm()->GetView()->m_hWnd;
    TypeInto(hForm, IDC_MODIFY_LIMIT, "٨٣٤٫٥");
    EXPECT_EQ(834.5, atof(ControlText(hForm, IDC_MODIFY_LIMIT).c_str())) << ControlText(hForm, IDC_MODIFY_LIMIT);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
    ClickControl(hForm, IDC_MODIFY_MODIFY);
    ASSERT_TRUE(PumpUntil([&] { return Count("KW") == 1; })) << pRun->InfoText();
    const std::vector<std::string> preview = BodyOf(Requests({"KW"}).back());
    EXPECT_EQ(834.5, atof(preview.at(8).c_str()));
}

// Any string of digits and separators, in Latin, Arabic-Indic or Persian digits, typed on keys of
// their own, on character key codes or pasted, into a number field of the KSE ticket or the US
// form: the field reads what it reads of the Latin string typed or pasted the same way, and what
// it holds is the number the Latin characters it took spell.
TEST_F(NumberScriptsProperty, ArabicNumbersReadAsTheirLatinTwinsOrAreRefused)
{
    StartTrader(true);
    int nQuantity = 0;
    std::vector<HWND> fields;
    CollectNumberFields(OpenFilledTicket(IDD_FORM_ORDER_TICKET, &nQuantity), fields);
    CollectNumberFields(OpenForm(IDD_FORM_US_ORDER), fields);
    ASSERT_GE(fields.size(), 4u);
    TB_CHECK_PROPERTY(200, [&] {
        const HWND hField = fields[*rc::gen::inRange<size_t>(0, fields.size())];
        const std::vector<int> keys = *rc::gen::container<std::vector<int>>(rc::gen::inRange(0, 13));
        std::string strLatin;
        for (int n : keys)
            strLatin += n < 10 ? static_cast<char>('0' + n) : n == 10 ? '.' : n == 11 ? ',' : '-';
        const TYPING how = *rc::gen::element(OWN_KEYS, CHARACTER_KEYS, PASTED);
        const char32_t chZero = *rc::gen::element(U'\u0660', U'\u06F0');
        const std::string strTwin = Typed(hField, strLatin, how);
        const std::string strRead = Typed(hField, InScript(strLatin, chZero), how);
        RC_ASSERT(strTwin == strRead);
        // What the field holds is read from the characters it took, in their order.
        std::string strHeld;
        for (char ch : strRead)
            if (ch != ',')
                strHeld += ch;
        std::string strTaken;
        for (char ch : strLatin)
            if (ch != ',')
                strTaken += ch;
        if (!strHeld.empty() && how == PASTED)
            RC_ASSERT(atof(strHeld.c_str()) == atof(strTaken.c_str()));
    });
}
// Found by the property above: more keys than the queue kept characters for, typed on keys named
// by their characters before the terminal took any; the first zero lost its character and the
// quantity read 1 where the trader typed 0.
TEST_F(NumberScripts, SixtyFiveKeysTypedAheadKeepTheirCharacters)
{
    StartTrader(true);
    int nQuantity = 0;
    const HWND hDlg = OpenFilledTicket(IDD_FORM_ORDER_TICKET, &nQuantity);
    ASSERT_NE(nullptr, hDlg);
    const HWND hField = GetDlgItem(hDlg, nQuantity);
    const std::string strLatin = std::string(10, '0') + "1" + std::string(54, '0');
    EXPECT_EQ("0,000,000,000", Typed(hField, strLatin, CHARACTER_KEYS));
    EXPECT_EQ("0,000,000,000", Typed(hField, InScript(strLatin, U'\u0660'), CHARACTER_KEYS));
}

// The Arabic modify form of a KSE order shows its currency as the ticket does, "=KWD" read left to
// right, not "KWD=".
TEST_F(NumberScripts, TheArabicModifyFormShowsTheCurrencyAsTheTicketDoes)
{
    StartTrader(true);
    int nQuantity = 0;
    const HWND hTicket = OpenFilledTicket(IDD_FORM_ORDER_TICKET, &nQuantity);
    ASSERT_NE(nullptr, hTicket);
    const std::string strOrder = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||1|10|261219|secret", 17, 51128);
    App().OpenModifyOrderKSE(atol(strOrder.c_str()));
    PumpPending();
    ASSERT_NE(nullptr, App().GetModifyOrderForm());
    const HWND hForm = App().GetModifyOrderForm()->GetView()->m_hWnd;
    const HWND hTicketCurrency = GetDlgItem(hTicket, 6731), hFormCurrency = GetDlgItem(hForm, IDC_MODIFY_CURRENCY);
    EXPECT_EQ(ControlText(hTicket, 6731), ControlText(hForm, IDC_MODIFY_CURRENCY));
    EXPECT_EQ(GetWindowLongA(hTicketCurrency, GWL_EXSTYLE) & WS_EX_RTLREADING,
              GetWindowLongA(hFormCurrency, GWL_EXSTYLE) & WS_EX_RTLREADING);
    EXPECT_EQ(0, GetWindowLongA(hFormCurrency, GWL_EXSTYLE) & WS_EX_RTLREADING) << "a code reads left to right";
}

// The KSE modify form reads quantities and prices grouped as the ticket does, and sends them
// plain.
TEST_F(NumberScripts, TheModifyFormGroupsFiguresAsTheTicketDoes)
{
    StartTrader(false);
    const std::string strOrder = Place(MSG_KR, "||1002|10020|1|1|101|1150|0|800||1|10|261219|secret", 17, 51128);
    ASSERT_NE("", strOrder);
    App().OpenModifyOrderKSE(atol(strOrder.c_str()));
    PumpPending();
    ASSERT_NE(nullptr, App().GetModifyOrderForm());
    const HWND hForm = App().GetModifyOrderForm()->GetView()->m_hWnd;
    EXPECT_EQ("1,150", ControlText(hForm, IDC_MODIFY_QUANTITY));
    TypeInto(hForm, IDC_MODIFY_LIMIT, "1000");
    EXPECT_EQ("1,000", ControlText(hForm, IDC_MODIFY_LIMIT).substr(0, 5));
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
    ClickControl(hForm, IDC_MODIFY_MODIFY);
    ASSERT_TRUE(PumpUntil([&] { return Count("KW") == 1; })) << pRun->InfoText();
    const std::vector<std::string> preview = BodyOf(Requests({"KW"}).back());
    EXPECT_EQ("1150", preview.at(6));
    EXPECT_EQ(1000.0, atof(preview.at(8).c_str()));
}
