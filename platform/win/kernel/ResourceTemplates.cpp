// The resource reader's dialogs, menus and accelerator tables, and the lookups of a module's
// templates.
#include "platform/win/kernel/ResourceTemplates.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <strings.h>

#include "platform/win/gdi/GdiDefs.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/kernel/ResourceTokens.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
typedef CResourceScript::Token Token;

#define TB_NAME(x) {#x, static_cast<long long>(x)}
// The names a style, id or key may be written with. Button, edit and combo styles share values,
// so a name stands only for its number, as in the original's headers.
const struct { const char* pszName; long long llValue; } s_names[] = {
    TB_NAME(WS_OVERLAPPED), TB_NAME(WS_POPUP), TB_NAME(WS_CHILD), TB_NAME(WS_MINIMIZE), TB_NAME(WS_VISIBLE),
    TB_NAME(WS_DISABLED), TB_NAME(WS_CLIPSIBLINGS), TB_NAME(WS_CLIPCHILDREN), TB_NAME(WS_MAXIMIZE),
    TB_NAME(WS_CAPTION), TB_NAME(WS_BORDER), TB_NAME(WS_DLGFRAME), TB_NAME(WS_VSCROLL), TB_NAME(WS_HSCROLL),
    TB_NAME(WS_SYSMENU), TB_NAME(WS_THICKFRAME), TB_NAME(WS_GROUP), TB_NAME(WS_TABSTOP), TB_NAME(WS_MINIMIZEBOX),
    TB_NAME(WS_MAXIMIZEBOX), TB_NAME(WS_CHILDWINDOW), TB_NAME(WS_OVERLAPPEDWINDOW), TB_NAME(WS_POPUPWINDOW),
    TB_NAME(WS_EX_DLGMODALFRAME), TB_NAME(WS_EX_NOPARENTNOTIFY), TB_NAME(WS_EX_TOPMOST), TB_NAME(WS_EX_TRANSPARENT),
    TB_NAME(WS_EX_TOOLWINDOW), TB_NAME(WS_EX_WINDOWEDGE), TB_NAME(WS_EX_CLIENTEDGE), TB_NAME(WS_EX_CONTEXTHELP),
    TB_NAME(WS_EX_RIGHT), TB_NAME(WS_EX_LEFT), TB_NAME(WS_EX_RTLREADING), TB_NAME(WS_EX_LEFTSCROLLBAR),
    TB_NAME(WS_EX_CONTROLPARENT), TB_NAME(WS_EX_STATICEDGE), TB_NAME(WS_EX_APPWINDOW), TB_NAME(WS_EX_LAYOUTRTL),
    TB_NAME(DS_ABSALIGN), TB_NAME(DS_SYSMODAL), TB_NAME(DS_LOCALEDIT), TB_NAME(DS_SETFONT), TB_NAME(DS_MODALFRAME),
    TB_NAME(DS_NOIDLEMSG), TB_NAME(DS_SETFOREGROUND), TB_NAME(DS_3DLOOK), TB_NAME(DS_FIXEDSYS),
    TB_NAME(DS_NOFAILCREATE), TB_NAME(DS_CONTROL), TB_NAME(DS_CENTER), TB_NAME(DS_CENTERMOUSE),
    TB_NAME(DS_CONTEXTHELP), TB_NAME(DS_SHELLFONT),
    TB_NAME(SS_LEFT), TB_NAME(SS_CENTER), TB_NAME(SS_RIGHT), TB_NAME(SS_ICON), TB_NAME(SS_BLACKRECT),
    TB_NAME(SS_GRAYRECT), TB_NAME(SS_WHITERECT), TB_NAME(SS_BLACKFRAME), TB_NAME(SS_GRAYFRAME),
    TB_NAME(SS_WHITEFRAME), TB_NAME(SS_SIMPLE), TB_NAME(SS_LEFTNOWORDWRAP), TB_NAME(SS_OWNERDRAW),
    TB_NAME(SS_BITMAP), TB_NAME(SS_ETCHEDHORZ), TB_NAME(SS_ETCHEDVERT), TB_NAME(SS_ETCHEDFRAME),
    TB_NAME(SS_NOPREFIX), TB_NAME(SS_NOTIFY), TB_NAME(SS_CENTERIMAGE), TB_NAME(SS_SUNKEN), TB_NAME(SS_ENDELLIPSIS),
    TB_NAME(BS_PUSHBUTTON), TB_NAME(BS_DEFPUSHBUTTON), TB_NAME(BS_CHECKBOX), TB_NAME(BS_AUTOCHECKBOX),
    TB_NAME(BS_RADIOBUTTON), TB_NAME(BS_3STATE), TB_NAME(BS_AUTO3STATE), TB_NAME(BS_GROUPBOX),
    TB_NAME(BS_OWNERDRAW), TB_NAME(BS_AUTORADIOBUTTON), TB_NAME(BS_LEFTTEXT), TB_NAME(BS_RIGHTBUTTON),
    TB_NAME(BS_LEFT), TB_NAME(BS_RIGHT), TB_NAME(BS_CENTER), TB_NAME(BS_TOP), TB_NAME(BS_BOTTOM),
    TB_NAME(BS_VCENTER), TB_NAME(BS_PUSHLIKE), TB_NAME(BS_MULTILINE), TB_NAME(BS_NOTIFY), TB_NAME(BS_FLAT),
    TB_NAME(ES_LEFT), TB_NAME(ES_CENTER), TB_NAME(ES_RIGHT), TB_NAME(ES_MULTILINE), TB_NAME(ES_UPPERCASE),
    TB_NAME(ES_LOWERCASE), TB_NAME(ES_PASSWORD), TB_NAME(ES_AUTOVSCROLL), TB_NAME(ES_AUTOHSCROLL),
    TB_NAME(ES_NOHIDESEL), TB_NAME(ES_OEMCONVERT), TB_NAME(ES_READONLY), TB_NAME(ES_WANTRETURN), TB_NAME(ES_NUMBER),
    TB_NAME(CBS_SIMPLE), TB_NAME(CBS_DROPDOWN), TB_NAME(CBS_DROPDOWNLIST), TB_NAME(CBS_OWNERDRAWFIXED),
    TB_NAME(CBS_OWNERDRAWVARIABLE), TB_NAME(CBS_AUTOHSCROLL), TB_NAME(CBS_OEMCONVERT), TB_NAME(CBS_SORT),
    TB_NAME(CBS_HASSTRINGS), TB_NAME(CBS_NOINTEGRALHEIGHT), TB_NAME(CBS_DISABLENOSCROLL), TB_NAME(CBS_UPPERCASE),
    TB_NAME(CBS_LOWERCASE),
    TB_NAME(LBS_NOTIFY), TB_NAME(LBS_SORT), TB_NAME(LBS_NOREDRAW), TB_NAME(LBS_MULTIPLESEL),
    TB_NAME(LBS_OWNERDRAWFIXED), TB_NAME(LBS_OWNERDRAWVARIABLE), TB_NAME(LBS_HASSTRINGS), TB_NAME(LBS_USETABSTOPS),
    TB_NAME(LBS_NOINTEGRALHEIGHT), TB_NAME(LBS_MULTICOLUMN), TB_NAME(LBS_WANTKEYBOARDINPUT),
    TB_NAME(LBS_EXTENDEDSEL), TB_NAME(LBS_DISABLENOSCROLL), TB_NAME(LBS_NODATA), TB_NAME(LBS_NOSEL),
    TB_NAME(LBS_STANDARD),
    TB_NAME(SBS_HORZ), TB_NAME(SBS_VERT), TB_NAME(SBS_TOPALIGN), TB_NAME(SBS_LEFTALIGN), TB_NAME(SBS_BOTTOMALIGN),
    TB_NAME(SBS_RIGHTALIGN), TB_NAME(SBS_SIZEBOX), TB_NAME(SBS_SIZEGRIP),
    TB_NAME(TBS_AUTOTICKS), TB_NAME(TBS_VERT), TB_NAME(TBS_HORZ), TB_NAME(TBS_TOP), TB_NAME(TBS_BOTTOM),
    TB_NAME(TBS_LEFT), TB_NAME(TBS_RIGHT), TB_NAME(TBS_BOTH), TB_NAME(TBS_NOTICKS), TB_NAME(TBS_ENABLESELRANGE),
    TB_NAME(TBS_FIXEDLENGTH), TB_NAME(TBS_NOTHUMB),
    TB_NAME(DTS_UPDOWN), TB_NAME(DTS_SHOWNONE), TB_NAME(DTS_SHORTDATEFORMAT), TB_NAME(DTS_LONGDATEFORMAT),
    TB_NAME(DTS_TIMEFORMAT), TB_NAME(DTS_APPCANPARSE), TB_NAME(DTS_RIGHTALIGN),
    TB_NAME(IDOK), TB_NAME(IDCANCEL), TB_NAME(IDABORT), TB_NAME(IDRETRY), TB_NAME(IDIGNORE), TB_NAME(IDYES),
    TB_NAME(IDNO), TB_NAME(IDCLOSE), TB_NAME(IDHELP), TB_NAME(IDC_STATIC),
    TB_NAME(VK_BACK), TB_NAME(VK_TAB), TB_NAME(VK_RETURN), TB_NAME(VK_ESCAPE), TB_NAME(VK_SPACE), TB_NAME(VK_PRIOR),
    TB_NAME(VK_NEXT), TB_NAME(VK_END), TB_NAME(VK_HOME), TB_NAME(VK_LEFT), TB_NAME(VK_UP), TB_NAME(VK_RIGHT),
    TB_NAME(VK_DOWN), TB_NAME(VK_INSERT), TB_NAME(VK_DELETE), TB_NAME(VK_ADD), TB_NAME(VK_SUBTRACT),
    TB_NAME(VK_MULTIPLY), TB_NAME(VK_DIVIDE), TB_NAME(VK_DECIMAL), TB_NAME(VK_F1), TB_NAME(VK_F2), TB_NAME(VK_F3),
    TB_NAME(VK_F4), TB_NAME(VK_F5), TB_NAME(VK_F6), TB_NAME(VK_F7), TB_NAME(VK_F8), TB_NAME(VK_F9), TB_NAME(VK_F10),
    TB_NAME(VK_F11), TB_NAME(VK_F12),
};
#undef TB_NAME

