// The print settings record: one table of its stored fields drives Save, Load and their order.
#include "framework/print/TablePrintSettings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/base/Ini.h"
#include "framework/base/Measure.h"
#include "framework/print/PrinterInfo.h"
#include "platform/mfc/WinApp.h"

namespace {

enum FieldKind { KIND_BOOL, KIND_INT, KIND_COLOR, KIND_MARGIN, KIND_FONT, KIND_PRINTER, KIND_DEVMODE };

// The stored fields in the order they are written. A margin names its index in nIndex; the
// default of each field is the constructor's, so the table carries none of its own.
struct StoredField
{
    UINT uKey;
    FieldKind kind;
    int CTablePrintSettings::* pInt;    // the BOOL, int and COLORREF fields (all 32 bits)
    int nIndex;
};

static_assert(sizeof(BOOL) == sizeof(int) && sizeof(COLORREF) == sizeof(int), "one member pointer serves them");

#define INT_FIELD(key, kind, member) {key, kind, &CTablePrintSettings::member, 0}
const StoredField s_fields[] = {
    INT_FIELD(IDS_PRINT_TABLEORDER, KIND_BOOL, m_bTableOrder),
    INT_FIELD(IDS_PRINT_NOSORT, KIND_BOOL, m_bNoSort),
    INT_FIELD(IDS_PRINT_TITLEROWS, KIND_INT, m_nTitleRows),
    INT_FIELD(IDS_PRINT_ROWTITLES, KIND_BOOL, m_bRowTitles),
    INT_FIELD(IDS_PRINT_PAGEHEADER, KIND_BOOL, m_bPageHeader),
    INT_FIELD(IDS_PRINT_REPORTHEADER, KIND_BOOL, m_bReportHeader),
    INT_FIELD(IDS_PRINT_PAGEFOOTER, KIND_BOOL, m_bPageFooter),
    INT_FIELD(IDS_PRINT_REPORTFOOTER, KIND_BOOL, m_bReportFooter),
    INT_FIELD(IDS_PRINT_ROWSELECTION, KIND_INT, m_nRowSelection),
    {IDS_PRINT_BACKGROUND, KIND_COLOR, nullptr, 0},
    INT_FIELD(IDS_PRINT_SCALE, KIND_INT, m_nScale),
    INT_FIELD(IDS_PRINT_PAGESWIDE, KIND_INT, m_nPagesWide),
    INT_FIELD(IDS_PRINT_FROMPAGE, KIND_INT, m_nFromPage),
    INT_FIELD(IDS_PRINT_TOPAGE, KIND_INT, m_nToPage),
    {IDS_PRINT_MARGINLEFT, KIND_MARGIN, nullptr, PRINT_MARGIN_LEFT},
    {IDS_PRINT_MARGINRIGHT, KIND_MARGIN, nullptr, PRINT_MARGIN_RIGHT},
    {IDS_PRINT_MARGINTOP, KIND_MARGIN, nullptr, PRINT_MARGIN_TOP},
    {IDS_PRINT_MARGINBOTTOM, KIND_MARGIN, nullptr, PRINT_MARGIN_BOTTOM},
    INT_FIELD(IDS_PRINT_UNITS, KIND_INT, m_nUnits),
    INT_FIELD(IDS_PRINT_CENTER, KIND_BOOL, m_bCenter),
    INT_FIELD(IDS_PRINT_GRIDWIDTH, KIND_INT, m_nGridWidth),
    INT_FIELD(IDS_PRINT_LINEWIDTH, KIND_INT, m_nLineWidth),
    INT_FIELD(IDS_PRINT_COLORMODE, KIND_INT, m_nColorMode),
    {IDS_PRINT_FONT, KIND_FONT, nullptr, 0},
    {IDS_PRINT_PRINTER, KIND_PRINTER, nullptr, 0},
    {IDS_PRINT_DEVMODE, KIND_DEVMODE, nullptr, 0},
    INT_FIELD(IDS_PRINT_STOREDFLAG, KIND_BOOL, m_bStoredFlag),
};
#undef INT_FIELD
static_assert(sizeof(s_fields) / sizeof(s_fields[0]) == 27, "the record stores 27 fields");

// The locale's measurement system: "0" metric, "1" inches; metric when it cannot be had.
BOOL LocaleMeasuresInches()
{
    char szMeasure[4] = "";
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, szMeasure, sizeof(szMeasure)) < 1)
        return FALSE;
    return szMeasure[0] != '\0' && szMeasure[0] != '0';
}

