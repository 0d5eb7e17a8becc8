// The "RichView" class: a read-only view of a page of formatted text. Its window text is HTML;
// the view shows the text with its paragraphs, line breaks, list items, headings, bold, italic,
// underline and links, word-wrapped, with a vertical scroll bar under WS_VSCROLL. It is only a
// reader: scripts, styles and the document head are dropped, images and every other reference
// are never fetched, and a click on a link goes nowhere. WM_GETTEXT answers the text shown
// (paragraphs separated by CR LF), not the HTML.
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/SysMetrics.h"

namespace {
enum {
    RUN_BOLD = 1, RUN_ITALIC = 2, RUN_UNDERLINE = 4, RUN_LINK = 8,
    RUN_HEADING = 16,                   // larger and bold
};
const int RUN_STYLES = 32;
const int VIEW_MARGIN = 4;
const int WHEEL_LINES = 3;

struct Run {
    std::string strText;
    int nStyle = 0;
};
using Paragraph = std::vector<Run>;

// One word (or space) placed on a line.
struct Piece {
    int nPara = 0, nRun = 0;
    int nFrom = 0, nLength = 0;
    int x = 0, cx = 0;
};
struct Line {
    std::vector<Piece> pieces;
    int y = 0, cy = 0;
};

struct TbRichViewState : TbControlState {
    ~TbRichViewState() override { FreeFonts(); }
    void FreeFonts()
    {
        for (HFONT& hFont : fonts)
            if (hFont != nullptr) {
                DeleteObject(hFont);
                hFont = nullptr;
            }
    }
    std::vector<Paragraph> paras;
    std::string strShown;               // what WM_GETTEXT answers
    std::vector<Line> lines;
    int cxLaid = -1;                    // the width the lines were laid out for; -1: lay out again
    int cyContent = 0;
    int yScroll = 0;
    HFONT fonts[RUN_STYLES] = {};       // owned, made from the control's font on first use
};

TbRichViewState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbRichViewState>(hWnd);
}

// ---- Reading the HTML ----------------------------------------------------------------------

struct Reader {
    std::vector<Paragraph> paras{Paragraph{}};
    int nBold = 0, nItalic = 0, nUnderline = 0, nLink = 0, nHeading = 0;
    bool bSpacePending = false;

    int Style() const
    {
        return (nBold > 0 ? RUN_BOLD : 0) | (nItalic > 0 ? RUN_ITALIC : 0) | (nUnderline > 0 ? RUN_UNDERLINE : 0) |
               (nLink > 0 ? RUN_LINK : 0) | (nHeading > 0 ? RUN_HEADING : 0);
    }
    void AddChar(char ch)
    {
        Paragraph& para = paras.back();
        if (ch == ' ') {
            // Runs of blanks show as one, and none at the start of a paragraph.
            bSpacePending = !para.empty();
            return;
        }
        const int nStyle = Style();
        if (bSpacePending) {
            bSpacePending = false;
            // The blank goes with what follows: a link's underline stops at its last word.
            AddRaw(' ', nStyle);
        }
        AddRaw(ch, nStyle);
    }
    void AddRaw(char ch, int nStyle)
    {
        Paragraph& para = paras.back();
        if (para.empty() || para.back().nStyle != nStyle)
            para.push_back(Run{std::string(), nStyle});
        para.back().strText += ch;
    }
    // A line break always makes a new line; a block's edge only when the line holds something.
    void Break(bool bAlways)
    {
        bSpacePending = false;
        if (bAlways || !paras.back().empty())
            paras.emplace_back();
    }
};

bool StartsWithNoCase(const char* p, const char* pEnd, const char* pszWord)
{
    const size_t n = strlen(pszWord);
    return static_cast<size_t>(pEnd - p) >= n && strncasecmp(p, pszWord, n) == 0;
}

