// The spooler: the printer list (the PDF printer, a test's virtual printers, the machine's
// queues), printer handles, device modes and capabilities, and the default printer.
#include <algorithm>
#include <cstring>
#include <map>
#include "platform/win/Windows.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/LineHandling.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Questions.h"
#include "platform/win/user/TestAnswers.h"

#define ERROR_INVALID_PRINTER_NAME 1801

namespace {
const TBPAPERSIZE s_papers[] = {
    {DMPAPER_A4, "A4", 2100, 2970},
    {DMPAPER_LETTER, "Letter", 2159, 2794},
    {DMPAPER_LEGAL, "Legal", 2159, 3556},
    {DMPAPER_A3, "A3", 2970, 4200},
    {DMPAPER_A5, "A5", 1480, 2100},
};

struct SpoolState {
    std::vector<TBPRINTER> virtuals;
    BOOL bUseSystem = TRUE;
    ITbPrintSystem* pSystem = nullptr;
    std::map<uintptr_t, std::string> handles;      // open printer handles and their names
    uintptr_t nNextHandle = 0x5000;
};

SpoolState& State()
{
    static SpoolState* s_pState = new SpoolState;
    return *s_pState;
}

TBPRINTER PdfPrinter()
{
    TBPRINTER p;
    p.nKind = TB_PRINTER_PDF;
    p.strName = TB_PDF_PRINTER_NAME;
    p.strPort = "FILE:";
    p.strDriver = "PDF";
    for (const TBPAPERSIZE& paper : s_papers)
        p.papers.push_back(paper.nId);
    // Letter where the user measures in inches, as the machine's own default paper would be.
    char szMeasure[4] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, szMeasure, sizeof szMeasure);
    p.nDefaultPaper = szMeasure[0] == '1' ? DMPAPER_LETTER : DMPAPER_A4;
    p.resolutions.push_back(POINT{600, 600});
    return p;
}

// The printer a handle or a name stands for; the handle first.
BOOL PrinterOf(HANDLE hPrinter, LPCSTR pszName, TBPRINTER* pPrinter)
{
    if (hPrinter) {
        auto it = State().handles.find(reinterpret_cast<uintptr_t>(hPrinter));
        return it != State().handles.end() && TbFindPrinter(it->second.c_str(), pPrinter);
    }
    return pszName && TbFindPrinter(pszName, pPrinter);
}

void CopyName(BYTE* pDest, size_t cb, const std::string& str)
{
    memset(pDest, 0, cb);
    memcpy(pDest, str.data(), std::min(str.size(), cb - 1));
}

DEVMODEA DefaultDevMode(const TBPRINTER& printer)
{
    DEVMODEA dm = {};
    CopyName(dm.dmDeviceName, sizeof dm.dmDeviceName, printer.strName);
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmSize = sizeof(DEVMODEA);
    dm.dmDriverExtra = 0;
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_COLLATE | DM_COLOR | DM_PRINTQUALITY | DM_YRESOLUTION;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    dm.dmPaperSize = printer.nDefaultPaper;
    dm.dmCopies = 1;
    dm.dmCollate = DMCOLLATE_FALSE;
    dm.dmColor = printer.bColor ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
    dm.dmPrintQuality = static_cast<SHORT>(printer.resolutions.empty() ? 600 : printer.resolutions[0].x);
    dm.dmYResolution = static_cast<SHORT>(printer.resolutions.empty() ? 600 : printer.resolutions[0].y);
    return dm;
}