// The bytes stored as hex pairs under "<key><form n>", chunk after chunk until a blank one.
std::vector<BYTE> ReadStoredBytes(CIni& ini, const CTBString& strKey, const char* pszForm)
{
    std::vector<BYTE> bytes;
    for (int n = 0; n < 4096; ++n) {
        CTBString strChunk;
        strChunk.Format(pszForm, static_cast<const char*>(strKey), n);
        CTBString strHex = ini.GetString(strChunk, "");
        const char* psz = strHex;
        if (!psz || !*psz)
            break;
        for (; psz[0] != '\0' && psz[1] != '\0'; psz += 2)
            bytes.push_back(HexPairToByte(psz));
    }
    return bytes;
}

WORD WordAt(const std::vector<BYTE>& bytes, size_t nOffset)
{
    return nOffset + 2 <= bytes.size() ? static_cast<WORD>(bytes[nOffset] | (bytes[nOffset + 1] << 8)) : 0;
}

// Runs fn on the locked device mode of a printer; FALSE without one.
template <class Fn>
BOOL WithDevMode(CPrinterInfo* pPrinter, Fn fn)
{
    if (!pPrinter || !pPrinter->GetDevMode())
        return FALSE;
    DEVMODEA* pDevMode = static_cast<DEVMODEA*>(GlobalLock(pPrinter->GetDevMode()));
    if (!pDevMode)
        return FALSE;
    fn(*pDevMode);
    GlobalUnlock(pPrinter->GetDevMode());
    return TRUE;
}

// A record that took the application's default printer starts on the mode chosen for it in
// print setup: the public part, when it is of that printer and of the printer's own size.
void ApplyApplicationDevMode(CPrinterInfo* pPrinter)
{
    const CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->m_hDevMode || CPrinterInfo::GetDefaultPrinterName() != pPrinter->GetPrinterName())
        return;
    const auto* pChosen = static_cast<const DEVMODEA*>(GlobalLock(pApp->m_hDevMode));
    if (!pChosen)
        return;
    WithDevMode(pPrinter, [&](DEVMODEA& devMode) {
        if (pChosen->dmSize == devMode.dmSize && GlobalSize(pApp->m_hDevMode) >= pChosen->dmSize
            && strncmp(reinterpret_cast<const char*>(pChosen->dmDeviceName),
                       reinterpret_cast<const char*>(devMode.dmDeviceName), sizeof devMode.dmDeviceName) == 0)
            memcpy(&devMode, pChosen, devMode.dmSize);
    });
    GlobalUnlock(pApp->m_hDevMode);
}

} // namespace

CTablePrintSettings::CTablePrintSettings()
{
    if (LocaleMeasuresInches()) {
        m_nUnits = PRINT_UNITS_INCHES;
        for (double& dMargin : m_dMargins)
            dMargin = 1.0;
    }
}

CTablePrintSettings::CTablePrintSettings(const CTablePrintSettings& other)
{
    CopyFrom(other);
}

CTablePrintSettings::~CTablePrintSettings()
{
    ResetPrinter();
    m_strPrinter.Empty();
}

void CTablePrintSettings::ResetPrinter()
{
    delete m_pPrinter;
    m_pPrinter = nullptr;
}

void CTablePrintSettings::CopyFrom(const CTablePrintSettings& other)
{
    if (&other == this)
        return;
    for (const StoredField& field : s_fields)
        if (field.pInt)
            this->*field.pInt = other.*field.pInt;
    m_crBackground = other.m_crBackground;
    m_nTitleStyle = other.m_nTitleStyle;
    m_nGroupLineStyle = other.m_nGroupLineStyle;
    m_nBoldTitles = other.m_nBoldTitles;
    for (int i = 0; i < 4; ++i)
        m_dMargins[i] = other.m_dMargins[i];
    // A copy re-creates the font, so the two records never share a handle; no font in the
    // source leaves none here.
    m_font.DeleteObject();
    m_font.Copy(other.m_font);
    if (other.m_pPrinter) {
        m_strPrinter = other.m_pPrinter->GetPrinterName();
        CPrinterInfo* pCopy = new CPrinterInfo(*other.m_pPrinter);
        ResetPrinter();
        m_pPrinter = pCopy;
    }
}

