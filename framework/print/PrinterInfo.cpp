// Printer information on the layer's spooler: open, capabilities, copies and the printer list.
#include "framework/print/PrinterInfo.h"

#include <cstring>
#include <vector>

#include "platform/mfc/CommonDialogs.h"
#include "platform/mfc/WinApp.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/MessageBox.h"

namespace {

// A driver capability array: its count asked first, then filled; null for a count below 1.
template <class T>
T* LoadCapability(const char* pszPrinter, const char* pszPort, WORD wCapability, int nPerItem, int* pnCount,
                  const DEVMODEA* pDevMode)
{
    int nCount = DeviceCapabilitiesA(pszPrinter, pszPort, wCapability, nullptr, pDevMode);
    if (pnCount)
        *pnCount = nCount > 0 ? nCount : 0;
    if (nCount < 1)
        return nullptr;
    T* pItems = new T[static_cast<size_t>(nCount) * nPerItem]();
    DeviceCapabilitiesA(pszPrinter, pszPort, wCapability, reinterpret_cast<LPSTR>(pItems), pDevMode);
    return pItems;
}

template <class T>
T* CopyArray(const T* pFrom, size_t nCount)
{
    if (!pFrom || nCount == 0)
        return nullptr;
    T* pCopy = new T[nCount];
    memcpy(pCopy, pFrom, nCount * sizeof(T));
    return pCopy;
}

} // namespace

CPrinterInfo::~CPrinterInfo()
{
    Reset();
}

void CPrinterInfo::Reset()
{
    m_strPrinter.Empty();
    m_strDriver.Empty();
    m_strPort.Empty();
    m_strModel.Empty();
    m_strLocation.Empty();
    if (m_hDevMode)
        GlobalFree(m_hDevMode);
    m_hDevMode = nullptr;
    delete[] m_pPaperNames;
    delete[] m_pPaperIds;
    delete[] m_pPaperSizes;
    delete[] m_pResolutions;
    m_pPaperNames = nullptr;
    m_pPaperIds = nullptr;
    m_pPaperSizes = nullptr;
    m_pResolutions = nullptr;
    m_nPapers = 0;
    m_nResolutions = 0;
}

BOOL CPrinterInfo::OpenPrinter(const char* pszName)
{
    Reset();
    m_strPrinter = pszName;
    HANDLE hPrinter = nullptr;
    if (!OpenPrinterA(const_cast<LPSTR>(static_cast<const char*>(m_strPrinter)), &hPrinter, nullptr) || !hPrinter)
        return FALSE;
    LPSTR pszPrinter = const_cast<LPSTR>(static_cast<const char*>(m_strPrinter));
    LONG cbDevMode = DocumentPropertiesA(nullptr, hPrinter, pszPrinter, nullptr, nullptr, 0);
    m_hDevMode = cbDevMode > 0 ? GlobalAlloc(GHND, static_cast<SIZE_T>(cbDevMode)) : nullptr;
    DEVMODEA* pDevMode = m_hDevMode ? static_cast<DEVMODEA*>(GlobalLock(m_hDevMode)) : nullptr;
    if (!pDevMode || DocumentPropertiesA(nullptr, hPrinter, pszPrinter, pDevMode, nullptr, DM_OUT_BUFFER) != IDOK) {
        if (pDevMode)
            GlobalUnlock(m_hDevMode);
        if (m_hDevMode)
            GlobalFree(m_hDevMode);
        m_hDevMode = nullptr;
        ClosePrinter(hPrinter);
        return FALSE;
    }
    GlobalUnlock(m_hDevMode);

    // Names from level 2; a printer that cannot tell them still prints.
    DWORD cbNeeded = 0;
    GetPrinterA(hPrinter, 2, nullptr, 0, &cbNeeded);
    if (cbNeeded > 0) {
        std::vector<BYTE> buffer(cbNeeded);
        if (GetPrinterA(hPrinter, 2, buffer.data(), cbNeeded, &cbNeeded)) {
            const PRINTER_INFO_2A* pInfo = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
            m_strPort = pInfo->pPortName;
            m_strModel = pInfo->pDriverName;
            m_strLocation = pInfo->pLocation;
            if (m_strLocation.IsBlank())
                m_strLocation = m_strPort;
        }
    }
    m_strDriver = "winspool.drv";
    ClosePrinter(hPrinter);
    LoadCapabilities();
    return TRUE;
}

void CPrinterInfo::LoadCapabilities()
{
    if (!m_hDevMode)
        return;
    const DEVMODEA* pDevMode = static_cast<const DEVMODEA*>(GlobalLock(m_hDevMode));
    int nIds = 0;
    int nSizes = 0;
    m_pPaperNames = LoadCapability<char>(m_strPrinter, m_strPort, DC_PAPERNAMES, PAPER_NAME_LENGTH, &m_nPapers, pDevMode);
    m_pPaperIds = LoadCapability<WORD>(m_strPrinter, m_strPort, DC_PAPERS, 1, &nIds, pDevMode);
    m_pPaperSizes = LoadCapability<POINT>(m_strPrinter, m_strPort, DC_PAPERSIZE, 1, &nSizes, pDevMode);
    m_pResolutions = LoadCapability<LONG>(m_strPrinter, m_strPort, DC_ENUMRESOLUTIONS, 2, &m_nResolutions, pDevMode);
    // The lookups index all three paper arrays by one count: a driver that answers them with
    // different counts is read only as far as all three go.
    if (nIds < m_nPapers)
        m_nPapers = nIds;
    if (nSizes < m_nPapers)
        m_nPapers = nSizes;
    if (pDevMode)
        GlobalUnlock(m_hDevMode);
}