// The fields of pIn that the printer can take, over dm. Only what lies inside pIn's own dmSize is
// read: a device mode from a settings file may be shorter than the record.
void MergeDevMode(const TBPRINTER& printer, const DEVMODEA* pIn, DEVMODEA* pDm)
{
    if (!pIn || pIn->dmSize < offsetof(DEVMODEA, dmFields) + sizeof(DWORD))
        return;
    DEVMODEA in = {};
    memcpy(&in, pIn, std::min<size_t>(pIn->dmSize, sizeof in));
    auto inside = [&](size_t nOffset, size_t cb) { return nOffset + cb <= pIn->dmSize; };
    const DWORD f = in.dmFields;
    if ((f & DM_ORIENTATION) && inside(offsetof(DEVMODEA, dmOrientation), 2) &&
        (in.dmOrientation == DMORIENT_PORTRAIT || in.dmOrientation == DMORIENT_LANDSCAPE))
        pDm->dmOrientation = in.dmOrientation;
    if ((f & DM_PAPERSIZE) && inside(offsetof(DEVMODEA, dmPaperSize), 2) &&
        std::find(printer.papers.begin(), printer.papers.end(), in.dmPaperSize) != printer.papers.end())
        pDm->dmPaperSize = in.dmPaperSize;
    if ((f & DM_COPIES) && inside(offsetof(DEVMODEA, dmCopies), 2) && in.dmCopies >= 1)
        pDm->dmCopies = std::min<SHORT>(in.dmCopies, 999);
    if ((f & DM_COLLATE) && inside(offsetof(DEVMODEA, dmCollate), 2))
        pDm->dmCollate = in.dmCollate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    if ((f & DM_COLOR) && inside(offsetof(DEVMODEA, dmColor), 2) && printer.bColor &&
        (in.dmColor == DMCOLOR_COLOR || in.dmColor == DMCOLOR_MONOCHROME))
        pDm->dmColor = in.dmColor;
    if ((f & DM_PRINTQUALITY) && (f & DM_YRESOLUTION) && inside(offsetof(DEVMODEA, dmYResolution), 2))
        for (const POINT& res : printer.resolutions)
            if (res.x == in.dmPrintQuality && res.y == in.dmYResolution) {
                pDm->dmPrintQuality = in.dmPrintQuality;
                pDm->dmYResolution = in.dmYResolution;
            }
}

// "paper=9;orientation=2;copies=3;collate=1;color=1": what a test answers for the person.
void ApplyPropsAnswer(const std::string& strText, TBPRINTERPROPSQUESTION* pQ)
{
    size_t nStart = 0;
    while (nStart < strText.size()) {
        size_t nEnd = strText.find(';', nStart);
        std::string item = strText.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        size_t nEq = item.find('=');
        if (nEq != std::string::npos) {
            std::string key = item.substr(0, nEq);
            int nValue = atoi(item.c_str() + nEq + 1);
            if (key == "paper")
                pQ->nPaper = static_cast<short>(nValue);
            else if (key == "orientation")
                pQ->bLandscape = nValue == DMORIENT_LANDSCAPE;
            else if (key == "copies")
                pQ->nCopies = nValue;
            else if (key == "collate")
                pQ->bCollate = nValue != 0;
            else if (key == "color")
                pQ->bColor = nValue != 0;
        }
        if (nEnd == std::string::npos)
            break;
        nStart = nEnd + 1;
    }
}

// Asks the person (or a test) for the properties; FALSE when cancelled.
BOOL AskProperties(HWND hWnd, const TBPRINTER& printer, DEVMODEA* pDm)
{
    TBPRINTERPROPSQUESTION q;
    q.strPrinter = TbCodePageToUtf8(printer.strName, CP_ACP);
    for (short nId : printer.papers)
        if (const TBPAPERSIZE* pPaper = TbFindPaper(nId))
            q.papers.emplace_back(nId, pPaper->pszName);
    q.nPaper = pDm->dmPaperSize;
    q.bLandscape = pDm->dmOrientation == DMORIENT_LANDSCAPE;
    q.nCopies = pDm->dmCopies;
    q.bCollate = pDm->dmCollate != DMCOLLATE_FALSE;
    q.bColorDevice = printer.bColor;
    q.bColor = pDm->dmColor == DMCOLOR_COLOR;
    TbCheckModalStart("printer properties");
    TBTESTANSWER answer;
    int nFrom = TbTakeTestAnswer(TB_ASK_PRINTERPROPS, &answer)
                    ? TB_ASKED_TEST
                    : TbWaitForAnswer(hWnd, TbGetDisplay()->AskPrinterProperties(hWnd, &q), TB_ASK_PRINTERPROPS, &answer);
    if (nFrom == TB_ASKED_TEST) {
        if (answer.nValue != IDOK)
            return FALSE;
        ApplyPropsAnswer(answer.strText, &q);
    } else if (nFrom != TB_ASKED_DISPLAY || !q.bOk) {
        return FALSE;
    }
    // The answer passes the same checks as a device mode handed in.
    DEVMODEA in = *pDm;
    in.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_COLLATE | DM_COLOR;
    in.dmPaperSize = q.nPaper;
    in.dmOrientation = q.bLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    in.dmCopies = static_cast<SHORT>(std::clamp(q.nCopies, 0, 32767));
    in.dmCollate = q.bCollate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    in.dmColor = q.bColor ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
    MergeDevMode(printer, &in, pDm);
    return TRUE;
}

