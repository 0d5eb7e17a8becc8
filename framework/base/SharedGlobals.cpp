#include "framework/base/SharedGlobals.h"

#include "framework/base/Language.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Sound.h"

namespace {
CSharedGlobals* s_pShared = nullptr;
CLanguage* s_pLanguage = nullptr;

// Resource strings of the framework hold at most 511 characters.
const int RESOURCE_TEXT_SIZE = 512;
}  // namespace

CSharedGlobals::~CSharedGlobals()
{
    if (m_hBranding != nullptr)
        FreeLibrary(m_hBranding);
}

void CSharedGlobals::LoadString(CString& strOut, UINT uId) const
{
    strOut.Empty();
    if (uId == 0)
        return;
    char szText[RESOURCE_TEXT_SIZE] = "";
    if ((m_hBranding != nullptr && LoadStringA(m_hBranding, uId, szText, RESOURCE_TEXT_SIZE) > 0) ||
        LoadStringA(TbGetResourceModule(), uId, szText, RESOURCE_TEXT_SIZE) > 0)
        strOut = szText;
}

HBITMAP CSharedGlobals::LoadBitmap(UINT uId) const
{
    if (uId == 0)
        return nullptr;
    HANDLE hImage = nullptr;
    if (m_hBranding != nullptr)
        hImage = LoadImageA(m_hBranding, MAKEINTRESOURCEA(uId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (hImage == nullptr)
        hImage = LoadImageA(TbGetResourceModule(), MAKEINTRESOURCEA(uId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    return static_cast<HBITMAP>(hImage);
}

HICON CSharedGlobals::LoadIcon(UINT uId) const
{
    if (uId == 0)
        return nullptr;
    HICON hIcon = nullptr;
    if (m_hBranding != nullptr)
        hIcon = LoadIconA(m_hBranding, MAKEINTRESOURCEA(uId));
    if (hIcon == nullptr)
        hIcon = LoadIconA(TbGetResourceModule(), MAKEINTRESOURCEA(uId));
    return hIcon;
}

BOOL CSharedGlobals::PlaySoundFile(LPCSTR pszFile) const
{
    return PlaySoundA(pszFile, nullptr, SND_ASYNC | SND_FILENAME);
}

CString CSharedGlobals::FormatClock(int nSecondsOfDay, int nOffsetSeconds)
{
    CNorvTime time;
    time.Set(0, 0, nSecondsOfDay + nOffsetSeconds);
    return CString(static_cast<const char*>(time.ToString()));
}

void CSharedGlobals::GetTimeText(CString& strOut) const
{
    CNorvTime now;
    now.SetNow();
    strOut = FormatClock(now.GetSecondsOfDay(), m_nTimeOffset);
}

CSharedGlobals* GetSharedGlobals()
{
    if (s_pShared == nullptr)
        s_pShared = new CSharedGlobals;
    return s_pShared;
}

CLanguage* GetLanguage()
{
    if (s_pLanguage == nullptr)
        s_pLanguage = new CLanguage;
    return s_pLanguage;
}

void DeleteSharedSingletons()
{
    delete s_pLanguage;
    s_pLanguage = nullptr;
    delete s_pShared;
    s_pShared = nullptr;
}
