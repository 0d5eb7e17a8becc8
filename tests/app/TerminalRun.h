#pragma once
// The whole terminal in the test program, end to end: a program folder and link settings of its
// own pointing at a test server on loopback, the application's real start-up, and a person at
// the keyboard who answers the login dialog through its controls as they are typed and clicked.
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <gtest/gtest.h>
#include "app/ZorvatApp.h"

class CTerminalRun
{
public:
    // English, or Arabic through the registry value start-up reads; in a fresh program folder,
    // or in the one an earlier run used.
    explicit CTerminalRun(bool bArabic = false, const std::string& strFolder = "");
    ~CTerminalRun();
    CTerminalRun(const CTerminalRun&) = delete;
    CTerminalRun& operator=(const CTerminalRun&) = delete;

    // The "Communication" section for a server on 127.0.0.1 at the port.
    void WriteLinkSettings(int nPort);
    // The application's start-up; false when it refused. m_onMakersRegistered runs once the
    // market layer has registered its makers, before anything is made: a test's own go over them.
    bool Start();
    std::function<void()> m_onMakersRegistered;
    CZORVAT32App& App() { return *m_pApp; }
    const std::string& Folder() const { return m_strFolder; }

    // The next login dialogs take these, in turn; one without an answer is cancelled when
    // bCancelUnanswered, else left open.
    void QueueLogin(const std::string& strUser, const std::string& strPassword);
    bool m_bCancelUnanswered = false;
    // The next dialog that holds the control nMarkId gets these texts in its controls and OK.
    void QueueDialog(int nMarkId, const std::vector<std::pair<int, std::string>>& fields);
    // The text the control nMarkId of the last such dialog showed when it was answered.
    std::string m_strMarkText;
    int LoginDialogsSeen() const { return m_nDialogsSeen; }
    // The refusal line of each login dialog seen, as it opened: its text, or "" when hidden.
    std::vector<std::string> m_loginRefusals;
    // A PNG of the next login dialog, before it is answered.
    std::string m_strDialogShot;

    // The lines of the information window that read as the string id's text.
    int CountInfoLines(UINT nId) const;
    std::string InfoText() const;
    bool WaitForLoad(int nMs = 20000);
    // Link settings for the port, the login queued, start-up and the initial load, in that
    // order; a failure says which step, with the information text.
    ::testing::AssertionResult StartLoggedIn(int nPort, const std::string& strUser, const std::string& strPassword);
    // Ctrl with a letter as the display delivers them, taken through the application's own
    // message loop until the condition holds or three seconds pass; whether it came to hold.
    bool TypeCtrl(char chKey, const std::function<bool()>& done);
    // A key without modifiers (a function key), the same way.
    bool TypeKey(UINT nKey, const std::function<bool()>& done);
    // Closes the main frame as the user does (Yes to the question) and runs the exit.
    void Close();

private:
    bool PumpUntilDone(const std::function<bool()>& done);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void LookForDialog();

    // The terminal's start-up sets the framework's patterns and separators for the whole process;
    // they go back as they were for the tests that run after.
    struct FORMATS {
        CTBString strDate, strTime;
        char chDecimal, chThousands;
    };
    FORMATS m_formats;
    LCID m_lcid = 0;                    // the user's language, which the start-up sets
    CZORVAT32App* m_pApp = nullptr;
    std::string m_strFolder;
    std::deque<std::pair<std::string, std::string>> m_logins;
    std::deque<std::pair<int, std::vector<std::pair<int, std::string>>>> m_dialogs;
    HWND m_hLastDialog = nullptr;       // answered and gone, or still closing
    HWND m_hAnswering = nullptr;        // the login dialog last seen
    int m_nDialogsSeen = 0;
    UINT_PTR m_nTimer = 0;
    bool m_bClosed = false;
    bool m_bArabic = false;
};
