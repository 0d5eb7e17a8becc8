#pragma once
// Driving the session's dialogs as a user does: steps run from a timer inside the dialog's own
// modal loop, keys and clicks delivered through the display, the language module of a test, an
// information window that records what it is told, and screenshots.
#include <functional>
#include <string>
#include <vector>

#include "framework/base/SharedGlobals.h"
#include "platform/win/Windows.h"
#include "tests/common/DialogSteps.h"

// The language module of one test (1252 English, 1256 Arabic, which also reads right to left),
// the framework's and the layer's; the destructor puts everything back.
class CTestLanguage
{
public:
    explicit CTestLanguage(int nCodePage);
    ~CTestLanguage();
    CTestLanguage(const CTestLanguage&) = delete;
    CTestLanguage& operator=(const CTestLanguage&) = delete;

    HMODULE m_hModule = nullptr;

private:
    HINSTANCE m_hOld = nullptr;
    BOOL m_bOldRightToLeft = FALSE;
};

// Stands in the shared services' information window for one test and keeps what it shows.
class CRecordingInfoWindow : public IInfoWindow
{
public:
    CRecordingInfoWindow();
    ~CRecordingInfoWindow();
    void AddText(const char* pszText) override { m_lines.push_back(pszText); }
    void AddResourceText(UINT uId) override { m_lines.push_back("#" + std::to_string(uId)); }

    std::vector<std::string> m_lines;

private:
    IInfoWindow* m_pOld = nullptr;
};
