#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"

// FIXME: the profile moves to the registry key of the application once the class library's
// application object is there; until then it is a section of the program settings.
CString CZORVAT32App::ReadProfileText(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault)
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(CString("Profile") + pszSection);
    return static_cast<const char*>(settings.GetString(pszKey, pszDefault));
}

void CZORVAT32App::WriteProfileText(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue)
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(CString("Profile") + pszSection);
    settings.WriteString(pszKey, pszValue);
}

BOOL CZORVAT32App::AskCredentials(CString&, CString&)
{
    return FALSE;
}

DWORD CZORVAT32App::ReadArabicChoice(LPCSTR)
{
    return 0;
}

void CZORVAT32App::OpenProfile(CSharedGlobals*, LPCSTR)
{
}
