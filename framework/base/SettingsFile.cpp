#include "framework/base/SettingsFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/base/RecordStore.h"
#include "framework/base/TBApp.h"
#include "framework/base/TBWnd.h"
#include "platform/win/kernel/Kernel.h"

namespace {

const int STORE_CAPACITY = 20;
const int STORE_GROWTH = 50;
const DWORD TEXT_BUFFER = 256;
const UINT PLACEMENT_LENGTH = 44;
const char PLACEMENT_FORMAT[] = "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d";
const DWORD POINT_BUFFER = 100;        // a window position is read with at most 99 characters

CRecordStore* NewStore()
{
    CRecordStore* pStore = new CRecordStore;
    pStore->Init(2, STORE_CAPACITY, STORE_GROWTH);
    pStore->SetKeyFields(0, TRUE, -1, FALSE);
    return pStore;
}

LPCSTR FieldText(const INT_PTR* pRecord, int nField)
{
    return pRecord[nField] != 0 ? reinterpret_cast<LPCSTR>(pRecord[nField]) : "";
}

INT_PTR TextKey(LPCSTR psz)
{
    return reinterpret_cast<INT_PTR>(psz);
}

// The first record of that name: Find may land on any of several equal ones.
int FindFirst(const CRecordStore* pStore, LPCSTR pszName)
{
    BOOL bFound = FALSE;
    int nIndex = pStore->Find(TextKey(pszName), -1, &bFound);
    if (nIndex < 0 || !bFound)
        return -1;
    for (int i = nIndex - 1; i >= 0; --i) {
        const INT_PTR* pRecord = pStore->GetAt(i);
        if (pRecord == nullptr)
            continue;
        if (strcmp(FieldText(pRecord, 0), pszName) != 0)
            break;
        nIndex = i;
    }
    return nIndex;
}

// A new record with the name in field 0, after any of the same name, so that a file that
// repeats a name keeps its order.
INT_PTR* InsertSorted(CRecordStore* pStore, LPCSTR pszName)
{
    BOOL bFound = FALSE;
    int nIndex = pStore->Find(TextKey(pszName), -1, &bFound);
    if (nIndex == -4)
        nIndex = 0;
    else if (bFound) {
        for (int i = pStore->GetNextIndex(nIndex); i >= 0; i = pStore->GetNextIndex(i)) {
            if (strcmp(FieldText(pStore->GetAt(i), 0), pszName) != 0)
                break;
            nIndex = i;
        }
        ++nIndex;
    }
    INT_PTR* pRecord = pStore->InsertAt(nIndex, nullptr);
    if (pRecord != nullptr)
        pStore->SetString(pRecord, 0, pszName);
    return pRecord;
}

// One line, however long, without its line end. bNewline tells whether it had one. A NUL ends
// the line's text (no key or value can hold one), never the line.
bool ReadLine(FILE* pFile, std::string& strLine, bool& bNewline)
{
    strLine.clear();
    bNewline = false;
    int ch;
    bool bAny = false, bCut = false;
    while ((ch = getc(pFile)) != EOF) {
        bAny = true;
        if (ch == '\n') {
            bNewline = true;
            break;
        }
        if (ch == '\0')
            bCut = true;
        if (!bCut)
            strLine += static_cast<char>(ch);
    }
    if (!bAny)
        return false;
    // Files written on the original platform end their lines with CR LF; every CR before the LF
    // belongs to the line end, so a value never ends in one (writes refuse such a value).
    while (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
    return true;
}

std::string Unescape(const std::string& str)
{
    std::string strOut;
    strOut.reserve(str.size());
    for (size_t i = 0; i < str.size(); ++i) {
        if (str[i] == '\\' && i + 1 < str.size() && str[i + 1] == 'n') {
            strOut += '\n';
            ++i;
        } else {
            strOut += str[i];
        }
    }
    return strOut;
}

std::string Escape(LPCSTR psz)
{
    std::string strOut;
    for (; *psz != '\0'; ++psz) {
        if (*psz == '\n')
            strOut += "\\n";
        else
            strOut += *psz;
    }
    return strOut;
}

// What the file can hold so that it reads back as it was written: a section line needs a name
// without a line break, an entry line a key without '=' or a line break that does not start as
// a section line does; a value's line breaks are escaped, but a CR at its end would be taken for
// a part of the line end.
bool CanBeSaved(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue)
{
    const size_t cchValue = strlen(pszValue);
    return *pszSection != '\0' && strchr(pszSection, '\n') == nullptr && *pszKey != '\0' && *pszKey != '[' &&
           strpbrk(pszKey, "=\n") == nullptr && (cchValue == 0 || pszValue[cchValue - 1] != '\r');
}

} // namespace

CSettingsFile::CSettingsFile() : m_pSections(NewStore())
{
}

CSettingsFile::CSettingsFile(const char* pszFile, const char* pszSection)
    : CIni(pszFile, pszSection), m_pSections(NewStore())
{
    LoadSettingsFile();
}

CSettingsFile::~CSettingsFile()
{
    if (m_bSaveOnClose)
        SaveSettingsFile();
    FreeSections();
}

void CSettingsFile::FreeSections()
{
    if (m_pSections == nullptr)
        return;
    for (int i = m_pSections->GetNextIndex(-1); i >= 0; i = m_pSections->GetNextIndex(i))
        delete reinterpret_cast<CRecordStore*>(m_pSections->GetAt(i)[1]);
    delete m_pSections;
    m_pSections = nullptr;
}

BOOL CSettingsFile::Open(const char* pszFile)
{
    if (m_bSaveOnClose)
        SaveSettingsFile();
    m_strFile = pszFile;
    FreeSections();
    m_pSections = NewStore();
    m_bUnreadable = FALSE;
    return LoadSettingsFile();
}

BOOL CSettingsFile::LoadSettingsFile()
{
    FILE* pFile = m_strFile.GetLength() > 0 ? fopen(m_strFile, "r") : nullptr;
    if (pFile == nullptr) {
        std::error_code ec;
        m_bUnreadable = m_strFile.GetLength() > 0 && std::filesystem::exists(static_cast<const char*>(m_strFile), ec);
        return FALSE;
    }
    CRecordStore* pCurrent = nullptr;
    std::string strLine;
    bool bNewline = false;
    while (ReadLine(pFile, strLine, bNewline)) {
        // Counted with its line end, as the line was always measured.
        const size_t cchLine = strLine.size() + (bNewline ? 1 : 0);
        if (cchLine < 3)
            continue;
        if (strLine[0] == '[') {
            const size_t nClose = strLine.rfind(']');
            if (nClose != std::string::npos && nClose >= 2)
                pCurrent = AddSection(strLine.substr(1, nClose - 1).c_str());
            continue;
        }
        if (pCurrent == nullptr)
            continue;
        const size_t nEquals = strLine.find('=');
        if (nEquals == std::string::npos || nEquals < 1)
            continue;
        // "k=" alone gives no entry: its line end stood at index 2.
        if (bNewline && strLine.size() <= 2)
            continue;
        AddEntry(pCurrent, strLine.substr(0, nEquals).c_str(), Unescape(strLine.substr(nEquals + 1)).c_str());
    }
    const bool bError = ferror(pFile) != 0;
    fclose(pFile);
    if (bError) {
        m_bUnreadable = TRUE;
        return FALSE;
    }
    return TRUE;
}

BOOL CSettingsFile::SaveSettingsFile()
{
    if (m_strFile.GetLength() == 0 || m_bUnreadable)
        return FALSE;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(static_cast<const char*>(m_strFile));
    // Replace what a link points at, not the link.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (ec)
            return FALSE;
        target = resolved;
    }
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    char szTemp[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "set", 0, szTemp) == 0)
        return FALSE;

    FILE* pFile = fopen(szTemp, "w");
    bool bOk = pFile != nullptr;
    for (int i = m_pSections->GetNextIndex(-1); bOk && i >= 0; i = m_pSections->GetNextIndex(i)) {
        const INT_PTR* pSection = m_pSections->GetAt(i);
        const CRecordStore* pEntries = reinterpret_cast<const CRecordStore*>(pSection[1]);
        if (pEntries->GetNextIndex(-1) < 0)
            continue;
        bOk = fprintf(pFile, "\n[%s]\n", FieldText(pSection, 0)) >= 0;
        for (int j = pEntries->GetNextIndex(-1); bOk && j >= 0; j = pEntries->GetNextIndex(j)) {
            const INT_PTR* pEntry = pEntries->GetAt(j);
            if (*FieldText(pEntry, 1) == '\0')
                continue;
            bOk = fprintf(pFile, "%s=%s\n", FieldText(pEntry, 0), Escape(FieldText(pEntry, 1)).c_str()) >= 0;
        }
    }
    if (pFile != nullptr && fclose(pFile) != 0)
        bOk = false;
    if (bOk && fs::exists(target, ec))
        fs::permissions(szTemp, fs::status(target, ec).permissions(), fs::perm_options::replace, ec);
    if (bOk) {
        fs::rename(szTemp, target, ec);
        bOk = !ec;
    }
    if (!bOk)
        fs::remove(szTemp, ec);
    return bOk ? TRUE : FALSE;
}

