// The common dialogs: what each asks the display, the rules an answer must keep, and how the
// answer fills the caller's structure.
#include "platform/win/user/CommonDialogs.h"
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/GdiDefs.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/gdi/TextEngine.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/LayerWords.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/Questions.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/user/LineHandling.h"

namespace {
DWORD s_dwError = 0;

BOOL Fail(DWORD dwError)
{
    s_dwError = dwError;
    return FALSE;
}

// An answer the chooser does not take: it stays open for the next one.
const int ANSWER_REFUSED = -1;

// Asks until an answer closes the chooser: the queued test answers first, then the display.
// fnTake gets a test answer's text, or null for the display's answer (in the request), and
// returns TRUE or FALSE to close the chooser with that result, or ANSWER_REFUSED. A cancel, a
// quit or nobody to ask closes it with FALSE.
BOOL AskChooser(HWND hOwner, int nKind, const std::function<ITbQuestion*()>& fnAsk,
                const std::function<int(const std::string*)>& fnTake)
{
    TbCheckModalStart("chooser");
    // The chooser ends a drag in progress even when nobody sees it (a test's answer, no display).
    TbCancelMode();
    for (;;) {
        TBTESTANSWER answer;
        const int nFrom = TbTakeTestAnswer(nKind, &answer) ? TB_ASKED_TEST : TbWaitForAnswer(hOwner, fnAsk(), nKind, &answer);
        if (nFrom == TB_ASKED_NOBODY || nFrom == TB_ASKED_QUIT || (nFrom == TB_ASKED_TEST && answer.nValue != IDOK))
            return FALSE;
        const int nResult = fnTake(nFrom == TB_ASKED_TEST ? &answer.strText : nullptr);
        if (nResult != ANSWER_REFUSED)
            return nResult;
    }
}

std::string ToUtf8(LPCSTR psz, size_t cbMax = std::string::npos)
{
    return psz ? TbCodePageToUtf8(std::string_view(psz, strnlen(psz, cbMax)), CP_ACP) : std::string();
}

BOOL ParseColor(const std::string& strText, COLORREF* pcr)
{
    int r = -1, g = -1, b = -1;
    char chExtra = 0;
    if (sscanf(strText.c_str(), "%d,%d,%d%c", &r, &g, &b, &chExtra) != 3 || r < 0 || r > 255 || g < 0 || g > 255 ||
        b < 0 || b > 255)
        return FALSE;
    *pcr = RGB(r, g, b);
    return TRUE;
}

// ---- files ----

BOOL IsFile(const std::string& strPath)
{
    struct stat st;
    return stat(strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

BOOL IsFolder(const std::string& strPath)
{
    struct stat st;
    return stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

size_t NameStart(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? 0 : nSlash + 1;
}

std::string FolderOf(const std::string& strPath)
{
    const size_t nName = NameStart(strPath);
    return nName <= 1 ? strPath.substr(0, nName) : strPath.substr(0, nName - 1);
}

// Where the extension starts (after the dot) in the name; npos when it has none.
size_t ExtensionStart(const std::string& strPath)
{
    const size_t nDot = strPath.rfind('.');
    return nDot == std::string::npos || nDot < NameStart(strPath) ? std::string::npos : nDot + 1;
}

TBFILEQUESTION DescribeFile(const OPENFILENAMEA* pOfn, BOOL bSave)
{
    TBFILEQUESTION q;
    q.bSave = bSave;
    q.strTitle = ToUtf8(pOfn->lpstrTitle);
    for (LPCSTR psz = pOfn->lpstrFilter; psz && *psz;) {
        LPCSTR pszPatterns = psz + strlen(psz) + 1;
        if (!*pszPatterns)
            break;
        q.filters.emplace_back(ToUtf8(psz), ToUtf8(pszPatterns));
        psz = pszPatterns + strlen(pszPatterns) + 1;
    }
    const DWORD nIndex = pOfn->nFilterIndex ? pOfn->nFilterIndex - 1 : 0;
    q.nFilter = nIndex < q.filters.size() ? static_cast<int>(nIndex) : 0;
    const std::string strOffered = ToUtf8(pOfn->lpstrFile, pOfn->nMaxFile);
    q.strFile = strOffered.substr(NameStart(strOffered));
    q.strFolder = FolderOf(strOffered);
    if (q.strFolder.empty())
        q.strFolder = ToUtf8(pOfn->lpstrInitialDir);
    if (q.strFolder.empty()) {
        char szCwd[4096];
        q.strFolder = getcwd(szCwd, sizeof szCwd) ? szCwd : "/";
    }
    q.strDefExt = ToUtf8(pOfn->lpstrDefExt);
    q.bMustExist = (pOfn->Flags & OFN_FILEMUSTEXIST) != 0;
    q.bConfirmOverwrite = bSave && (pOfn->Flags & OFN_OVERWRITEPROMPT);
    return q;
}

// The full path a typed name stands for: in the chooser's folder, with the default extension.
std::string CompletePath(const TBFILEQUESTION& q, std::string strPath)
{
    if (strPath.empty())
        return strPath;
    if (strPath[0] != '/')
        strPath = q.strFolder + (q.strFolder.empty() || q.strFolder.back() != '/' ? "/" : "") + strPath;
    if (!q.strDefExt.empty() && strPath.back() != '/' && ExtensionStart(strPath) == std::string::npos)
        strPath += "." + q.strDefExt;
    return strPath;
}

// The chooser's rules; FALSE keeps it open. The display's chooser asks about replacing a file
// itself; for a test's answer the question is a message box.
BOOL KeepsFileRules(const OPENFILENAMEA* pOfn, const TBFILEQUESTION& q, const std::string& strPath, BOOL bAskReplace)
{
    if (strPath.empty() || strPath.back() == '/')
        return FALSE;
    if ((pOfn->Flags & OFN_FILEMUSTEXIST) && !IsFile(strPath))
        return FALSE;
    if ((pOfn->Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !IsFolder(FolderOf(strPath)))
        return FALSE;
    if (bAskReplace && q.bConfirmOverwrite && IsFile(strPath)) {
        // The name reads left to right inside an Arabic sentence (between left-to-right marks).
        const std::string strName = strPath.substr(NameStart(strPath));
        const std::string strMark = TbUserReadsArabic() ? "\xE2\x80\x8E" : "";
        char szText[4096];
        snprintf(szText, sizeof szText, TbLayerWord("%s already exists.\nDo you want to replace it?"),
                 (strMark + strName + strMark).c_str());
        const std::string strTitle = pOfn->lpstrTitle ? std::string(pOfn->lpstrTitle) : TbUtf8ToCodePage(TbLayerWord("Save As"), CP_ACP);
        return MessageBoxA(pOfn->hwndOwner, TbUtf8ToCodePage(szText, CP_ACP).c_str(), strTitle.c_str(),
                           MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
    }
    return TRUE;
}

BOOL DeliverFile(OPENFILENAMEA* pOfn, const TBFILEQUESTION& q, const std::string& strPath)
{
    const std::string strBytes = TbUtf8ToCodePage(strPath, CP_ACP);
    // A name the page cannot spell would name another file.
    if (TbCodePageToUtf8(strBytes, CP_ACP) != strPath || strBytes.size() >= 0xFFFF)
        return Fail(FNERR_INVALIDFILENAME);
    const size_t nName = NameStart(strBytes);
    const size_t nExt = ExtensionStart(strBytes);
    const std::string strTitle = strBytes.substr(nName);
    if (strBytes.size() >= pOfn->nMaxFile) {
        // As the original: the size needed in the first two bytes, nothing else written.
        if (pOfn->nMaxFile >= sizeof(WORD)) {
            const WORD wNeeded = static_cast<WORD>(strBytes.size() + 1);
            memcpy(pOfn->lpstrFile, &wNeeded, sizeof wNeeded);
        }
        return Fail(FNERR_BUFFERTOOSMALL);
    }
    if (pOfn->lpstrFileTitle && strTitle.size() >= pOfn->nMaxFileTitle)
        return Fail(FNERR_BUFFERTOOSMALL);
    memcpy(pOfn->lpstrFile, strBytes.c_str(), strBytes.size() + 1);
    if (pOfn->lpstrFileTitle)
        memcpy(pOfn->lpstrFileTitle, strTitle.c_str(), strTitle.size() + 1);
    pOfn->nFileOffset = static_cast<WORD>(nName);
    pOfn->nFileExtension = static_cast<WORD>(nExt == std::string::npos ? strBytes.size() : nExt);
    if (pOfn->lpstrDefExt) {
        const std::string strExt = nExt == std::string::npos ? "" : strBytes.substr(nExt);
        if (lstrcmpiA(strExt.c_str(), pOfn->lpstrDefExt) != 0)
            pOfn->Flags |= OFN_EXTENSIONDIFFERENT;
        else
            pOfn->Flags &= ~static_cast<DWORD>(OFN_EXTENSIONDIFFERENT);
    }
    if (!q.filters.empty())
        pOfn->nFilterIndex = static_cast<DWORD>(q.nFilter + 1);
    return TRUE;
}

BOOL GetFileName(LPOPENFILENAMEA pOfn, BOOL bSave)
{
    s_dwError = 0;
    if (!pOfn || pOfn->lStructSize != sizeof(OPENFILENAMEA))
        return Fail(CDERR_STRUCTSIZE);
    if (!pOfn->lpstrFile || !pOfn->nMaxFile)
        return Fail(CDERR_INITIALIZATION);
    TBFILEQUESTION q = DescribeFile(pOfn, bSave);
    return AskChooser(
        pOfn->hwndOwner, bSave ? TB_ASK_SAVEFILE : TB_ASK_OPENFILE,
        [&] { return TbGetDisplay()->AskFile(pOfn->hwndOwner, &q); },
        [&](const std::string* pText) -> int {
            if (!pText && !q.bOk)
                return FALSE;
            const std::string strPath = CompletePath(q, pText ? *pText : q.strPath);
            if (!KeepsFileRules(pOfn, q, strPath, pText != nullptr))
                return ANSWER_REFUSED;
            return DeliverFile(pOfn, q, strPath);
        });
}

// ---- fonts ----

int ScreenLogPixelsY()
{
    HDC hdc = GetDC(nullptr);
    const int nDpi = hdc ? GetDeviceCaps(hdc, LOGPIXELSY) : 0;
    if (hdc)
        ReleaseDC(nullptr, hdc);
    return nDpi > 0 ? nDpi : 96;
}

// A test's font: "face;points" then any of a weight, italic, underline, strikeout, "r,g,b".
BOOL ParseFont(const std::string& strText, TBFONTCHOICE* pFont)
{
    std::vector<std::string> fields;
    for (size_t nStart = 0;;) {
        const size_t nEnd = strText.find(';', nStart);
        fields.push_back(strText.substr(nStart, nEnd - nStart));
        if (nEnd == std::string::npos)
            break;
        nStart = nEnd + 1;
    }
    char* pEnd = nullptr;
    const double dPoints = fields.size() >= 2 ? strtod(fields[1].c_str(), &pEnd) : 0;
    if (fields[0].empty() || !pEnd || *pEnd || dPoints < 1 || dPoints > 1600)
        return FALSE;
    pFont->strFace = fields[0];
    pFont->nPointSize10 = static_cast<int>(dPoints * 10 + 0.5);
    for (size_t i = 2; i < fields.size(); ++i) {
        const std::string& f = fields[i];
        const long nWeight = strtol(f.c_str(), &pEnd, 10);
        if (f == "italic")
            pFont->bItalic = TRUE;
        else if (f == "underline")
            pFont->bUnderline = TRUE;
        else if (f == "strikeout")
            pFont->bStrikeOut = TRUE;
        else if (!f.empty() && !*pEnd && nWeight >= 1 && nWeight <= 1000)
            pFont->nWeight = static_cast<int>(nWeight);
        else if (!ParseColor(f, &pFont->crColor))
            return FALSE;
    }
    return TRUE;
}

void DeliverFont(LPCHOOSEFONTA pCf, const TBFONTCHOICE& font, int nDpi)
{
    const BOOL bEffects = (pCf->Flags & CF_EFFECTS) != 0;
    LOGFONTA lf = {};
    lf.lfHeight = -((font.nPointSize10 * nDpi + 360) / 720);
    lf.lfWeight = font.nWeight;
    lf.lfItalic = font.bItalic ? 1 : 0;
    lf.lfUnderline = bEffects && font.bUnderline ? 1 : 0;
    lf.lfStrikeOut = bEffects && font.bStrikeOut ? 1 : 0;
    // The script the caller started with stays; a new font gets the active page's.
    if (pCf->Flags & CF_INITTOLOGFONTSTRUCT)
        lf.lfCharSet = pCf->lpLogFont->lfCharSet;
    else
        lf.lfCharSet = GetACP() == 1256 ? ARABIC_CHARSET : ANSI_CHARSET;
    lstrcpynA(lf.lfFaceName, TbUtf8ToCodePage(font.strFace, CP_ACP).c_str(), LF_FACESIZE);
    *pCf->lpLogFont = lf;
    pCf->iPointSize = font.nPointSize10;
    if (bEffects)
        pCf->rgbColors = font.crColor;
    pCf->nFontType = static_cast<WORD>(SCREEN_FONTTYPE | (font.nWeight >= 600 ? BOLD_FONTTYPE : REGULAR_FONTTYPE) |
                                       (font.bItalic ? ITALIC_FONTTYPE : 0));
}
}  // namespace

BOOL GetOpenFileNameA(LPOPENFILENAMEA pOfn)
{
    return GetFileName(pOfn, FALSE);
}

BOOL GetSaveFileNameA(LPOPENFILENAMEA pOfn)
{
    return GetFileName(pOfn, TRUE);
}

BOOL ChooseFontA(LPCHOOSEFONTA pCf)
{
    s_dwError = 0;
    if (!pCf || pCf->lStructSize != sizeof(CHOOSEFONTA))
        return Fail(CDERR_STRUCTSIZE);
    if (!pCf->lpLogFont)
        return Fail(CDERR_INITIALIZATION);
    const BOOL bLimit = (pCf->Flags & CF_LIMITSIZE) != 0;
    if (bLimit && pCf->nSizeMax < pCf->nSizeMin)
        return Fail(CFERR_MAXLESSTHANMIN);
    const int nDpi = ScreenLogPixelsY();
    TBFONTQUESTION q;
    q.bEffects = (pCf->Flags & CF_EFFECTS) != 0;
    q.bScalableOnly = (pCf->Flags & CF_SCALABLEONLY) != 0;
    q.bFixedPitchOnly = (pCf->Flags & CF_FIXEDPITCHONLY) != 0;
    if (bLimit) {
        q.nMinPoints = pCf->nSizeMin;
        q.nMaxPoints = pCf->nSizeMax;
    }
    if (pCf->Flags & CF_INITTOLOGFONTSTRUCT) {
        const LOGFONTA& lf = *pCf->lpLogFont;
        q.font.strFace = ToUtf8(lf.lfFaceName, LF_FACESIZE);
        // Whole points, as the character height shows them: -13 at 96 dpi is 10 points.
        if (lf.lfHeight)
            q.font.nPointSize10 = (std::abs(static_cast<int>(lf.lfHeight)) * 72 + nDpi / 2) / nDpi * 10;
        q.font.nWeight = lf.lfWeight > 0 ? static_cast<int>(lf.lfWeight) : 400;
        q.font.bItalic = lf.lfItalic != 0;
        q.font.bUnderline = q.bEffects && lf.lfUnderline;
        q.font.bStrikeOut = q.bEffects && lf.lfStrikeOut;
    }
    if (q.bEffects)
        q.font.crColor = pCf->rgbColors & 0x00FFFFFF;
    return AskChooser(
        pCf->hwndOwner, TB_ASK_FONT, [&] { return TbGetDisplay()->AskFont(pCf->hwndOwner, &q); },
        [&](const std::string* pText) -> int {
            TBFONTCHOICE font = q.font;
            if (pText) {
                font = TBFONTCHOICE();
                font.crColor = q.font.crColor;
                if (!ParseFont(*pText, &font))
                    return ANSWER_REFUSED;
            } else if (!q.bOk) {
                return FALSE;
            }
            if (bLimit && (font.nPointSize10 < pCf->nSizeMin * 10 || font.nPointSize10 > pCf->nSizeMax * 10))
                return ANSWER_REFUSED;
            // Existing faces only: a name typed for a face the machine lacks does not close it.
            if ((pCf->Flags & CF_FORCEFONTEXIST) && !TbGetTextEngine()->HasFace(font.strFace.c_str()))
                return ANSWER_REFUSED;
            DeliverFont(pCf, font, nDpi);
            return TRUE;
        });
}

BOOL ChooseColorA(LPCHOOSECOLORA pCc)
{
    s_dwError = 0;
    if (!pCc || pCc->lStructSize != sizeof(CHOOSECOLORA))
        return Fail(CDERR_STRUCTSIZE);
    if (!pCc->lpCustColors)
        return Fail(CDERR_INITIALIZATION);
    TBCOLORQUESTION q;
    // A palette-relative or system colour starts as its plain RGB.
    q.crColor = (pCc->Flags & CC_RGBINIT) ? pCc->rgbResult & 0x00FFFFFF : 0;
    for (int i = 0; i < 16; ++i)
        q.custom[i] = pCc->lpCustColors[i] & 0x00FFFFFF;
    return AskChooser(
        pCc->hwndOwner, TB_ASK_COLOR, [&] { return TbGetDisplay()->AskColor(pCc->hwndOwner, &q); },
        [&](const std::string* pText) -> int {
            COLORREF cr = q.crColor;
            if (pText) {
                if (!ParseColor(*pText, &cr))
                    return ANSWER_REFUSED;
            } else {
                // Custom colours the person changed stay, whichever button closed the chooser.
                std::copy(q.custom, q.custom + 16, pCc->lpCustColors);
                if (!q.bOk)
                    return FALSE;
            }
            pCc->rgbResult = cr;
            return TRUE;
        });
}

DWORD CommDlgExtendedError()
{
    return s_dwError;
}

// ---- print setup ----
namespace {
// The printer named by a DEVNAMES block (or the default printer), with its device mode merged
// from hDevMode when the mode is of that printer.
struct SetupStart {
    std::string strName;        // active code page
    DEVMODEA dm = {};
};

std::string DevNamesDevice(HGLOBAL hDevNames)
{
    std::string strName;
    if (!hDevNames)
        return strName;
    const auto* pNames = static_cast<const DEVNAMES*>(GlobalLock(hDevNames));
    const SIZE_T cb = GlobalSize(hDevNames);
    if (pNames && pNames->wDeviceOffset >= sizeof(DEVNAMES) && pNames->wDeviceOffset < cb) {
        const char* pszDevice = reinterpret_cast<const char*>(pNames) + pNames->wDeviceOffset;
        strName.assign(pszDevice, strnlen(pszDevice, cb - pNames->wDeviceOffset));
    }
    GlobalUnlock(hDevNames);
    return strName;
}

// The printer's device mode with the fields of pIn it can take; FALSE for a printer not listed.
BOOL PrinterMode(const std::string& strName, HGLOBAL hDevMode, DEVMODEA* pDm)
{
    DEVMODEA in = {};
    BOOL bIn = FALSE;
    if (hDevMode) {
        const auto* pIn = static_cast<const DEVMODEA*>(GlobalLock(hDevMode));
        const SIZE_T cb = GlobalSize(hDevMode);
        if (pIn && cb >= offsetof(DEVMODEA, dmFields) + sizeof(DWORD) && pIn->dmSize <= cb) {
            memcpy(&in, pIn, std::min<size_t>(pIn->dmSize, sizeof in));
            bIn = TRUE;
        }
        GlobalUnlock(hDevMode);
    }
    std::string strDevice = strName;
    return DocumentPropertiesA(nullptr, nullptr, strDevice.data(), pDm, bIn ? &in : nullptr,
                               bIn ? DM_IN_BUFFER | DM_OUT_BUFFER : DM_OUT_BUFFER) == IDOK;
}

HGLOBAL NewDevNames(const TBPRINTER& printer)
{
    const std::string strDriver = "winspool";
    const size_t nDriver = sizeof(DEVNAMES);
    const size_t nDevice = nDriver + strDriver.size() + 1;
    const size_t nOutput = nDevice + printer.strName.size() + 1;
    const size_t cb = nOutput + printer.strPort.size() + 1;
    if (cb > 0xFFFF)
        return nullptr;
    HGLOBAL h = GlobalAlloc(GHND, cb);
    auto* pBytes = static_cast<char*>(GlobalLock(h));
    if (!pBytes)
        return h;
    auto* pNames = reinterpret_cast<DEVNAMES*>(pBytes);
    pNames->wDriverOffset = static_cast<WORD>(nDriver);
    pNames->wDeviceOffset = static_cast<WORD>(nDevice);
    pNames->wOutputOffset = static_cast<WORD>(nOutput);
    pNames->wDefault = printer.bDefault ? DN_DEFAULTPRN : 0;
    memcpy(pBytes + nDriver, strDriver.c_str(), strDriver.size() + 1);
    memcpy(pBytes + nDevice, printer.strName.c_str(), printer.strName.size() + 1);
    memcpy(pBytes + nOutput, printer.strPort.c_str(), printer.strPort.size() + 1);
    GlobalUnlock(h);
    return h;
}

HGLOBAL NewDevMode(const DEVMODEA& dm)
{
    HGLOBAL h = GlobalAlloc(GHND, sizeof dm);
    if (void* p = GlobalLock(h)) {
        memcpy(p, &dm, sizeof dm);
        GlobalUnlock(h);
    }
    return h;
}

// "printer=PDF;paper=9;orientation=2": what a test answers for the person. FALSE for a printer
// the chooser does not list.
BOOL ApplySetupAnswer(const std::string& strText, TBPRINTSETUPQUESTION* pQ)
{
    size_t nStart = 0;
    while (nStart <= strText.size()) {
        const size_t nEnd = std::min(strText.find(';', nStart), strText.size());
        const std::string item = strText.substr(nStart, nEnd - nStart);
        const size_t nEq = item.find('=');
        if (nEq != std::string::npos) {
            const std::string key = item.substr(0, nEq), value = item.substr(nEq + 1);
            if (key == "printer") {
                auto it = std::find_if(pQ->printers.begin(), pQ->printers.end(),
                                       [&](const TBPRINTSETUPPRINTER& p) { return p.strName == value; });
                if (it == pQ->printers.end())
                    return FALSE;
                pQ->nPrinter = static_cast<int>(it - pQ->printers.begin());
            } else if (key == "paper") {
                pQ->nPaper = static_cast<short>(atoi(value.c_str()));
            } else if (key == "orientation") {
                pQ->bLandscape = atoi(value.c_str()) == DMORIENT_LANDSCAPE;
            }
        }
        nStart = nEnd + 1;
    }
    return TRUE;
}
}  // namespace

BOOL PrintDlgA(LPPRINTDLGA pPd)
{
    s_dwError = 0;
    if (!pPd || pPd->lStructSize != sizeof(PRINTDLGA))
        return Fail(CDERR_STRUCTSIZE);
    if (!(pPd->Flags & PD_PRINTSETUP))
        return Fail(CDERR_INITIALIZATION);
    const std::vector<TBPRINTER> printers = TbListPrinters();
    auto itDefault = std::find_if(printers.begin(), printers.end(), [](const TBPRINTER& p) { return p.bDefault; });
    if (itDefault == printers.end())
        return Fail(PDERR_NODEFAULTPRN);
    // Starts on the printer named, its mode as handed in; a printer gone starts on the default.
    const std::string strStart = DevNamesDevice(pPd->hDevNames);
    auto itStart = std::find_if(printers.begin(), printers.end(),
                                [&](const TBPRINTER& p) { return p.strName == strStart; });
    const BOOL bNamed = itStart != printers.end();
    if (!bNamed)
        itStart = itDefault;
    DEVMODEA dmStart = {};
    if (!PrinterMode(itStart->strName, bNamed ? pPd->hDevMode : nullptr, &dmStart))
        return Fail(PDERR_PRINTERNOTFOUND);

    TBPRINTSETUPQUESTION q;
    for (const TBPRINTER& printer : printers) {
        TBPRINTSETUPPRINTER entry{ToUtf8(printer.strName.c_str()), ToUtf8(printer.strDriver.c_str()),
                                  ToUtf8(printer.strPort.c_str()), ToUtf8(printer.strComment.c_str()), {}};
        for (short nId : printer.papers)
            if (const TBPAPERSIZE* pPaper = TbFindPaper(nId))
                entry.papers.emplace_back(nId, pPaper->pszName);
        q.printers.push_back(std::move(entry));
    }
    q.nPrinter = static_cast<int>(itStart - printers.begin());
    q.nPaper = dmStart.dmPaperSize;
    q.bLandscape = dmStart.dmOrientation == DMORIENT_LANDSCAPE;
    return AskChooser(
        pPd->hwndOwner, TB_ASK_PRINTSETUP, [&] { return TbGetDisplay()->AskPrintSetup(pPd->hwndOwner, &q); },
        [&](const std::string* pText) -> int {
            TBPRINTSETUPQUESTION answer = q;
            if (pText ? !ApplySetupAnswer(*pText, &answer) : !q.bOk)
                return pText ? ANSWER_REFUSED : FALSE;
            if (answer.nPrinter < 0 || answer.nPrinter >= static_cast<int>(printers.size()))
                return ANSWER_REFUSED;
            const TBPRINTER& chosen = printers[static_cast<size_t>(answer.nPrinter)];
            // The mode the chooser started on carries over to another printer as far as it can.
            DEVMODEA in = dmStart;
            in.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
            in.dmPaperSize = answer.nPaper;
            in.dmOrientation = answer.bLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
            DEVMODEA dm = {};
            std::string strDevice = chosen.strName;
            if (DocumentPropertiesA(nullptr, nullptr, strDevice.data(), &dm, &in, DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK)
                return ANSWER_REFUSED;
            if (pPd->hDevNames)
                GlobalFree(pPd->hDevNames);
            if (pPd->hDevMode)
                GlobalFree(pPd->hDevMode);
            pPd->hDevNames = NewDevNames(chosen);
            pPd->hDevMode = NewDevMode(dm);
            return TRUE;
        });
}