// Lays records out at the front of the caller's buffer and their strings and device modes behind
// them; with too small a buffer only measures.
class CPackedBuffer
{
public:
    CPackedBuffer(LPBYTE pBuffer, DWORD cbBuffer, size_t cbRecords)
        : m_pBuffer(pBuffer), m_cbBuffer(cbBuffer), m_cbUsed(cbRecords)
    {
    }
    LPSTR String(const std::string& str)
    {
        return static_cast<LPSTR>(Place(str.c_str(), str.size() + 1, 1));
    }
    LPDEVMODEA DevMode(const DEVMODEA& dm)
    {
        return static_cast<LPDEVMODEA>(Place(&dm, sizeof dm, alignof(DEVMODEA)));
    }
    BOOL Fits() const { return m_pBuffer && m_cbUsed <= m_cbBuffer; }
    DWORD Needed() const { return static_cast<DWORD>(m_cbUsed); }
private:
    void* Place(const void* pData, size_t cb, size_t nAlign)
    {
        m_cbUsed = (m_cbUsed + nAlign - 1) / nAlign * nAlign;
        void* p = nullptr;
        if (m_pBuffer && m_cbUsed + cb <= m_cbBuffer) {
            p = m_pBuffer + m_cbUsed;
            memcpy(p, pData, cb);
        }
        m_cbUsed += cb;
        return p;
    }
    LPBYTE m_pBuffer;
    DWORD m_cbBuffer;
    size_t m_cbUsed;
};

DWORD Attributes(const TBPRINTER& printer)
{
    return PRINTER_ATTRIBUTE_LOCAL | (printer.bDefault ? PRINTER_ATTRIBUTE_DEFAULT : 0u);
}

void FillInfo2(CPackedBuffer& packed, const TBPRINTER& printer, PRINTER_INFO_2A* pInfo)
{
    PRINTER_INFO_2A info = {};
    info.pPrinterName = packed.String(printer.strName);
    info.pPortName = packed.String(printer.strPort);
    info.pDriverName = packed.String(printer.strDriver);
    info.pComment = packed.String(printer.strComment);
    info.pLocation = packed.String(printer.strLocation);
    info.pDevMode = packed.DevMode(DefaultDevMode(printer));
    info.pPrintProcessor = packed.String("winprint");
    info.pDatatype = packed.String("RAW");
    info.Attributes = Attributes(printer);
    if (pInfo)
        *pInfo = info;
}
}

const TBPAPERSIZE* TbFindPaper(short nId)
{
    for (const TBPAPERSIZE& paper : s_papers)
        if (paper.nId == nId)
            return &paper;
    return nullptr;
}

void TbSetPrintSystem(ITbPrintSystem* pSystem)
{
    State().pSystem = pSystem;
}

ITbPrintSystem* TbGetPrintSystem()
{
    return State().pSystem;
}

std::vector<TBPRINTER> TbListPrinters()
{
    std::vector<TBPRINTER> printers{PdfPrinter()};
    for (const TBPRINTER& p : State().virtuals)
        printers.push_back(p);
    if (State().bUseSystem && State().pSystem) {
        std::vector<TBPRINTER> queues;
        State().pSystem->ListQueues(&queues);
        for (TBPRINTER& q : queues)
            if (!q.strName.empty() && q.strName != TB_PDF_PRINTER_NAME)
                printers.push_back(std::move(q));
    }
    // One default: a test's printer marked so, else the machine's, else the PDF printer.
    auto itDefault = std::find_if(printers.begin() + 1, printers.end(), [](const TBPRINTER& p) { return p.bDefault; });
    for (TBPRINTER& p : printers)
        p.bDefault = FALSE;
    (itDefault != printers.end() ? *itDefault : printers.front()).bDefault = TRUE;
    return printers;
}

BOOL TbFindPrinter(LPCSTR pszName, TBPRINTER* pPrinter)
{
    if (!pszName)
        return FALSE;
    for (TBPRINTER& p : TbListPrinters())
        if (p.strName == pszName) {
            if (pPrinter)
                *pPrinter = std::move(p);
            return TRUE;
        }
    return FALSE;
}

