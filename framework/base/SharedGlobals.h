#pragma once
// The services the application sets up once and every part reaches through GetSharedGlobals: the
// program's settings file, strings and pictures that the branding library may replace, sound,
// the information window that shows messages to the user, and the clock shown to the user.
// Created on first use; DeleteSharedSingletons deletes it with the language object at exit.
#include "framework/base/InfoWindow.h"
#include "framework/base/NorvTime.h"
#include "framework/base/SettingsFile.h"
#include "platform/mfc/String.h"

class CLanguage;

class CSharedGlobals
{
public:
    CSharedGlobals() = default;
    virtual ~CSharedGlobals();      // frees the branding library; the settings file saves itself
    CSharedGlobals(const CSharedGlobals&) = delete;
    CSharedGlobals& operator=(const CSharedGlobals&) = delete;

    // Resources: the branding library's when it is loaded and holds the id, else the language
    // library's. Id 0 and a missing id give an empty text or a null handle.
    void LoadString(CString& strOut, UINT uId) const;
    HBITMAP LoadBitmap(UINT uId) const;
    HICON LoadIcon(UINT uId) const;
    // Starts a wave file and returns at once; the platform's result.
    BOOL PlaySoundFile(LPCSTR pszFile) const;
    // The local time plus the time offset, "%02d:%02d:%02d"; past midnight the hours go on from 24.
    void GetTimeText(CString& strOut) const;
    static CString FormatClock(int nSecondsOfDay, int nOffsetSeconds);
    void GetProductName(CString& strOut) const { strOut = m_strProductName; }

    BOOL m_bCloseOnSysMenu = FALSE;     // form windows hide instead of opening their system menu
    BOOL m_bWindowOption = FALSE;       // table windows without minimise box, main frame without bars
    BOOL m_bTableCommands = TRUE;       // copy, print and preview commands of the table windows
    CSettingsFile m_settings;           // the program's settings file, opened by the application
    IInfoWindow* m_pInfoWindow = nullptr;   // not owned; set by the application, null until then
    CString m_strText1;
    CString m_strText2;
    int m_nTimeOffset = 0;              // seconds added to the local time of the displayed clock
    int m_nExportSeparator = 9;         // cell separator of table exports to files
    CString m_strProductName = "NORV";  // printed in the table print headers
    short m_nPrintValue = 0;            // handed to the table printing with the product name
    HMODULE m_hBranding = nullptr;      // owned; loaded by the application
};

// The singletons, made on first use.
CSharedGlobals* GetSharedGlobals();
CLanguage* GetLanguage();
// At exit: the language object, then the shared services.
void DeleteSharedSingletons();