// The end of an element whose content is never shown (script, style, head): after its closing
// tag, or the end of the text.
const char* SkipElement(const char* p, const char* pEnd, const std::string& strName)
{
    const std::string strClose = "</" + strName;
    for (; p < pEnd; ++p)
        if (StartsWithNoCase(p, pEnd, strClose.c_str())) {
            const char* pGt = static_cast<const char*>(memchr(p, '>', static_cast<size_t>(pEnd - p)));
            return pGt != nullptr ? pGt + 1 : pEnd;
        }
    return pEnd;
}

// An entity after '&': the character, and p moved past it; a lone '&' stands for itself.
char ReadEntity(const char*& p, const char* pEnd)
{
    static const struct { const char* pszName; char ch; } s_names[] = {
        {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}, {"nbsp;", ' '}};
    const char* pAt = p + 1;
    for (const auto& e : s_names)
        if (StartsWithNoCase(pAt, pEnd, e.pszName)) {
            p = pAt + strlen(e.pszName);
            return e.ch;
        }
    if (pAt < pEnd && *pAt == '#') {
        const bool bHex = pAt + 1 < pEnd && (pAt[1] == 'x' || pAt[1] == 'X');
        const char* q = pAt + (bHex ? 2 : 1);
        long nCode = 0;
        int nDigits = 0;
        for (; q < pEnd && nDigits < 8 && isxdigit(static_cast<unsigned char>(*q)) && (bHex || isdigit(static_cast<unsigned char>(*q))); ++q, ++nDigits)
            nCode = nCode * (bHex ? 16 : 10) + (isdigit(static_cast<unsigned char>(*q)) ? *q - '0' : (tolower(*q) - 'a' + 10));
        if (nDigits > 0 && q < pEnd && *q == ';') {
            p = q + 1;
            // Only the characters every code page shares; the rest cannot be shown as one byte.
            return nCode >= 32 && nCode < 127 ? static_cast<char>(nCode) : (nCode == 160 || nCode == 9 || nCode == 10) ? ' ' : '?';
        }
    }
    p = pAt;
    return '&';
}

void ApplyTag(Reader& rd, const std::string& strName, bool bClose)
{
    static const struct { const char* pszName; int Reader::*pnDepth; } s_inline[] = {
        {"b", &Reader::nBold}, {"strong", &Reader::nBold}, {"i", &Reader::nItalic}, {"em", &Reader::nItalic},
        {"u", &Reader::nUnderline}, {"a", &Reader::nLink}};
    static const char* const s_blocks[] = {"p", "div", "ul", "ol", "table", "tr", "blockquote", "hr", "body", "center", "dl", "dt", "dd"};
    for (const auto& t : s_inline)
        if (strName == t.pszName) {
            int& nDepth = rd.*t.pnDepth;
            nDepth = bClose ? std::max(0, nDepth - 1) : nDepth + 1;
            return;
        }
    if (strName.size() == 2 && strName[0] == 'h' && strName[1] >= '1' && strName[1] <= '6') {
        rd.Break(false);
        rd.nHeading = bClose ? 0 : 1;
        return;
    }
    if (strName == "br") {
        rd.Break(true);
        return;
    }
    if (strName == "li") {
        rd.Break(false);
        if (!bClose) {
            rd.AddChar('\x95');         // the bullet, at the same place in both code pages
            rd.AddChar(' ');
        }
        return;
    }
    for (const char* pszBlock : s_blocks)
        if (strName == pszBlock) {
            rd.Break(false);
            return;
        }
}

