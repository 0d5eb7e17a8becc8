#include "PrintTestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "framework/table/Table.h"
#include "framework/table/ViewTable.h"

std::string ToCodePage(const std::string& strUtf8, UINT nCodePage)
{
    int nWide = MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(nWide > 0 ? nWide : 1));
    MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, wide.data(), nWide);
    int nBytes = WideCharToMultiByte(nCodePage, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string strOut(static_cast<size_t>(nBytes > 0 ? nBytes : 1), '\0');
    WideCharToMultiByte(nCodePage, 0, wide.data(), -1, strOut.data(), nBytes, nullptr, nullptr);
    strOut.resize(strlen(strOut.c_str()));
    return strOut;
}

CPrintTable::CPrintTable(int nRows, BOOL bGroups)
    : t({{"Symbol", COLTYPE_STRING, 12, FALSE}, {"Name", COLTYPE_STRING, 40, FALSE}, {"Sector", COLTYPE_STRING, 12, FALSE},
         {"Qty", COLTYPE_INT32, 0, TRUE}, {"Price", COLTYPE_DOUBLE, 0, FALSE}, {"Value", COLTYPE_DOUBLE, 0, TRUE}}),
      m_nRows(nRows)
{
    UseSourceResources();
    CTable& table = t.Table();
    table.SetName("Holdings");
    static const int s_widths[PT_COLUMNS] = {60, 150, 70, 60, 70, 90};
    for (int i = 0; i < PT_COLUMNS; ++i) {
        table.GetColumn(i).SetWidth(s_widths[i]);
        table.GetColumn(i).SetThousands(FALSE);
    }
    // The Arabic titles, shown while the framework's language is Arabic.
    static const char* const s_arabic[PT_COLUMNS] = {"الرمز", "الاسم", "القطاع", "الكمية", "السعر", "القيمة"};
    for (int i = 0; i < PT_COLUMNS; ++i)
        table.GetColumn(i).SetTitle(ToCodePage(s_arabic[i], 1256).c_str(), 1);
    table.GetColumn(PT_QTY).SetAlignment(ALIGN_RIGHT);
    table.GetColumn(PT_PRICE).SetAlignment(ALIGN_RIGHT);
    table.GetColumn(PT_PRICE).SetDecimals(-3);
    table.GetColumn(PT_PRICE).SetMinDecimals(1);
    table.GetColumn(PT_VALUE).SetAlignment(ALIGN_RIGHT);
    table.GetColumn(PT_VALUE).SetDecimals(2);
    table.Open();
    View().SetTitle("Holdings", 0);
    View().SetTitle(ToCodePage("المحفظة", 1256).c_str(), 1);
    for (int i = 0; i < nRows; ++i) {
        TBCellSlot* pBlock = t.NewBlock();
        PutText(t, pBlock, PT_SYMBOL, Symbol(i).c_str());
        std::string strName = "Company " + std::to_string(i) + (i % 7 == 0 ? " Holdings and Investments International" : "");
        PutText(t, pBlock, PT_NAME, strName.c_str());
        PutText(t, pBlock, PT_SECTOR, Sector(i));
        PutInt(t, pBlock, PT_QTY, i);
        double dPrice = 10.0 + (i % 8) / 8.0;
        View().GetColumns().SetSlotValue(&pBlock[PT_PRICE], &dPrice, PT_PRICE);
        double dValue = i * dPrice;
        View().GetColumns().SetSlotValue(&pBlock[PT_VALUE], &dValue, PT_VALUE);
        t.Insert(pBlock);
    }
    CSortColumns keys(30);
    keys.Add(PT_SECTOR, SORT_ASCENDING);
    keys.Add(PT_SYMBOL, SORT_ASCENDING);
    View().Sort(keys, bGroups);
    if (bGroups) {
        View().SetGroupHeaderMode(1);
        View().SetTotalsMode(3);
    }
    for (int nLine = 0; nLine < View().GetRowTree().GetCount(); ++nLine) {
        CViewRow row(&View());
        if (View().GetRow(row, nLine) && row.IsDataRow()) {
            char szSymbol[16] = "";
            row.GetNode()->GetCellText(szSymbol, sizeof(szSymbol), PT_SYMBOL,
                                       View().GetColumns().GetColumn(PT_SYMBOL), &View());
            if (atoi(szSymbol + 1) % 50 == 0)
                row.SetMarked(TRUE);
        }
    }
}

std::string CPrintTable::Symbol(int i)
{
    char sz[16];
    snprintf(sz, sizeof(sz), "S%04d", i);
    return sz;
}

const char* CPrintTable::Sector(int i)
{
    static const char* const s_sectors[] = {"Sector A", "Sector B", "Sector C", "Sector D", "Sector E"};
    return s_sectors[i % 5];
}

std::vector<std::string> CPrintTable::ExpectedSymbols() const
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < m_nRows; ++i)
        rows.emplace_back(Sector(i), Symbol(i));
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> symbols;
    for (const auto& row : rows)
        symbols.push_back(row.second);
    return symbols;
}