CRecordStore* CSettingsFile::FindSection(LPCSTR pszName) const
{
    if (pszName == nullptr)
        return nullptr;
    const int nIndex = FindFirst(m_pSections, pszName);
    return nIndex < 0 ? nullptr : reinterpret_cast<CRecordStore*>(m_pSections->GetAt(nIndex)[1]);
}

template <typename Visit>
void CSettingsFile::ForEachEntry(LPCSTR pszSection, LPCSTR pszKey, Visit visit) const
{
    if (pszSection == nullptr || pszKey == nullptr)
        return;
    // Equal names stand next to each other in file order: the sections, then the keys in each.
    for (int i = FindFirst(m_pSections, pszSection); i >= 0; i = m_pSections->GetNextIndex(i)) {
        const INT_PTR* pSection = m_pSections->GetAt(i);
        if (strcmp(FieldText(pSection, 0), pszSection) != 0)
            break;
        const CRecordStore* pEntries = reinterpret_cast<const CRecordStore*>(pSection[1]);
        for (int j = FindFirst(pEntries, pszKey); j >= 0; j = pEntries->GetNextIndex(j)) {
            INT_PTR* pEntry = pEntries->GetAt(j);
            if (strcmp(FieldText(pEntry, 0), pszKey) != 0)
                break;
            if (!visit(const_cast<CRecordStore*>(pEntries), pEntry))
                return;
        }
    }
}