std::vector<Paragraph> ReadHtml(const std::string& strHtml)
{
    Reader rd;
    const char* p = strHtml.data();
    const char* pEnd = p + strHtml.size();
    while (p < pEnd) {
        if (*p == '&') {
            const char ch = ReadEntity(p, pEnd);
            rd.AddChar(ch);
            continue;
        }
        if (*p != '<') {
            const unsigned char ch = static_cast<unsigned char>(*p++);
            rd.AddChar(ch <= ' ' || ch == 0x7F ? ' ' : static_cast<char>(ch));
            continue;
        }
        if (StartsWithNoCase(p, pEnd, "<!--")) {
            static const char s_szClose[] = "-->";
            const char* pClose = std::search(p + 4, pEnd, s_szClose, s_szClose + 3);
            p = pClose < pEnd ? pClose + 3 : pEnd;
            continue;
        }
        const char* q = p + 1;
        const bool bClose = q < pEnd && *q == '/';
        if (bClose)
            ++q;
        std::string strName;
        while (q < pEnd && (isalnum(static_cast<unsigned char>(*q)) || *q == '!' || *q == '?'))
            strName += static_cast<char>(tolower(static_cast<unsigned char>(*q++)));
        if (strName.empty() && !bClose) {
            rd.AddChar(*p++);           // a '<' that starts no tag is text
            continue;
        }
        // The tag's end, with '>' inside quoted attribute values left alone.
        char chQuote = 0;
        for (; q < pEnd && (chQuote != 0 || *q != '>'); ++q)
            if (chQuote != 0 ? *q == chQuote : (*q == '"' || *q == '\''))
                chQuote = chQuote != 0 ? 0 : *q;
        p = q < pEnd ? q + 1 : pEnd;
        if (!bClose && (strName == "script" || strName == "style" || strName == "head" || strName == "title" ||
                        strName == "object" || strName == "iframe"))
            p = SkipElement(p, pEnd, strName);
        else
            ApplyTag(rd, strName, bClose);
    }
    while (!rd.paras.empty() && rd.paras.back().empty())
        rd.paras.pop_back();
    return rd.paras;
}

std::string ShownText(const std::vector<Paragraph>& paras)
{
    std::string str;
    for (size_t i = 0; i < paras.size(); ++i) {
        if (i > 0)
            str += "\r\n";
        for (const Run& run : paras[i])
            str += run.strText;
    }
    return str;
}

// ---- Layout and painting -------------------------------------------------------------------

HFONT FontOf(TbRichViewState* pState, int nStyle)
{
    if (pState->fonts[nStyle] != nullptr)
        return pState->fonts[nStyle];
    LOGFONTA lf = {};
    GetObjectA(TbControlFont(pState), sizeof lf, &lf);
    if (nStyle & (RUN_BOLD | RUN_HEADING))
        lf.lfWeight = FW_BOLD;
    lf.lfItalic = (nStyle & RUN_ITALIC) ? TRUE : lf.lfItalic;
    lf.lfUnderline = (nStyle & (RUN_UNDERLINE | RUN_LINK)) ? TRUE : lf.lfUnderline;
    if (nStyle & RUN_HEADING)
        lf.lfHeight = lf.lfHeight * 4 / 3;
    pState->fonts[nStyle] = CreateFontIndirectA(&lf);
    return pState->fonts[nStyle] != nullptr ? pState->fonts[nStyle] : TbControlFont(pState);
}

int TextRoom(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return std::max(1, static_cast<int>(rc.right) - 2 * VIEW_MARGIN);
}

void UpdateScrollBar(HWND hWnd, TbRichViewState* pState)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int cyPage = std::max(1, static_cast<int>(rc.bottom));
    pState->yScroll = std::clamp(pState->yScroll, 0, std::max(0, pState->cyContent - cyPage));
    if (!(GetWindowLongA(hWnd, GWL_STYLE) & WS_VSCROLL))
        return;
    SCROLLINFO si = {sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, std::max(0, pState->cyContent - 1),
                     static_cast<UINT>(cyPage), pState->yScroll, 0};
    SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
}