TBPAGEGEOMETRY TbPageGeometry(const TBPRINTER& printer, const DEVMODEA* pDevMode)
{
    DEVMODEA dm = DefaultDevMode(printer);
    MergeDevMode(printer, pDevMode, &dm);
    TBPAGEGEOMETRY page;
    page.nPaper = dm.dmPaperSize;
    page.bLandscape = dm.dmOrientation == DMORIENT_LANDSCAPE;
    page.nDpiX = dm.dmPrintQuality > 0 ? dm.dmPrintQuality : 600;
    page.nDpiY = dm.dmYResolution > 0 ? dm.dmYResolution : page.nDpiX;
    page.nCopies = dm.dmCopies;
    page.bCollate = dm.dmCollate != DMCOLLATE_FALSE;
    page.bColor = dm.dmColor == DMCOLOR_COLOR;
    const TBPAPERSIZE* pPaper = TbFindPaper(page.nPaper);
    int cx = pPaper ? pPaper->cx : 2100, cy = pPaper ? pPaper->cy : 2970;
    // Tenths of a millimetre to dots: 254 tenths to the inch.
    page.szPhysical = SIZE{static_cast<LONG>((static_cast<int64_t>(cx) * page.nDpiX + 127) / 254),
                           static_cast<LONG>((static_cast<int64_t>(cy) * page.nDpiY + 127) / 254)};
    page.ptOffset = printer.ptOffset;
    if (page.bLandscape) {
        // The page turns under the printer's dots: lengths swap, and so do the edges it cannot print.
        page.szPhysical = SIZE{static_cast<LONG>((static_cast<int64_t>(cy) * page.nDpiX + 127) / 254),
                               static_cast<LONG>((static_cast<int64_t>(cx) * page.nDpiY + 127) / 254)};
        page.ptOffset = POINT{printer.ptOffset.y, printer.ptOffset.x};
    }
    return page;
}

void TbAddVirtualPrinter(const TBVIRTUALPRINTER& v)
{
    TBPRINTER p;
    p.nKind = TB_PRINTER_VIRTUAL;
    p.strName = v.strName;
    p.strPort = "FILE:";
    p.strDriver = "PDF";
    p.papers = v.papers.empty() ? std::vector<short>{DMPAPER_A4} : v.papers;
    p.nDefaultPaper = p.papers.front();
    p.resolutions.push_back(POINT{std::max(1, v.nDpiX), std::max(1, v.nDpiY)});
    p.ptOffset = v.ptOffset;
    p.bColor = v.bColor;
    p.bDefault = v.bDefault;
    State().virtuals.push_back(p);
}

void TbRemoveVirtualPrinters()
{
    State().virtuals.clear();
}

void TbUseSystemPrinters(BOOL bUse)
{
    State().bUseSystem = bUse;
}

BOOL EnumPrintersA(DWORD Flags, LPSTR, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                   LPDWORD pcReturned)
{
    if ((Level != 2 && Level != 4) || !pcbNeeded || !pcReturned) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<TBPRINTER> printers = TbListPrinters();
    if (Flags & PRINTER_ENUM_DEFAULT)
        printers.erase(std::remove_if(printers.begin(), printers.end(), [](const TBPRINTER& p) { return !p.bDefault; }),
                       printers.end());
    else if (!(Flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS)))
        printers.clear();
    const size_t cbRecord = Level == 2 ? sizeof(PRINTER_INFO_2A) : sizeof(PRINTER_INFO_4A);
    // Measure first, so that a short buffer is left untouched.
    CPackedBuffer measure(nullptr, 0, cbRecord * printers.size());
    for (const TBPRINTER& p : printers)
        Level == 2 ? FillInfo2(measure, p, nullptr) : static_cast<void>(measure.String(p.strName));
    *pcbNeeded = measure.Needed();
    *pcReturned = 0;
    if (!pPrinterEnum || cbBuf < measure.Needed()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    CPackedBuffer packed(pPrinterEnum, cbBuf, cbRecord * printers.size());
    for (size_t i = 0; i < printers.size(); ++i) {
        if (Level == 2) {
            FillInfo2(packed, printers[i], reinterpret_cast<PRINTER_INFO_2A*>(pPrinterEnum) + i);
        } else {
            PRINTER_INFO_4A info = {packed.String(printers[i].strName), nullptr, Attributes(printers[i])};
            reinterpret_cast<PRINTER_INFO_4A*>(pPrinterEnum)[i] = info;
        }
    }
    *pcReturned = static_cast<DWORD>(printers.size());
    return TRUE;
}

BOOL OpenPrinterA(LPSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA)
{
    if (!phPrinter)
        return FALSE;
    *phPrinter = nullptr;
    if (!TbFindPrinter(pPrinterName, nullptr)) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return FALSE;
    }
    uintptr_t h = State().nNextHandle++;
    State().handles[h] = pPrinterName;
    *phPrinter = reinterpret_cast<HANDLE>(h);
    return TRUE;
}

BOOL ClosePrinter(HANDLE hPrinter)
{
    return State().handles.erase(reinterpret_cast<uintptr_t>(hPrinter)) != 0;
}