INT_PTR* CSettingsFile::FindAnswer(LPCSTR pszSection, LPCSTR pszKey) const
{
    INT_PTR* pAnswer = nullptr;
    ForEachEntry(pszSection, pszKey, [&](CRecordStore*, INT_PTR* pEntry) {
        if (*FieldText(pEntry, 1) == '\0')
            return true;
        pAnswer = pEntry;
        return false;
    });
    return pAnswer;
}

INT_PTR* CSettingsFile::FindEntry(const CRecordStore* pStore, LPCSTR pszName)
{
    if (pStore == nullptr || pszName == nullptr)
        return nullptr;
    const int nIndex = FindFirst(pStore, pszName);
    return nIndex < 0 ? nullptr : pStore->GetAt(nIndex);
}

LPCSTR CSettingsFile::GetValue(LPCSTR pszSection, LPCSTR pszKey) const
{
    const INT_PTR* pEntry = FindAnswer(pszSection, pszKey);
    return pEntry == nullptr ? nullptr : FieldText(pEntry, 1);
}

CRecordStore* CSettingsFile::GetNextSection(int& nPos, CTBString& strName) const
{
    // nPos holds one past the slot last answered, so that 0 starts the walk.
    const int nIndex = m_pSections->GetNextIndex(nPos <= 0 ? -1 : nPos - 1);
    if (nIndex < 0) {
        strName.Empty();
        return nullptr;
    }
    nPos = nIndex + 1;
    const INT_PTR* pSection = m_pSections->GetAt(nIndex);
    strName = FieldText(pSection, 0);
    return reinterpret_cast<CRecordStore*>(pSection[1]);
}