// Words go on a line while they fit; a word wider than the whole line stands alone on it.
void LayOut(HWND hWnd, TbRichViewState* pState)
{
    const int cxRoom = TextRoom(hWnd);
    pState->lines.clear();
    HDC hdc = GetDC(hWnd);
    int y = VIEW_MARGIN;
    for (size_t nPara = 0; nPara < pState->paras.size(); ++nPara) {
        const Paragraph& para = pState->paras[nPara];
        Line line;
        line.y = y;
        int x = 0;
        auto finish = [&] {
            if (line.cy == 0)
                line.cy = TbFontHeight(FontOf(pState, 0));
            y += line.cy;
            pState->lines.push_back(std::move(line));
            line = Line{};
            line.y = y;
            x = 0;
        };
        for (size_t nRun = 0; nRun < para.size(); ++nRun) {
            const std::string& str = para[nRun].strText;
            HFONT hFont = FontOf(pState, para[nRun].nStyle);
            HGDIOBJ hOld = SelectObject(hdc, hFont);
            const int cyFont = TbFontHeight(hFont);
            for (size_t nFrom = 0; nFrom < str.size();) {
                // A word with the blank after it, or a blank alone.
                size_t nTo = str.find(' ', nFrom);
                nTo = nTo == std::string::npos ? str.size() : nTo + 1;
                SIZE size = {0, 0};
                GetTextExtentPoint32A(hdc, str.data() + nFrom, static_cast<int>(nTo - nFrom), &size);
                if (x > 0 && x + size.cx > cxRoom && str[nFrom] != ' ')
                    finish();
                if (!(x == 0 && str[nFrom] == ' ')) {
                    line.pieces.push_back(Piece{static_cast<int>(nPara), static_cast<int>(nRun), static_cast<int>(nFrom),
                                                static_cast<int>(nTo - nFrom), x, size.cx});
                    x += size.cx;
                    line.cy = std::max(line.cy, cyFont);
                }
                nFrom = nTo;
            }
            SelectObject(hdc, hOld);
        }
        finish();
    }
    ReleaseDC(hWnd, hdc);
    pState->cyContent = y + VIEW_MARGIN;
    pState->cxLaid = cxRoom;
    UpdateScrollBar(hWnd, pState);
}