void UsePdfPrinterOnly()
{
    TbUseSystemPrinters(FALSE);
}

std::string RunCommand(const std::string& strCommand)
{
    std::string strOut;
    FILE* pPipe = popen(strCommand.c_str(), "r");
    if (!pPipe)
        return strOut;
    char szBuffer[4096];
    size_t n;
    while ((n = fread(szBuffer, 1, sizeof(szBuffer), pPipe)) > 0)
        strOut.append(szBuffer, n);
    pclose(pPipe);
    return strOut;
}

int PdfPageCount(const std::string& strPdf)
{
    const std::string strInfo = RunCommand("pdfinfo '" + strPdf + "' 2>/dev/null");
    const size_t nAt = strInfo.find("Pages:");
    return nAt == std::string::npos ? -1 : atoi(strInfo.c_str() + nAt + 6);
}

std::string PdfPageText(const std::string& strPdf, int nPage)
{
    std::string strPage = std::to_string(nPage);
    return RunCommand("pdftotext -layout -f " + strPage + " -l " + strPage + " '" + strPdf + "' - 2>/dev/null");
}

std::string PdfPageBoxes(const std::string& strPdf, int nPage)
{
    std::string strPage = std::to_string(nPage);
    return RunCommand("pdftotext -bbox -f " + strPage + " -l " + strPage + " '" + strPdf + "' - 2>/dev/null");
}

double WordLeft(const std::string& strBoxes, const std::string& strWord)
{
    const size_t nWord = strBoxes.find(">" + strWord + "</word>");
    const size_t nAt = nWord == std::string::npos ? nWord : strBoxes.rfind("xMin=\"", nWord);
    return nAt == std::string::npos ? -1 : atof(strBoxes.c_str() + nAt + 6);
}

static bool IsWordChar(char ch)
{
    return isalnum(static_cast<unsigned char>(ch)) || ch == '_';
}

std::vector<std::string> FindSymbols(const std::string& strText)
{
    std::vector<std::string> symbols;
    for (size_t i = 0; i + 5 <= strText.size(); ++i) {
        if (strText[i] != 'S' || (i > 0 && IsWordChar(strText[i - 1])))
            continue;
        bool bDigits = true;
        for (size_t k = 1; k <= 4; ++k)
            bDigits = bDigits && isdigit(static_cast<unsigned char>(strText[i + k]));
        if (bDigits && (i + 5 == strText.size() || !IsWordChar(strText[i + 5])))
            symbols.push_back(strText.substr(i, 5));
    }
    return symbols;
}

CTestIni::CTestIni() : m_strPath(TestFilePath("print.ini"))
{
    std::remove(m_strPath.c_str());
    m_ini.SetFileName(m_strPath.c_str());
    m_ini.SetSection("Print");
}

CTestIni::~CTestIni()
{
    std::remove(m_strPath.c_str());
}

CPrintLanguage::CPrintLanguage(int nCodePage)
{
    UseSourceResources();
    char szName[32];
    snprintf(szName, sizeof(szName), "_%d.dll", nCodePage);
    m_hModule = LoadLibraryA(szName);
    CTBApp* pApp = GetTBApp();
    m_hOldApp = pApp->GetModule();
    m_hOldResources = TbGetResourceModule();
    const CTBString strName = pApp->GetName();
    pApp->Init(m_hModule, strName, pApp->GetOption());
    TbSetResourceModule(m_hModule);
    GetNorvGlobals().SetRightToLeft(nCodePage == 1256);
    GetNorvGlobals().SetLanguage(nCodePage == 1256 ? 1 : 0);
    m_strPath = TestFilePath("language.ini");
    m_settings.Open(m_strPath.c_str());
    pApp->m_pSettings = &m_settings;
}

CPrintLanguage::~CPrintLanguage()
{
    CTBApp* pApp = GetTBApp();
    pApp->m_pSettings = nullptr;
    const CTBString strName = pApp->GetName();
    pApp->Init(m_hOldApp, strName, pApp->GetOption());
    TbSetResourceModule(m_hOldResources);
    GetNorvGlobals().SetRightToLeft(FALSE);
    GetNorvGlobals().SetLanguage(0);
    if (m_hModule)
        FreeLibrary(m_hModule);
    std::remove(m_strPath.c_str());
}

CPrintTestParent::CPrintTestParent(int cx, int cy)
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, "PrintTestParent", &wc)) {
        wc.lpfnWndProc = DefWindowProcA;
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "PrintTestParent";
        RegisterClassA(&wc);
    }
    m_hWnd = CreateWindowExA(0, "PrintTestParent", "parent", WS_OVERLAPPED | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr,
                             nullptr, nullptr);
}

CPrintTestParent::~CPrintTestParent()
{
    DestroyWindow(m_hWnd);
    Drain();
}

void Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            DispatchMessageA(&msg);
}

std::string ScreenshotPath(const char* pszName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::error_code ec;
    std::filesystem::create_directories(strFolder, ec);
    return strFolder + "/" + pszName + ".png";
}