BOOL GetPrinterA(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded)
{
    TBPRINTER printer;
    if (!pcbNeeded || !hPrinter || !PrinterOf(hPrinter, nullptr, &printer) || (Level != 2 && Level != 4)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const size_t cbRecord = Level == 2 ? sizeof(PRINTER_INFO_2A) : sizeof(PRINTER_INFO_4A);
    CPackedBuffer measure(nullptr, 0, cbRecord);
    Level == 2 ? FillInfo2(measure, printer, nullptr) : static_cast<void>(measure.String(printer.strName));
    *pcbNeeded = measure.Needed();
    if (!pPrinter || cbBuf < measure.Needed()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    CPackedBuffer packed(pPrinter, cbBuf, cbRecord);
    if (Level == 2) {
        FillInfo2(packed, printer, reinterpret_cast<PRINTER_INFO_2A*>(pPrinter));
    } else {
        PRINTER_INFO_4A info = {packed.String(printer.strName), nullptr, Attributes(printer)};
        *reinterpret_cast<PRINTER_INFO_4A*>(pPrinter) = info;
    }
    return TRUE;
}

LONG DocumentPropertiesA(HWND hWnd, HANDLE hPrinter, LPSTR pDeviceName, PDEVMODEA pDevModeOutput,
                         PDEVMODEA pDevModeInput, DWORD fMode)
{
    TBPRINTER printer;
    if (!PrinterOf(hPrinter, pDeviceName, &printer))
        return -1;
    DEVMODEA dm = DefaultDevMode(printer);
    if (fMode == 0)
        return dm.dmSize + dm.dmDriverExtra;
    if (fMode & DM_IN_BUFFER)
        MergeDevMode(printer, pDevModeInput, &dm);
    LONG nResult = IDOK;
    if ((fMode & DM_IN_PROMPT) && !AskProperties(hWnd, printer, &dm))
        nResult = IDCANCEL;
    if (fMode & DM_OUT_BUFFER) {
        if (!pDevModeOutput)
            return -1;
        *pDevModeOutput = dm;
    }
    return nResult;
}

DWORD DeviceCapabilitiesA(LPCSTR pDevice, LPCSTR, WORD fwCapability, LPSTR pOutput, const DEVMODEA*)
{
    TBPRINTER printer;
    if (!TbFindPrinter(pDevice, &printer))
        return static_cast<DWORD>(-1);
    const DWORD nPapers = static_cast<DWORD>(printer.papers.size());
    switch (fwCapability) {
    case DC_PAPERS:
        for (DWORD i = 0; pOutput && i < nPapers; ++i)
            reinterpret_cast<WORD*>(pOutput)[i] = static_cast<WORD>(printer.papers[i]);
        return nPapers;
    case DC_PAPERSIZE:
        for (DWORD i = 0; pOutput && i < nPapers; ++i) {
            const TBPAPERSIZE* pPaper = TbFindPaper(printer.papers[i]);
            reinterpret_cast<POINT*>(pOutput)[i] = pPaper ? POINT{pPaper->cx, pPaper->cy} : POINT{0, 0};
        }
        return nPapers;
    case DC_PAPERNAMES:
        for (DWORD i = 0; pOutput && i < nPapers; ++i) {
            const TBPAPERSIZE* pPaper = TbFindPaper(printer.papers[i]);
            snprintf(pOutput + 64 * i, 64, "%s", pPaper ? pPaper->pszName : "");
        }
        return nPapers;
    case DC_ENUMRESOLUTIONS:
        for (size_t i = 0; pOutput && i < printer.resolutions.size(); ++i) {
            reinterpret_cast<LONG*>(pOutput)[2 * i] = printer.resolutions[i].x;
            reinterpret_cast<LONG*>(pOutput)[2 * i + 1] = printer.resolutions[i].y;
        }
        return static_cast<DWORD>(printer.resolutions.size());
    case DC_ORIENTATION: return 90;
    case DC_COPIES:      return 999;
    case DC_COLLATE:     return 1;
    case DC_COLORDEVICE: return printer.bColor ? 1 : 0;
    }
    return static_cast<DWORD>(-1);
}

DWORD GetProfileStringA(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cchOut)
{
    if (!pszOut || cchOut == 0)
        return 0;
    std::string strValue = pszDefault ? pszDefault : "";
    if (pszSection && pszKey && strcasecmp(pszSection, "windows") == 0 && strcasecmp(pszKey, "device") == 0)
        for (const TBPRINTER& p : TbListPrinters())
            if (p.bDefault)
                strValue = p.strName + ",winspool," + p.strPort;
    snprintf(pszOut, cchOut, "%s", strValue.c_str());
    return static_cast<DWORD>(strlen(pszOut));
}