// The standard control statements: the class they make, their default style and whether a
// text comes first.
const struct { const char* pszStatement; const char* pszClass; DWORD dwStyle; bool bText; } s_controls[] = {
    {"LTEXT", "STATIC", SS_LEFT | WS_GROUP, true},
    {"RTEXT", "STATIC", SS_RIGHT | WS_GROUP, true},
    {"CTEXT", "STATIC", SS_CENTER | WS_GROUP, true},
    {"EDITTEXT", "EDIT", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {"PUSHBUTTON", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"CHECKBOX", "BUTTON", BS_CHECKBOX | WS_TABSTOP, true},
    {"AUTOCHECKBOX", "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"RADIOBUTTON", "BUTTON", BS_RADIOBUTTON | WS_TABSTOP, true},
    {"AUTORADIOBUTTON", "BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, true},
    {"GROUPBOX", "BUTTON", BS_GROUPBOX, true},
    {"COMBOBOX", "COMBOBOX", CBS_SIMPLE | WS_TABSTOP, false},
    {"LISTBOX", "LISTBOX", LBS_NOTIFY | WS_BORDER, false},
    {"SCROLLBAR", "SCROLLBAR", SBS_HORZ, false},
};

bool Same(const Token& t, const char* pszWord)
{
    return t.kind == TK_WORD && strcasecmp(t.text.c_str(), pszWord) == 0;
}

std::string Upper(const std::string& str)
{
    std::string strOut = str;
    for (char& ch : strOut)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return strOut;
}

// Reads one statement's arguments from the tokens; a fault is remembered with its line and the
// caller steps to the next line.
class CStatementReader
{
public:
    CStatementReader(const std::vector<Token>& tokens, size_t& i) : m_tokens(tokens), m_i(i) {}
    const Token* Peek() const { return m_i < m_tokens.size() ? &m_tokens[m_i] : nullptr; }
    bool AtEnd() const { return m_i >= m_tokens.size(); }
    int  Line() const { return m_i < m_tokens.size() ? m_tokens[m_i].nLine : (m_tokens.empty() ? 0 : m_tokens.back().nLine); }
    bool IsPunct(char ch) const { return Peek() && Peek()->kind == TK_PUNCT && Peek()->text[0] == ch; }
    bool IsKind(TokenKind kind) const { return Peek() && Peek()->kind == kind; }
    bool IsWord(const char* pszWord) const { return Peek() && Same(*Peek(), pszWord); }
    void Next() { ++m_i; }
    bool Comma()
    {
        if (!IsPunct(','))
            return false;
        Next();
        return true;
    }
    // Faults are told at the line their statement starts on.
    void BeginStatement() { m_nStatementLine = Line(); }
    bool Fail(const char* pszWhat)
    {
        if (m_strError.empty()) {
            m_strError = pszWhat;
            m_nErrorLine = m_nStatementLine ? m_nStatementLine : Line();
        }
        return false;
    }
    // A number, a known name or a negative number.
    bool Term(long long& llValue)
    {
        bool bNegative = false;
        if (IsPunct('-')) {
            bNegative = true;
            Next();
        }
        const Token* pTok = Peek();
        if (!pTok)
            return Fail("expected a number or a name");
        if (pTok->kind == TK_NUMBER) {
            llValue = static_cast<long long>(pTok->ullValue);
        } else if (pTok->kind == TK_WORD) {
            bool bFound = false;
            for (const auto& n : s_names)
                if (strcasecmp(n.pszName, pTok->text.c_str()) == 0) {
                    llValue = n.llValue;
                    bFound = true;
                    break;
                }
            if (!bFound) {
                char szWhat[96];
                std::snprintf(szWhat, sizeof szWhat, "unknown name %.60s", pTok->text.c_str());
                return Fail(szWhat);
            }
        } else {
            return Fail("expected a number or a name");
        }
        Next();
        if (bNegative)
            llValue = -llValue;
        return true;
    }
    bool Int(int& nValue)
    {
        long long llValue = 0;
        if (!Term(llValue))
            return false;
        nValue = static_cast<int>(llValue);
        return true;
    }
    // "A | B | NOT C": each term sets its bits in dwValue, a NOT term clears them.
    bool Style(DWORD& dwValue)
    {
        for (;;) {
            bool bNot = false;
            if (IsWord("NOT")) {
                bNot = true;
                Next();
            }
            long long llTerm = 0;
            if (!Term(llTerm))
                return false;
            const DWORD dwTerm = static_cast<DWORD>(llTerm);
            dwValue = bNot ? (dwValue & ~dwTerm) : (dwValue | dwTerm);
            if (!IsPunct('|') && !IsPunct('+'))
                return true;
            Next();
        }
    }
    bool Text(std::string& strText)
    {
        if (!IsKind(TK_STRING))
            return Fail("expected a text in quotes");
        strText = Peek()->text;
        Next();
        return true;
    }
    // Steps past the rest of the line that failed, but never past the END of the block.
    void SkipLine(int nLine)
    {
        while (!AtBlockEnd() && Peek()->nLine == nLine && !IsKind(TK_BEGIN))
            Next();
    }
    // The END of a block, or where one is missing: the end of the file, or the next STRINGTABLE,
    // a keyword that no block holds (so a block left open does not take the table after it).
    bool AtBlockEnd() const { return AtEnd() || IsKind(TK_END) || IsWord("STRINGTABLE"); }
    const std::string& Error() const { return m_strError; }
    int ErrorLine() const { return m_nErrorLine; }
    void ClearError() { m_strError.clear(); }

private:
    const std::vector<Token>& m_tokens;
    size_t& m_i;
    std::string m_strError;
    int m_nErrorLine = 0;
    int m_nStatementLine = 0;
};

typedef std::function<void()> Reporter;

// Steps past a statement that failed; always moves, so a stray token cannot stall the block.
void SkipFailed(CStatementReader& r, int nLine, const Token* pStart)
{
    r.SkipLine(nLine);
    if (r.Peek() == pStart && !r.AtBlockEnd())
        r.Next();
}

bool ReadRect(CStatementReader& r, TBDLGITEMTEMPLATE& item)
{
    return r.Int(item.x) && r.Comma() && r.Int(item.y) && r.Comma() && r.Int(item.cx) && r.Comma() && r.Int(item.cy);
}

// One control statement: "LTEXT "text", id, x, y, cx, cy [, style [, exstyle]]", "EDITTEXT id, ..."
// or "CONTROL "text", id, class, style, x, y, cx, cy [, exstyle]".
bool ReadControl(CStatementReader& r, TBDLGITEMTEMPLATE& item)
{
    const Token* pTok = r.Peek();
    if (pTok->kind != TK_WORD)
        return r.Fail("expected a control statement");
    if (Same(*pTok, "CONTROL")) {
        r.Next();
        item.dwStyle = WS_CHILD | WS_VISIBLE;
        if (!(r.Text(item.strText) && r.Comma() && r.Int(item.nId) && r.Comma()))
            return false;
        if (!r.IsKind(TK_STRING) && !r.IsKind(TK_WORD))
            return r.Fail("expected a class name");
        item.strClass = r.Peek()->text;
        r.Next();
        if (!(r.Comma() && r.Style(item.dwStyle) && r.Comma() && ReadRect(r, item)))
            return r.Fail("expected: text, id, class, style, x, y, width, height");
        return !r.Comma() || r.Style(item.dwExStyle);
    }
    for (const auto& c : s_controls) {
        if (!Same(*pTok, c.pszStatement))
            continue;
        r.Next();
        item.strClass = c.pszClass;
        // A combo box's kind is two bits: CBS_SIMPLE is the default only when the statement names
        // no kind, else CBS_DROPDOWN with it would read as CBS_DROPDOWNLIST.
        const bool bCombo = std::strcmp(c.pszClass, "COMBOBOX") == 0;
        item.dwStyle = WS_CHILD | WS_VISIBLE | (bCombo ? c.dwStyle & ~CBS_DROPDOWNLIST : c.dwStyle);
        if (c.bText && !(r.Text(item.strText) && r.Comma()))
            return false;
        if (!(r.Int(item.nId) && r.Comma() && ReadRect(r, item)))
            return r.Fail("expected: id, x, y, width, height");
        if (r.Comma()) {
            if (!r.Style(item.dwStyle))
                return false;
            if (r.Comma() && !r.Style(item.dwExStyle))
                return false;
        }
        if (bCombo && !(item.dwStyle & CBS_DROPDOWNLIST))
            item.dwStyle |= CBS_SIMPLE;
        return true;
    }
    char szWhat[96];
    std::snprintf(szWhat, sizeof szWhat, "unknown control statement %.60s", pTok->text.c_str());
    return r.Fail(szWhat);
}

void ReadControls(CStatementReader& r, std::vector<TBDLGITEMTEMPLATE>& items, const Reporter& report)
{
    while (!r.AtBlockEnd()) {
        const int nLine = r.Line();
        const Token* pStart = r.Peek();
        r.BeginStatement();
        TBDLGITEMTEMPLATE item;
        if (ReadControl(r, item)) {
            items.push_back(std::move(item));
            continue;
        }
        report();
        SkipFailed(r, nLine, pStart);
    }
}

// Item options, with or without commas between them.
void ReadMenuOptions(CStatementReader& r, UINT& uFlags)
{
    static const struct { const char* pszName; UINT uFlag; } s_options[] = {
        {"GRAYED", MF_GRAYED}, {"INACTIVE", MF_DISABLED}, {"CHECKED", MF_CHECKED}, {"HELP", MF_HELP},
        {"MENUBREAK", MF_MENUBREAK}, {"MENUBARBREAK", MF_MENUBARBREAK}};
    for (;;) {
        r.Comma();
        bool bFound = false;
        for (const auto& o : s_options)
            if (r.IsWord(o.pszName)) {
                uFlags |= o.uFlag;
                bFound = true;
            }
        if (!bFound)
            return;
        r.Next();
    }
}

// Popups nest; deeper than this is a broken file, not a menu.
const int MAX_MENU_DEPTH = 16;

void ReadMenuItems(CStatementReader& r, std::vector<TBMENUTEMPLATEITEM>& items, int nDepth, const Reporter& report)
{
    while (!r.AtBlockEnd()) {
        const int nLine = r.Line();
        const Token* pStart = r.Peek();
        r.BeginStatement();
        TBMENUTEMPLATEITEM item;
        bool bOk = false;
        if (r.IsWord("MENUITEM")) {
            r.Next();
            if (r.IsWord("SEPARATOR")) {
                r.Next();
                item.uFlags = MF_SEPARATOR;
                bOk = true;
            } else {
                int nId = 0;
                bOk = r.Text(item.strText) && r.Comma() && r.Int(nId);
                item.uId = static_cast<UINT>(nId);
                if (bOk)
                    ReadMenuOptions(r, item.uFlags);
            }
        } else if (r.IsWord("POPUP")) {
            r.Next();
            item.uFlags = MF_POPUP;
            if (r.Text(item.strText)) {
                ReadMenuOptions(r, item.uFlags);
                if (!r.IsKind(TK_BEGIN)) {
                    r.Fail("POPUP without its BEGIN block");
                } else if (nDepth >= MAX_MENU_DEPTH) {
                    r.Fail("popups nested too deep");
                } else {
                    r.Next();
                    ReadMenuItems(r, item.popup, nDepth + 1, report);
                    if (r.IsKind(TK_END)) {
                        r.Next();
                        bOk = true;
                    } else {
                        r.Fail("POPUP without its END");
                    }
                }
            }
        } else {
            r.Fail("expected MENUITEM or POPUP");
        }
        if (bOk) {
            items.push_back(std::move(item));
            continue;
        }
        report();
        SkipFailed(r, nLine, pStart);
    }
}

// "event, id [, VIRTKEY | ASCII] [, CONTROL] [, SHIFT] [, ALT] [, NOINVERT]": the event is a
// character in quotes ("a", "^C" for Ctrl+C), a number or a VK_ name.
bool ReadAccelerator(CStatementReader& r, ACCEL& accel)
{
    std::string strKey;
    long long llKey = 0;
    const bool bText = r.IsKind(TK_STRING);
    if (bText) {
        r.Text(strKey);
        const bool bCaret = strKey.size() == 2 && strKey[0] == '^';
        if (strKey.size() != 1 && !bCaret)
            return r.Fail("an accelerator text is one character, or ^ and a letter");
        if (bCaret) {
            const char ch = static_cast<char>(Upper(strKey.substr(1))[0]);
            if (ch < 'A' || ch > 'Z')
                return r.Fail("^ goes with a letter");
            llKey = ch - 'A' + 1;
        } else {
            llKey = static_cast<unsigned char>(strKey[0]);
        }
    } else if (!r.Term(llKey)) {
        return false;
    }
    int nId = 0;
    if (!(r.Comma() && r.Int(nId)))
        return r.Fail("expected: key, id");
    if (llKey < 0 || llKey > 0xFFFF || nId < 0 || nId > 0xFFFF)
        return r.Fail("key or id out of range");
    static const struct { const char* pszName; BYTE fFlag; } s_options[] = {
        {"VIRTKEY", FVIRTKEY}, {"ASCII", 0}, {"NOINVERT", FNOINVERT}, {"ALT", FALT}, {"SHIFT", FSHIFT},
        {"CONTROL", FCONTROL}};
    BYTE fVirt = 0;
    while (r.Comma()) {
        bool bFound = false;
        for (const auto& o : s_options)
            if (r.IsWord(o.pszName)) {
                fVirt = static_cast<BYTE>(fVirt | o.fFlag);
                bFound = true;
            }
        if (!bFound)
            return r.Fail("unknown accelerator option");
        r.Next();
    }
    // A letter given as text stands for its key when the entry is a virtual key.
    if (bText && (fVirt & FVIRTKEY) && llKey >= 'a' && llKey <= 'z')
        llKey -= 'a' - 'A';
    accel = ACCEL{fVirt, static_cast<WORD>(llKey), static_cast<WORD>(nId)};
    return true;
}

void ReadAccelerators(CStatementReader& r, std::vector<ACCEL>& table, const Reporter& report)
{
    while (!r.AtBlockEnd()) {
        const int nLine = r.Line();
        const Token* pStart = r.Peek();
        r.BeginStatement();
        ACCEL accel{};
        if (ReadAccelerator(r, accel)) {
            table.push_back(accel);
            continue;
        }
        report();
        SkipFailed(r, nLine, pStart);
    }
}
// "BUTTON id" or "SEPARATOR" (0).
void ReadToolbarButtons(CStatementReader& r, std::vector<UINT>& ids, const Reporter& report)
{
    while (!r.AtBlockEnd()) {
        const int nLine = r.Line();
        const Token* pStart = r.Peek();
        r.BeginStatement();
        int nId = 0;
        if (r.IsWord("SEPARATOR")) {
            r.Next();
            ids.push_back(0);
            continue;
        }
        if (r.IsWord("BUTTON")) {
            r.Next();
            if (r.Int(nId) && nId > 0 && nId <= 0xFFFF) {
                ids.push_back(static_cast<UINT>(nId));
                continue;
            }
            r.Fail("a button's id is 1 to 65535");
        } else {
            r.Fail("expected BUTTON or SEPARATOR");
        }
        report();
        SkipFailed(r, nLine, pStart);
    }
}
}  // namespace

// Reads "100 DIALOGEX x, y, cx, cy", "200 MENU", "300 ACCELERATORS" or "280 TOOLBAR cx, cy" with
// its options and block.
BOOL CResourceScript::ParseTemplate(const std::vector<Token>& tokens, size_t& i)
{
    if (i + 1 >= tokens.size() || (tokens[i].kind != TK_NUMBER && tokens[i].kind != TK_WORD))
        return FALSE;
    const Token& type = tokens[i + 1];
    const bool bDialog = Same(type, "DIALOGEX") || Same(type, "DIALOG");
    const bool bMenu = Same(type, "MENU") || Same(type, "MENUEX");
    const bool bAccel = Same(type, "ACCELERATORS");
    const bool bToolbar = Same(type, "TOOLBAR");
    if (!bDialog && !bMenu && !bAccel && !bToolbar)
        return FALSE;
    const std::string strName = tokens[i].kind == TK_NUMBER ? NumberedName(tokens[i].ullValue) : Upper(tokens[i].text);
    const int nHeaderLine = tokens[i].nLine;
    i += 2;
    CStatementReader r(tokens, i);
    r.BeginStatement();
    const Reporter report = [&]() {
        if (!r.Error().empty()) {
            AddError(r.ErrorLine(), r.Error().c_str());
            r.ClearError();
        }
    };

    TBDLGTEMPLATE dlg;
    dlg.dwStyle = WS_POPUP | WS_BORDER | WS_SYSMENU;
    TBTOOLBARTEMPLATE toolbar;
    if (bDialog) {
        if (!(r.Int(dlg.x) && r.Comma() && r.Int(dlg.y) && r.Comma() && r.Int(dlg.cx) && r.Comma() && r.Int(dlg.cy)))
            report();
        if (r.Comma()) {
            int nHelpId = 0;        // kept by the original for context help; nothing here asks for it
            r.Int(nHelpId);
        }
        r.SkipLine(nHeaderLine);
    } else if (bToolbar) {
        // Images larger than this are no toolbar's.
        if (!(r.Int(toolbar.cx) && r.Comma() && r.Int(toolbar.cy)) || toolbar.cx <= 0 || toolbar.cy <= 0 ||
            toolbar.cx > 256 || toolbar.cy > 256) {
            r.Fail("a toolbar's image size is two numbers from 1 to 256");
            report();
            toolbar.cx = toolbar.cy = 0;
        }
        r.SkipLine(nHeaderLine);
    } else {
        r.SkipLine(nHeaderLine);    // memory options (DISCARDABLE ...) mean nothing here
    }
    // Option lines up to the block.
    bool bCaption = false;
    while (!r.AtEnd() && !r.IsKind(TK_BEGIN)) {
        const int nLine = r.Line();
        r.BeginStatement();
        if (bDialog && r.IsWord("STYLE")) {
            r.Next();
            dlg.dwStyle = 0;
            r.Style(dlg.dwStyle);
        } else if (bDialog && r.IsWord("EXSTYLE")) {
            r.Next();
            r.Style(dlg.dwExStyle);
        } else if (bDialog && r.IsWord("CAPTION")) {
            r.Next();
            bCaption = r.Text(dlg.strCaption);
        } else if (bDialog && r.IsWord("FONT")) {
            r.Next();
            // Weight, italic and character set are optional.
            int nItalic = 0;
            if (r.Int(dlg.nPointSize) && r.Comma() && r.Text(dlg.strFace) && r.Comma() && r.Int(dlg.nWeight) &&
                r.Comma() && r.Int(nItalic) && r.Comma())
                r.Int(dlg.nCharSet);
            dlg.bItalic = nItalic != 0;
        } else if (bDialog && r.IsWord("MENU")) {
            r.Next();
            if (r.IsKind(TK_NUMBER))
                dlg.strMenu = NumberedName(r.Peek()->ullValue);
            else if (r.Peek())
                dlg.strMenu = Upper(r.Peek()->text);
            r.Next();
        } else if (bDialog && r.IsWord("CLASS")) {
            r.Next();
            r.Text(dlg.strClass);
        } else if (r.IsWord("STRINGTABLE") || r.IsKind(TK_END)) {
            break;
        } else {
            // LANGUAGE, VERSION, CHARACTERISTICS and memory options have no meaning here.
            r.Next();
        }
        report();
        r.SkipLine(nLine);
    }
    if (!r.IsKind(TK_BEGIN)) {
        AddError(nHeaderLine, "statement without its BEGIN block");
        return TRUE;
    }
    r.Next();
    if (bDialog) {
        if (bCaption)
            dlg.dwStyle |= WS_CAPTION;
        if (!dlg.strFace.empty())
            dlg.dwStyle |= DS_SETFONT;
        ReadControls(r, dlg.items, report);
    } else if (bMenu) {
        std::vector<TBMENUTEMPLATEITEM> items;
        ReadMenuItems(r, items, 0, report);
        if (!m_templates.menus.emplace(strName, std::move(items)).second)
            AddError(nHeaderLine, "menu given twice; the first stays");
    } else if (bAccel) {
        std::vector<ACCEL> accel;
        ReadAccelerators(r, accel, report);
        if (!m_templates.accelerators.emplace(strName, std::move(accel)).second)
            AddError(nHeaderLine, "accelerator table given twice; the first stays");
    } else {
        ReadToolbarButtons(r, toolbar.ids, report);
        // A toolbar without its image size cannot be shown: it is left out.
        if (toolbar.cx > 0 && !m_templates.toolbars.emplace(strName, std::move(toolbar)).second)
            AddError(nHeaderLine, "toolbar given twice; the first stays");
    }
    if (!r.IsKind(TK_END)) {
        AddError(nHeaderLine, "block without its END");
        return TRUE;
    }
    r.Next();
    if (bDialog && !m_templates.dialogs.emplace(strName, std::move(dlg)).second)
        AddError(nHeaderLine, "dialog given twice; the first stays");
    return TRUE;
}

// ---- converting and finding ----

namespace {
void ConvertMenu(std::vector<TBMENUTEMPLATEITEM>& items, UINT uCodePage)
{
    for (TBMENUTEMPLATEITEM& item : items) {
        item.strText = TbUtf8ToCodePage(item.strText, uCodePage);
        ConvertMenu(item.popup, uCodePage);
    }
}
}  // namespace

void TbConvertTemplates(TbResourceTemplates& templates, UINT uCodePage)
{
    for (auto& [strName, dlg] : templates.dialogs) {
        // A font of the default character set draws the module's own code page.
        if (dlg.nCharSet == DEFAULT_CHARSET && uCodePage == 1256)
            dlg.nCharSet = ARABIC_CHARSET;
        dlg.strCaption = TbUtf8ToCodePage(dlg.strCaption, uCodePage);
        for (TBDLGITEMTEMPLATE& item : dlg.items)
            item.strText = TbUtf8ToCodePage(item.strText, uCodePage);
    }
    for (auto& [strName, items] : templates.menus)
        ConvertMenu(items, uCodePage);
}

std::string TbResourceNameKey(LPCSTR pszName)
{
    if (IS_INTRESOURCE(pszName))
        return NumberedName(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(pszName)));
    return Upper(pszName);
}

const TBDLGTEMPLATE* TbFindDialogTemplate(HINSTANCE hInstance, LPCSTR pszName)
{
    const TbResourceTemplates* pTemplates = TbModuleTemplates(hInstance);
    if (!pTemplates || !pszName)
        return nullptr;
    const auto it = pTemplates->dialogs.find(TbResourceNameKey(pszName));
    return it == pTemplates->dialogs.end() ? nullptr : &it->second;
}

const std::vector<TBMENUTEMPLATEITEM>* TbFindMenuTemplate(HINSTANCE hInstance, LPCSTR pszName)
{
    const TbResourceTemplates* pTemplates = TbModuleTemplates(hInstance);
    if (!pTemplates || !pszName)
        return nullptr;
    const auto it = pTemplates->menus.find(TbResourceNameKey(pszName));
    return it == pTemplates->menus.end() ? nullptr : &it->second;
}

const std::vector<ACCEL>* TbFindAcceleratorTemplate(HINSTANCE hInstance, LPCSTR pszName)
{
    const TbResourceTemplates* pTemplates = TbModuleTemplates(hInstance);
    if (!pTemplates || !pszName)
        return nullptr;
    const auto it = pTemplates->accelerators.find(TbResourceNameKey(pszName));
    return it == pTemplates->accelerators.end() ? nullptr : &it->second;
}

const TBTOOLBARTEMPLATE* TbFindToolbarTemplate(HINSTANCE hInstance, LPCSTR pszName)
{
    const TbResourceTemplates* pTemplates = TbModuleTemplates(hInstance);
    if (!pTemplates || !pszName)
        return nullptr;
    const auto it = pTemplates->toolbars.find(TbResourceNameKey(pszName));
    return it == pTemplates->toolbars.end() ? nullptr : &it->second;
}