void CTablePrintSettings::Save(CIni& ini) const
{
    for (const StoredField& field : s_fields) {
        switch (field.kind) {
        case KIND_BOOL:
            ini.WriteBool(field.uKey, this->*field.pInt);
            break;
        case KIND_INT:
            ini.WriteInt(field.uKey, this->*field.pInt);
            break;
        case KIND_COLOR:
            ini.WriteColor(field.uKey, m_crBackground);
            break;
        case KIND_MARGIN: {
            char szMargin[64];
            snprintf(szMargin, sizeof(szMargin), "%.2lf", m_dMargins[field.nIndex]);
            ini.WriteString(field.uKey, szMargin);
            break;
        }
        case KIND_FONT:
            ini.WriteFont(field.uKey, m_font.GetSafeHandle());
            break;
        case KIND_PRINTER:
            ini.WriteString(field.uKey, m_strPrinter);
            break;
        case KIND_DEVMODE:
            WithDevMode(m_pPrinter, [&](DEVMODEA& devMode) { ini.WriteDevMode(field.uKey, &devMode); });
            break;
        }
    }
}

BOOL CTablePrintSettings::Load(CIni& ini)
{
    for (const StoredField& field : s_fields) {
        switch (field.kind) {
        case KIND_BOOL:
            this->*field.pInt = ini.GetBool(field.uKey, this->*field.pInt);
            break;
        case KIND_INT:
            this->*field.pInt = ini.GetInt(field.uKey, this->*field.pInt);
            break;
        case KIND_COLOR:
            m_crBackground = ini.GetColor(field.uKey, m_crBackground);
            break;
        case KIND_MARGIN: {
            char szMargin[64];
            snprintf(szMargin, sizeof(szMargin), "%.2lf", m_dMargins[field.nIndex]);
            m_dMargins[field.nIndex] = atof(ini.GetString(field.uKey, szMargin));
            break;
        }
        case KIND_FONT: {
            HFONT hFont = ini.GetFont(field.uKey, nullptr);
            if (hFont)
                m_font.Attach(hFont);
            break;
        }
        case KIND_PRINTER: {
            m_strPrinter = ini.GetString(field.uKey, m_strPrinter);
            CTBString strStored = m_strPrinter;
            if (!SelectPrinter())
                return FALSE;
            // A stored mode describes the stored printer; a fallback printer keeps its own.
            if (!strStored.IsBlank() && GetPrinterName() == strStored)
                ApplyStoredDevMode(ini);
            else
                ApplyApplicationDevMode(m_pPrinter);
            BoundMarginsByPaper();
            break;
        }
        case KIND_DEVMODE:
            break;      // read with the printer above
        }
    }
    return TRUE;
}

// The stored mode replaces the printer's only when it is whole and of the printer's own sizes:
// a hand-edited or truncated file, or a mode of another driver, leaves the printer's mode alone.
void CTablePrintSettings::ApplyStoredDevMode(CIni& ini)
{
    if (!m_pPrinter || !m_pPrinter->GetDevMode())
        return;
    CTBString strKey;
    strKey.LoadAppString(IDS_PRINT_DEVMODE);
    if (strKey.IsBlank())
        return;
    std::vector<BYTE> publicPart = ReadStoredBytes(ini, strKey, "%s.%d");
    std::vector<BYTE> privatePart = ReadStoredBytes(ini, strKey, "%s.x%d");
    WithDevMode(m_pPrinter, [&](DEVMODEA& devMode) {
        const size_t cbPublic = devMode.dmSize;
        const size_t cbPrivate = devMode.dmDriverExtra;
        if (cbPublic < offsetof(DEVMODEA, dmFields) || cbPublic > sizeof(DEVMODEA))
            return;
        if (publicPart.size() != cbPublic || privatePart.size() != cbPrivate)
            return;
        if (WordAt(publicPart, offsetof(DEVMODEA, dmSize)) != cbPublic
            || WordAt(publicPart, offsetof(DEVMODEA, dmDriverExtra)) != cbPrivate)
            return;
        if (GlobalSize(m_pPrinter->GetDevMode()) < cbPublic + cbPrivate)
            return;
        BYTE* pBytes = reinterpret_cast<BYTE*>(&devMode);
        memcpy(pBytes, publicPart.data(), cbPublic);
        if (cbPrivate)
            memcpy(pBytes + cbPublic, privatePart.data(), cbPrivate);
    });
}