void Reset(HWND hWnd, TbRichViewState* pState)
{
    pState->cxLaid = -1;
    pState->yScroll = 0;
    LayOut(hWnd, pState);
    InvalidateRect(hWnd, nullptr, TRUE);
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbRichViewState* pState = StateOf(hWnd);
    if (hdc == nullptr || pState == nullptr) {
        if (hdc != nullptr)
            EndPaint(hWnd, &ps);
        return 0;
    }
    if (pState->cxLaid != TextRoom(hWnd))
        LayOut(hWnd, pState);
    RECT rc;
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOW));
    const BOOL bRtl = (GetWindowLongA(hWnd, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) != 0;
    SetBkMode(hdc, TRANSPARENT);
    HGDIOBJ hOld = SelectObject(hdc, TbControlFont(pState));
    for (const Line& line : pState->lines) {
        const int yTop = line.y - pState->yScroll;
        if (yTop + line.cy <= ps.rcPaint.top || yTop >= ps.rcPaint.bottom)
            continue;
        // The words of one run on a line are drawn as one text, so that the text engine orders
        // them in its reading direction (Latin words inside right-to-left text keep their order).
        for (size_t i = 0; i < line.pieces.size();) {
            const Piece& first = line.pieces[i];
            size_t j = i + 1;
            while (j < line.pieces.size() && line.pieces[j].nRun == first.nRun)
                ++j;
            const Piece& last = line.pieces[j - 1];
            i = j;
            const Run& run = pState->paras[static_cast<size_t>(first.nPara)][static_cast<size_t>(first.nRun)];
            HFONT hFont = FontOf(pState, run.nStyle);
            SelectObject(hdc, hFont);
            SetTextColor(hdc, (run.nStyle & RUN_LINK) ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
            const int cx = last.x + last.cx - first.x;
            // Right to left, the line starts at the right edge and its runs go leftwards.
            const int xLeft = bRtl ? rc.right - VIEW_MARGIN - first.x - cx : VIEW_MARGIN + first.x;
            RECT rcText = {xLeft, yTop + line.cy - TbFontHeight(hFont), xLeft + cx, yTop + line.cy};
            DrawTextA(hdc, run.strText.data() + first.nFrom, last.nFrom + last.nLength - first.nFrom, &rcText,
                      DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | (bRtl ? DT_RTLREADING | DT_RIGHT : 0));
        }
    }
    SelectObject(hdc, hOld);
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnSetText(HWND hWnd, LPARAM lParam)
{
    LPCSTR pszHtml = reinterpret_cast<LPCSTR>(lParam);
    TbRichViewState* pState = StateOf(hWnd);
    if (pState == nullptr)
        return FALSE;
    pState->paras = ReadHtml(pszHtml != nullptr ? pszHtml : "");
    pState->strShown = ShownText(pState->paras);
    Reset(hWnd, pState);
    return TRUE;
}

LRESULT OnGetText(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const TbRichViewState* pState = StateOf(hWnd);
    LPSTR pszBuffer = reinterpret_cast<LPSTR>(lParam);
    if (pState == nullptr || pszBuffer == nullptr || wParam == 0)
        return 0;
    const size_t n = std::min(pState->strShown.size(), static_cast<size_t>(wParam) - 1);
    memcpy(pszBuffer, pState->strShown.data(), n);
    pszBuffer[n] = '\0';
    return static_cast<LRESULT>(n);
}

void ScrollTo(HWND hWnd, TbRichViewState* pState, int y)
{
    const int yOld = pState->yScroll;
    pState->yScroll = y;
    UpdateScrollBar(hWnd, pState);
    if (pState->yScroll != yOld)
        InvalidateRect(hWnd, nullptr, TRUE);
}

LRESULT OnVScroll(HWND hWnd, int nCode)
{
    TbRichViewState* pState = StateOf(hWnd);
    if (pState == nullptr)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int cyLine = TbFontHeight(FontOf(pState, 0));
    SCROLLINFO si = {sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    int y = pState->yScroll;
    switch (nCode) {
    case SB_LINEUP:        y -= cyLine; break;
    case SB_LINEDOWN:      y += cyLine; break;
    case SB_PAGEUP:        y -= rc.bottom; break;
    case SB_PAGEDOWN:      y += rc.bottom; break;
    case SB_TOP:           y = 0; break;
    case SB_BOTTOM:        y = pState->cyContent; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        if (GetScrollInfo(hWnd, SB_VERT, &si))
            y = si.nTrackPos;
        break;
    default: return 0;
    }
    ScrollTo(hWnd, pState, y);
    return 0;
}

LRESULT OnMouseWheel(HWND hWnd, WPARAM wParam)
{
    TbRichViewState* pState = StateOf(hWnd);
    if (pState != nullptr)
        ScrollTo(hWnd, pState, pState->yScroll - GET_WHEEL_DELTA_WPARAM(wParam) * WHEEL_LINES * TbFontHeight(FontOf(pState, 0)) / WHEEL_DELTA);
    return 0;
}

LRESULT OnSetFont(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbRichViewState* pState = StateOf(hWnd);
    if (pState == nullptr)
        return 0;
    pState->FreeFonts();
    TbControlSetFont(hWnd, pState, reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    pState->cxLaid = -1;
    LayOut(hWnd, pState);
    return 0;
}
}  // namespace

LRESULT CALLBACK TbRichViewWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:      return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_PAINT:         return OnPaint(hWnd);
    case WM_ERASEBKGND:    return 1;        // WM_PAINT fills the whole client area
    case WM_SETTEXT:       return OnSetText(hWnd, lParam);
    case WM_GETTEXT:       return OnGetText(hWnd, wParam, lParam);
    case WM_GETTEXTLENGTH: return StateOf(hWnd) != nullptr ? static_cast<LRESULT>(StateOf(hWnd)->strShown.size()) : 0;
    case WM_SETFONT:       return OnSetFont(hWnd, wParam, lParam);
    case WM_GETFONT:       return TbControlGetFont(StateOf(hWnd));
    case WM_SIZE:          InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_VSCROLL:       return OnVScroll(hWnd, LOWORD(wParam));
    case WM_MOUSEWHEEL:    return OnMouseWheel(hWnd, wParam);
    case WM_GETDLGCODE:    return DLGC_STATIC;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
