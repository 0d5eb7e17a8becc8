#pragma once
// The framework's application base: the module every framework resource comes from, the
// application's name, and the message pump that offers each message to the framework's windows
// before it is dispatched. The product's application derives from it as a second base; its
// constructor registers it as the one application object of the process.
#include "framework/base/TBString.h"
#include "platform/win/user/Message.h"

class CTBWnd;
class CSettingsFile;

class CTBApp
{
public:
    CTBApp();
    virtual ~CTBApp();
    CTBApp(const CTBApp&) = delete;
    CTBApp& operator=(const CTBApp&) = delete;

    // Stores the three values; the module becomes the one every framework string, cursor and
    // dialog template is loaded from. TRUE.
    BOOL Init(HINSTANCE hModule, const char* pszName, int nOption);
    HINSTANCE GetModule() const { return m_hModule; }
    const CTBString& GetName() const { return m_strName; }
    int GetOption() const { return m_nOption; }

    // The main loop: InitInstance, then read, pre-translate, translate and dispatch until the quit
    // message; the result is ExitInstance's (FALSE at once when InitInstance refuses).
    virtual BOOL Run();
    virtual BOOL InitInstance() { return TRUE; }
    virtual BOOL ExitInstance() { return TRUE; }
    // Offers the message to the framework window it is for and to its parents, up to the main
    // window (or the top without one). TRUE when one of them consumed it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // One message: FALSE for the quit message, else pre-translated or dispatched and TRUE.
    BOOL PumpMessage();
    const MSG& GetCurrentMessage() const { return m_msgCur; }

    CTBWnd* m_pMainWnd = nullptr;           // not owned; where pre-translation stops
    CSettingsFile* m_pSettings = nullptr;   // not owned: the shared services' program settings file

private:
    HINSTANCE m_hModule = nullptr;
    CTBString m_strName;
    int m_nOption = 0;
    MSG m_msgCur = {};
};

// The application object; null before one is constructed.
CTBApp* GetTBApp();
// A string of the framework's resource module; empty when the id has none.
CTBString GetAppString(UINT uId);