BOOL CTablePrintSettings::SelectPrinter()
{
    if (m_strPrinter.IsBlank())
        m_strPrinter = CPrinterInfo::GetDefaultPrinterName();
    if (m_strPrinter.IsBlank())
        return FALSE;
    if (!m_pPrinter)
        m_pPrinter = new CPrinterInfo;
    if (m_pPrinter->OpenPrinter(m_strPrinter))
        return TRUE;
    m_strPrinter = CPrinterInfo::GetDefaultPrinterName();
    if (!m_strPrinter.IsBlank() && m_pPrinter->OpenPrinter(m_strPrinter))
        return TRUE;
    m_strPrinter.Empty();
    ResetPrinter();
    return FALSE;
}

void CTablePrintSettings::SetPrinterName(const CTBString& strName)
{
    if (strName.IsBlank())
        return;
    m_strPrinter = strName;
    if (SelectPrinter())
        BoundMarginsByPaper();
}

void CTablePrintSettings::BoundMarginsByPaper()
{
    // The room the margins page keeps for the table between two opposite margins.
    const double TABLE_ROOM_MM = 20.0;
    const POINT* pPaper = m_pPrinter ? m_pPrinter->FindPaperDimensions(static_cast<WORD>(GetPaperSize())) : nullptr;
    if (!pPaper || pPaper->x <= 0 || pPaper->y <= 0)
        return;
    const BOOL bLandscape = GetOrientation() == DMORIENT_LANDSCAPE;
    const double adPaper[2] = {(bLandscape ? pPaper->y : pPaper->x) / 10.0, (bLandscape ? pPaper->x : pPaper->y) / 10.0};
    for (int nAxis = 0; nAxis < 2; ++nAxis) {
        double adMm[2];
        for (int i = 0; i < 2; ++i)
            adMm[i] = ConvertMeasure(m_nUnits, MEASURE_MILLIMETRES, m_dMargins[2 * nAxis + i]);
        if (adMm[0] + adMm[1] + TABLE_ROOM_MM <= adPaper[nAxis])
            continue;
        const double dQuarter = adPaper[nAxis] / 4;
        for (int i = 0; i < 2; ++i)
            if (adMm[i] > dQuarter)
                m_dMargins[2 * nAxis + i] = ConvertMeasure(MEASURE_MILLIMETRES, m_nUnits, dQuarter);
    }
}

CTBString CTablePrintSettings::GetPrinterName() const
{
    return m_pPrinter ? m_pPrinter->GetPrinterName() : CTBString();
}

short CTablePrintSettings::GetOrientation() const
{
    short nValue = -1;
    WithDevMode(m_pPrinter, [&](DEVMODEA& dm) { if (dm.dmFields & DM_ORIENTATION) nValue = dm.dmOrientation; });
    return nValue;
}

void CTablePrintSettings::SetOrientation(short nOrientation)
{
    WithDevMode(m_pPrinter, [&](DEVMODEA& dm) { if (dm.dmFields & DM_ORIENTATION) dm.dmOrientation = nOrientation; });
}

short CTablePrintSettings::GetPaperSize() const
{
    short nValue = -1;
    WithDevMode(m_pPrinter, [&](DEVMODEA& dm) { if (dm.dmFields & DM_PAPERSIZE) nValue = dm.dmPaperSize; });
    return nValue;
}

void CTablePrintSettings::SetPaperSize(short nPaperSize)
{
    WithDevMode(m_pPrinter, [&](DEVMODEA& dm) { if (dm.dmFields & DM_PAPERSIZE) dm.dmPaperSize = nPaperSize; });
}

short CTablePrintSettings::GetCopies()
{
    short nValue = -1;
    WithDevMode(m_pPrinter, [&](DEVMODEA& dm) {
        if (!(dm.dmFields & DM_COPIES)) {
            dm.dmFields |= DM_COPIES;
            dm.dmCopies = 1;
        }
        nValue = dm.dmCopies;
    });
    return nValue;
}

void CTablePrintSettings::SetCopies(short nCopies)
{
    WithDevMode(m_pPrinter, [&](DEVMODEA& dm) {
        dm.dmFields |= DM_COPIES;
        dm.dmCopies = nCopies;
    });
}

int CTablePrintSettings::GetCollate() const
{
    int nValue = -1;
    WithDevMode(m_pPrinter, [&](DEVMODEA& dm) { nValue = (dm.dmFields & DM_COLLATE) && dm.dmCollate == 1; });
    return nValue;
}

void CTablePrintSettings::SetCollate(int nCollate)
{
    WithDevMode(m_pPrinter, [&](DEVMODEA& dm) {
        dm.dmFields |= DM_COLLATE;
        dm.dmCollate = nCollate == 1 ? 1 : 0;
    });
}
