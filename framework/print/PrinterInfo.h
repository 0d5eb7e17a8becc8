#pragma once
// One installed printer as table printing sees it: its names, its device mode and the papers and
// resolutions its driver offers. The print settings record owns one; the engine makes its
// printer DC from it; the print dialog lists the printers and the paper page lists its papers.
#include "framework/base/TBString.h"
#include "platform/win/Windows.h"

class CPrinterInfo
{
public:
    enum { PAPER_NAME_LENGTH = 64 };    // characters per paper name, as the driver gives them

    CPrinterInfo() = default;
    CPrinterInfo(const CPrinterInfo& other) { CopyFrom(other); }
    CPrinterInfo& operator=(const CPrinterInfo&) = delete;
    virtual ~CPrinterInfo();

    // Empties the names, frees the device mode and the arrays.
    void Reset();
    // Opens the named printer and takes its device mode, names and capabilities. FALSE on any
    // spooler failure, with the printer closed and no device mode kept.
    BOOL OpenPrinter(const char* pszName);
    void LoadCapabilities();
    // Copies only an opened printer (a name that is not blank and a device mode).
    void CopyFrom(const CPrinterInfo& other);
    // A printer DC on the device mode; null when it cannot be had. The caller deletes it.
    HDC  CreateDC() const;
    // The driver's own properties dialog, editing the device mode in place.
    BOOL ShowProperties(HWND hOwner);
    // Lists the installed printers in a combo box and selects pszSelect when listed. FALSE
    // without printers, nothing selected.
    static BOOL FillPrinterList(HWND hCombo, const char* pszSelect);
    // The default printer's name: the profile's "windows" "device" cut before its first ','.
    static CTBString GetDefaultPrinterName();

    CTBString GetPrinterName() const { return m_strPrinter; }
    CTBString GetDriverName() const { return m_strDriver; }
    CTBString GetPortName() const { return m_strPort; }
    const CTBString& GetDriverModel() const { return m_strModel; }
    const CTBString& GetLocation() const { return m_strLocation; }
    HGLOBAL GetDevMode() const { return m_hDevMode; }

    // Papers by index 0 .. count - 1; other indexes give "", 0 or null.
    int  GetPaperCount() const { return m_nPapers; }
    CTBString GetPaperName(int nIndex) const;
    WORD GetPaperId(int nIndex) const;
    const POINT* GetPaperDimensions(int nIndex) const;      // tenths of a millimetre
    const POINT* FindPaperDimensions(WORD wPaperId) const;  // the first paper of that id
    int  GetResolutionCount() const { return m_nResolutions; }
    const LONG* GetResolutions() const { return m_pResolutions; }   // two LONGs each

private:
    CTBString m_strPrinter;
    CTBString m_strDriver;
    CTBString m_strPort;
    CTBString m_strModel;
    CTBString m_strLocation;
    HGLOBAL m_hDevMode = nullptr;       // owned, movable and zero-filled
    int m_nPapers = 0;
    char* m_pPaperNames = nullptr;      // owned, PAPER_NAME_LENGTH per paper
    WORD* m_pPaperIds = nullptr;        // owned
    POINT* m_pPaperSizes = nullptr;     // owned
    int m_nResolutions = 0;
    LONG* m_pResolutions = nullptr;     // owned
};