CRecordStore* CSettingsFile::AddSection(LPCSTR pszName)
{
    if (pszName == nullptr)
        return nullptr;
    INT_PTR* pSection = InsertSorted(m_pSections, pszName);
    if (pSection == nullptr)
        return nullptr;
    CRecordStore* pEntries = NewStore();
    pSection[1] = reinterpret_cast<INT_PTR>(pEntries);
    return pEntries;
}

INT_PTR* CSettingsFile::AddEntry(CRecordStore* pEntries, LPCSTR pszKey, LPCSTR pszValue)
{
    if (pEntries == nullptr || pszKey == nullptr)
        return nullptr;
    INT_PTR* pEntry = InsertSorted(pEntries, pszKey);
    if (pEntry != nullptr)
        pEntries->SetString(pEntry, 1, pszValue);
    return pEntry;
}

DWORD CSettingsFile::ReadProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut,
                                       DWORD cchOut, LPCSTR /*pszFile*/)
{
    if (pszOut == nullptr || cchOut == 0)
        return 0;
    LPCSTR pszValue = GetValue(pszSection, pszKey);
    if (pszValue == nullptr)
        pszValue = pszDefault != nullptr ? pszDefault : "";
    const size_t cchValue = strlen(pszValue);
    snprintf(pszOut, cchOut, "%s", pszValue);
    return cchValue < cchOut ? static_cast<DWORD>(cchValue) : cchOut;
}

int CSettingsFile::ReadProfileInt(LPCSTR pszSection, LPCSTR pszKey, int nDefault, LPCSTR /*pszFile*/)
{
    LPCSTR pszValue = GetValue(pszSection, pszKey);
    if (pszValue == nullptr)
        return nDefault;
    const long long n = strtoll(pszValue, nullptr, 10);
    return n < INT32_MIN ? INT32_MIN : n > INT32_MAX ? INT32_MAX : static_cast<int>(n);
}

BOOL CSettingsFile::WriteProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue, LPCSTR /*pszFile*/)
{
    if (pszSection == nullptr || pszKey == nullptr)
        return FALSE;
    if (pszValue == nullptr)
        pszValue = "";
    // The pool holds 1024 characters: a longer text would be stored cut, so it is refused whole.
    if (strlen(pszValue) > CRecordStore::MAX_TEXT || strlen(pszKey) > CRecordStore::MAX_TEXT ||
        strlen(pszSection) > CRecordStore::MAX_TEXT)
        return FALSE;
    if (!CanBeSaved(pszSection, pszKey, pszValue))
        return FALSE;
    // A value goes to the first entry of the key, which then answers every lookup. An empty
    // value is no value (it is not saved): it blanks every entry of the key, so that the key
    // reads as missing now, as it will after the next load.
    const BOOL bBlank = *pszValue == '\0';
    BOOL bFound = FALSE;
    ForEachEntry(pszSection, pszKey, [&](CRecordStore* pEntries, INT_PTR* pEntry) {
        pEntries->SetString(pEntry, 1, pszValue);
        bFound = TRUE;
        return bBlank;
    });
    if (bFound)
        return TRUE;
    CRecordStore* pEntries = FindSection(pszSection);
    if (pEntries == nullptr)
        pEntries = AddSection(pszSection);
    return AddEntry(pEntries, pszKey, pszValue) != nullptr;
}