void CPrinterInfo::CopyFrom(const CPrinterInfo& other)
{
    if (&other == this || other.m_strPrinter.IsBlank() || !other.m_hDevMode)
        return;
    Reset();
    m_strPrinter = other.m_strPrinter;
    m_strDriver = other.m_strDriver;
    m_strPort = other.m_strPort;
    m_strModel = other.m_strModel;
    m_strLocation = other.m_strLocation;
    m_nPapers = other.m_nPapers;
    m_nResolutions = other.m_nResolutions;
    m_pPaperNames = CopyArray(other.m_pPaperNames, static_cast<size_t>(m_nPapers) * PAPER_NAME_LENGTH);
    m_pPaperIds = CopyArray(other.m_pPaperIds, static_cast<size_t>(m_nPapers));
    m_pPaperSizes = CopyArray(other.m_pPaperSizes, static_cast<size_t>(m_nPapers));
    m_pResolutions = CopyArray(other.m_pResolutions, static_cast<size_t>(m_nResolutions) * 2);
    SIZE_T cb = GlobalSize(other.m_hDevMode);
    m_hDevMode = GlobalAlloc(GHND, cb);
    void* pTo = m_hDevMode ? GlobalLock(m_hDevMode) : nullptr;
    void* pFrom = GlobalLock(other.m_hDevMode);
    if (pTo && pFrom)
        memcpy(pTo, pFrom, cb);
    if (pFrom)
        GlobalUnlock(other.m_hDevMode);
    if (pTo)
        GlobalUnlock(m_hDevMode);
}

HDC CPrinterInfo::CreateDC() const
{
    if (!m_hDevMode)
        return nullptr;
    const DEVMODEA* pDevMode = static_cast<const DEVMODEA*>(GlobalLock(m_hDevMode));
    if (!pDevMode)
        return nullptr;
    HDC hdc = CreateDCA(m_strDriver, m_strPrinter, m_strPort, pDevMode);
    GlobalUnlock(m_hDevMode);
    return hdc;
}

BOOL CPrinterInfo::ShowProperties(HWND hOwner)
{
    HANDLE hPrinter = nullptr;
    LPSTR pszPrinter = const_cast<LPSTR>(static_cast<const char*>(m_strPrinter));
    if (!m_hDevMode || !OpenPrinterA(pszPrinter, &hPrinter, nullptr) || !hPrinter)
        return FALSE;
    DEVMODEA* pDevMode = static_cast<DEVMODEA*>(GlobalLock(m_hDevMode));
    LONG nResult = pDevMode ? DocumentPropertiesA(hOwner, hPrinter, pszPrinter, pDevMode, pDevMode,
                                                  DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER)
                            : -1;
    if (pDevMode)
        GlobalUnlock(m_hDevMode);
    ClosePrinter(hPrinter);
    return nResult == IDOK;
}

BOOL CPrinterInfo::FillPrinterList(HWND hCombo, const char* pszSelect)
{
    DWORD cbNeeded = 0;
    DWORD nReturned = 0;
    const DWORD dwFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersA(dwFlags, nullptr, 4, nullptr, 0, &cbNeeded, &nReturned);
    if (cbNeeded == 0)
        return FALSE;
    std::vector<BYTE> buffer(cbNeeded);
    if (!EnumPrintersA(dwFlags, nullptr, 4, buffer.data(), cbNeeded, &cbNeeded, &nReturned) || nReturned == 0)
        return FALSE;
    const PRINTER_INFO_4A* pInfo = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    for (DWORD i = 0; i < nReturned; ++i)
        SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pInfo[i].pPrinterName));
    LRESULT nFound = SendMessageA(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszSelect ? pszSelect : ""));
    if (nFound != CB_ERR)
        SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nFound), 0);
    return TRUE;
}

CTBString CPrinterInfo::GetDefaultPrinterName()
{
    // The printer chosen in the application's print setup comes before the machine's default.
    const CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_hDevNames) {
        CPrintDialog names(TRUE);
        names.m_pd.hDevNames = pApp->m_hDevNames;
        const CString strDevice = names.GetDeviceName();
        if (!strDevice.IsEmpty())
            return CTBString(strDevice);
    }
    char szDevice[257] = "";
    GetProfileStringA("windows", "device", "", szDevice, 256);
    szDevice[256] = '\0';
    char* pComma = strchr(szDevice, ',');
    if (pComma)
        *pComma = '\0';
    return CTBString(szDevice);
}

CTBString CPrinterInfo::GetPaperName(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nPapers || !m_pPaperNames)
        return CTBString();
    const char* pszName = m_pPaperNames + static_cast<size_t>(nIndex) * PAPER_NAME_LENGTH;
    return CTBString(pszName, static_cast<int>(strnlen(pszName, PAPER_NAME_LENGTH)));
}

WORD CPrinterInfo::GetPaperId(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nPapers && m_pPaperIds ? m_pPaperIds[nIndex] : 0;
}

const POINT* CPrinterInfo::GetPaperDimensions(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nPapers && m_pPaperSizes ? &m_pPaperSizes[nIndex] : nullptr;
}

const POINT* CPrinterInfo::FindPaperDimensions(WORD wPaperId) const
{
    for (int i = 0; i < m_nPapers; ++i)
        if (m_pPaperIds && m_pPaperSizes && m_pPaperIds[i] == wPaperId)
            return &m_pPaperSizes[i];
    return nullptr;
}
