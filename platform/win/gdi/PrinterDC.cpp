// Printer and information DCs and the document calls: a job per StartDoc, its pages drawn by the
// display's print system (vector pages), the file asked for when the PDF printer has none.
#include <cstring>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Print.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/CommonDialogs.h"

namespace {
HDC CreatePrinterDC(int nKind, LPCSTR pszDevice, const DEVMODEA* pDevMode)
{
    auto pState = std::make_shared<TbPrinterState>();
    if (!TbFindPrinter(pszDevice, &pState->printer))
        return nullptr;
    pState->page = TbPageGeometry(pState->printer, pDevMode);
    return TbCreatePrinterDC(nKind, std::move(pState));
}

TbPrinterState* PrinterOf(HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    return pDC && pDC->nKind == TB_DC_PRINTER ? pDC->pPrinter.get() : nullptr;
}

// The file the PDF printer writes when the document names none: the person chooses it.
BOOL AskOutputFile(const DOCINFOA& di, std::string* pPath)
{
    char szFile[1024] = "";
    if (di.lpszDocName)
        snprintf(szFile, sizeof szFile, "%s.pdf", di.lpszDocName);
    // A document name may hold characters a file name cannot.
    for (char* p = szFile; *p; ++p)
        if (*p == '/' || *p == '\\' || *p == ':')
            *p = '_';
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "PDF (*.pdf)\0*.pdf\0";
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof szFile;
    ofn.lpstrDefExt = "pdf";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&ofn))
        return FALSE;
    *pPath = szFile;
    return TRUE;
}

int NextJobId()
{
    static int s_nJob = 0;
    return ++s_nJob;
}
}

HDC CreateDCA(LPCSTR, LPCSTR pszDevice, LPCSTR, const DEVMODEA* pDevMode)
{
    return CreatePrinterDC(TB_DC_PRINTER, pszDevice, pDevMode);
}

HDC CreateICA(LPCSTR, LPCSTR pszDevice, LPCSTR, const DEVMODEA* pDevMode)
{
    return CreatePrinterDC(TB_DC_INFO, pszDevice, pDevMode);
}

int TbPrinterDeviceCaps(const TbPrinterState& state, int nIndex)
{
    const TBPAGEGEOMETRY& page = state.page;
    const SIZE szPrintable = state.Printable();
    switch (nIndex) {
    case TECHNOLOGY:      return DT_RASPRINTER;
    case HORZRES:         return szPrintable.cx;
    case VERTRES:         return szPrintable.cy;
    // Millimetres, rounded: 25.4 to the inch.
    case HORZSIZE:        return static_cast<int>((static_cast<int64_t>(szPrintable.cx) * 254 + page.nDpiX * 5) / (page.nDpiX * 10));
    case VERTSIZE:        return static_cast<int>((static_cast<int64_t>(szPrintable.cy) * 254 + page.nDpiY * 5) / (page.nDpiY * 10));
    case LOGPIXELSX:      return page.nDpiX;
    case LOGPIXELSY:      return page.nDpiY;
    case PHYSICALWIDTH:   return page.szPhysical.cx;
    case PHYSICALHEIGHT:  return page.szPhysical.cy;
    case PHYSICALOFFSETX: return page.ptOffset.x;
    case PHYSICALOFFSETY: return page.ptOffset.y;
    case BITSPIXEL:       return page.bColor ? 24 : 1;
    case PLANES:          return 1;
    case NUMCOLORS:       return page.bColor ? -1 : 2;
    case RASTERCAPS:      return RC_BITBLT | RC_STRETCHBLT;
    }
    return 0;
}

int StartDocA(HDC hdc, const DOCINFOA* pDocInfo)
{
    TbPrinterState* pState = PrinterOf(hdc);
    ITbPrintSystem* pSystem = TbGetPrintSystem();
    if (!pState || !pDocInfo || pState->pJob || !pSystem)
        return SP_ERROR;
    std::string strOutput;
    const BOOL bFile = pState->printer.nKind != TB_PRINTER_QUEUE || pDocInfo->lpszOutput;
    if (pDocInfo->lpszOutput && *pDocInfo->lpszOutput)
        strOutput = pDocInfo->lpszOutput;
    else if (bFile && !AskOutputFile(*pDocInfo, &strOutput))
        return SP_ERROR;
    std::string strDoc = TbCodePageToUtf8(pDocInfo->lpszDocName ? pDocInfo->lpszDocName : "", CP_ACP);
    std::string strPath = TbCodePageToUtf8(strOutput, CP_ACP);
    pState->pJob = pSystem->StartJob(pState->printer, pState->page, strDoc.c_str(), bFile ? strPath.c_str() : nullptr);
    if (!pState->pJob)
        return SP_ERROR;
    pState->nJobId = NextJobId();
    return pState->nJobId;
}

int StartPage(HDC hdc)
{
    TbPrinterState* pState = PrinterOf(hdc);
    if (!pState || !pState->pJob || pState->pPage)
        return SP_ERROR;
    pState->pPage = pState->pJob->StartPage();
    return pState->pPage ? 1 : SP_ERROR;
}

int EndPage(HDC hdc)
{
    TbPrinterState* pState = PrinterOf(hdc);
    if (!pState || !pState->pPage)
        return SP_ERROR;
    pState->pPage = nullptr;
    return pState->pJob->EndPage() ? 1 : SP_ERROR;
}

int EndDoc(HDC hdc)
{
    TbPrinterState* pState = PrinterOf(hdc);
    if (!pState || !pState->pJob)
        return SP_ERROR;
    BOOL bOk = !pState->pPage || pState->pJob->EndPage();
    pState->pPage = nullptr;
    bOk = pState->pJob->Finish() && bOk;
    pState->pJob.reset();
    return bOk ? 1 : SP_ERROR;
}

int AbortDoc(HDC hdc)
{
    TbPrinterState* pState = PrinterOf(hdc);
    if (!pState || !pState->pJob)
        return SP_ERROR;
    pState->pPage = nullptr;
    pState->pJob->Abort();
    pState->pJob.reset();
    return 1;
}