BOOL CSettingsFile::WriteWindowPlacement(const CTBString& strKey, const WINDOWPLACEMENT* pPlacement)
{
    if (pPlacement == nullptr)
        return FALSE;
    char szValue[TEXT_BUFFER];
    snprintf(szValue, sizeof(szValue), PLACEMENT_FORMAT, pPlacement->flags, pPlacement->showCmd,
             pPlacement->ptMinPosition.x, pPlacement->ptMinPosition.y, pPlacement->ptMaxPosition.x,
             pPlacement->ptMaxPosition.y, pPlacement->rcNormalPosition.left, pPlacement->rcNormalPosition.top,
             pPlacement->rcNormalPosition.right, pPlacement->rcNormalPosition.bottom);
    return WriteValue(strKey, szValue);
}

void CSettingsFile::GetWindowPlacement(WINDOWPLACEMENT* pPlacement, const CTBString& strKey,
                                       const WINDOWPLACEMENT* pDefault, BOOL* pbUsedDefault)
{
    if (pPlacement == nullptr)
        return;
    char szValue[TEXT_BUFFER];
    ReadProfileString(m_strSection, strKey, "", szValue, sizeof(szValue), m_strFile);
    const BOOL bUseDefault = szValue[0] == '\0';
    if (pbUsedDefault != nullptr)
        *pbUsedDefault = bUseDefault;
    // Numbers a damaged text lacks keep the default's.
    WINDOWPLACEMENT wp = {};
    if (pDefault != nullptr)
        wp = *pDefault;
    if (!bUseDefault) {
        int n[10];
        const int nRead = ScanIntList(szValue, n, 10);
        UINT* const pUints[] = {&wp.flags, &wp.showCmd};
        LONG* const pLongs[] = {&wp.ptMinPosition.x, &wp.ptMinPosition.y, &wp.ptMaxPosition.x,
                                &wp.ptMaxPosition.y, &wp.rcNormalPosition.left, &wp.rcNormalPosition.top,
                                &wp.rcNormalPosition.right, &wp.rcNormalPosition.bottom};
        for (int i = 0; i < nRead; ++i) {
            if (i < 2)
                *pUints[i] = static_cast<UINT>(n[i]);
            else
                *pLongs[i - 2] = n[i];
        }
    }
    wp.length = PLACEMENT_LENGTH;
    *pPlacement = wp;
}

void CSettingsFile::GetLogFont(LOGFONTA* pLogFont, const CTBString& strKey, const LOGFONTA* pDefault)
{
    if (pLogFont == nullptr)
        return;
    LOGFONTA lf = {};
    if (pDefault != nullptr)
        lf = *pDefault;
    ReadFontRecord(strKey, &lf);
    *pLogFont = lf;
}

BOOL CSettingsFile::WriteLogFont(const CTBString& strKey, const LOGFONTA* pLogFont)
{
    return pLogFont != nullptr && WriteFontRecord(strKey, *pLogFont);
}

void CSettingsFile::GetWindowPos(POINT* pPoint, const CTBString& strKey, POINT ptDefault)
{
    if (pPoint == nullptr)
        return;
    char szDefault[POINT_BUFFER];
    snprintf(szDefault, sizeof(szDefault), "%d,%d", static_cast<int>(ptDefault.x), static_cast<int>(ptDefault.y));
    char szValue[POINT_BUFFER];
    ReadProfileString(m_strSection, strKey, szDefault, szValue, sizeof(szValue), m_strFile);
    int n[2] = {static_cast<int>(ptDefault.x), static_cast<int>(ptDefault.y)};
    ScanIntList(szValue, n, 2);
    POINT pt = {n[0], n[1]};
    // A window saved on a larger screen must still be reachable: keep it inside the main window.
    CTBApp* pApp = GetTBApp();
    RECT rc;
    if (pApp != nullptr && pApp->m_pMainWnd != nullptr && pApp->m_pMainWnd->m_hWnd != nullptr &&
        GetClientRect(pApp->m_pMainWnd->m_hWnd, &rc)) {
        if (pt.x > rc.right - 50)
            pt.x = rc.right - 50;
        if (pt.y > rc.bottom - 50)
            pt.y = rc.bottom - 50;
    }
    *pPoint = pt;
}
