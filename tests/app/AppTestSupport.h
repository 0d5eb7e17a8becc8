#pragma once
// What the application's tests share: the source tree's resource files in a chosen language, a
// settings file of the test's own, the framework application with its MDI main frame on the
// offscreen display, and a small server-fed-like table that may show several windows.
#include <unistd.h>
#include <chrono>
#include <functional>
#include <string>
#include <gtest/gtest.h>
#include "app/MDITable.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/TableColumn.h"
#include "framework/table/ViewTable.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "tests/link/LinkSessionSupport.h"

// A fresh folder under the build tree, unique to this process and call.
std::string MakeTestFolder(const char* pszStem);

// Where ink stands across a band of a window as it shows ('#' a column with a dark pixel, '.'
// one without), the blank columns at both ends left out: the order of drawn parts, comparable
// with InkOfText. "no picture" when the window cannot be pictured.
std::string InkOfWindow(HWND hWnd, const RECT& rcBand);
// The same for the text drawn in the font, black (or crText) on the background colour, left to
// right or (bRtlReading) with right-to-left reading.
std::string InkOfText(HFONT hFont, const std::string& strText, COLORREF crBack = RGB(255, 255, 255),
                      bool bRtlReading = false, COLORREF crText = RGB(0, 0, 0));
// Whether two such strings show the same parts in the same order: as many runs of ink and of
// blank, each within a column of the other's width (glyphs fall on other fractions of a pixel).
::testing::AssertionResult SameInk(const std::string& strExpected, const std::string& strSeen);
// Handles what the window queue holds now (a WM_QUIT is dropped).
void PumpPending();
// A table window wide enough for every column and tall enough for every row, painted.
void ShowWhole(CTableMDIWnd* pWnd);

// The language modules of the source tree (1252 English, 1256 Arabic) as the resource module
// and the framework's, with the matching reading direction; restores English at the end.
class CTestLanguage
{
public:
    explicit CTestLanguage(int nCodePage = 1252);
    ~CTestLanguage();
    CTestLanguage(const CTestLanguage&) = delete;
    CTestLanguage& operator=(const CTestLanguage&) = delete;

private:
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOld = nullptr;
};

// The framework application with a main frame and a settings file of the test's own.
class CTestShell
{
public:
    CTestShell();
    ~CTestShell();
    CTestShell(const CTestShell&) = delete;
    CTestShell& operator=(const CTestShell&) = delete;

    CNorvApp& App() { return *m_pApp; }
    CNorvMainFrame* Frame() { return m_pFrame; }
    const std::string& Folder() const { return m_strFolder; }
    std::string Setting(const char* pszSection, const char* pszKey);

private:
    CNorvApp* m_pApp = nullptr;
    CNorvMainFrame* m_pFrame = nullptr;
    std::string m_strFolder;
};

// A table of symbols and prices whose windows come and go as a market table's do.
class CQuoteTestTable : public CMDITable
{
public:
    ~CQuoteTestTable() override { Destroy(); }
    BOOL Create(UINT nNameId)
    {
        if (!CreateTable(nNameId, 0))
            return FALSE;
        if (CNorvApp* pApp = CNorvApp::Get())
            pApp->AddTable(this);
        return TRUE;
    }

protected:
    void CreateColumns() override
    {
        const struct { const char* pszName; int nType; } columns[] = {{"Symbol", COLTYPE_STRING}, {"Last", COLTYPE_DOUBLE}};
        for (const auto& def : columns) {
            CColumn column = m_table.AddColumn();
            column.SetName(def.pszName);
            column.SetTitle(def.pszName, 0);
            column.SetDataType(def.nType);
            column.SetWidth(80);
        }
    }
};

// The main frame's procedure watched while the object lives: each WM_SETREDRAW noted as
// "off (what)|" or "on (what)|", what being what the test reads of the screen at that moment.
class CRedrawWatch
{
public:
    CRedrawWatch(HWND hFrame, std::function<std::string()> whatShows) : m_hFrame(hFrame)
    {
        s_strLog.clear();
        s_whatShows = std::move(whatShows);
        s_pfnFrame = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hFrame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Watch)));
    }
    ~CRedrawWatch() { Stop(); }
    CRedrawWatch(const CRedrawWatch&) = delete;
    CRedrawWatch& operator=(const CRedrawWatch&) = delete;
    // The frame's own procedure back; what was noted stays readable.
    void Stop()
    {
        if (m_hFrame != nullptr && IsWindow(m_hFrame))
            SetWindowLongPtrA(m_hFrame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_pfnFrame));
        m_hFrame = nullptr;
    }
    const std::string& Log() const { return s_strLog; }

private:
    static LRESULT CALLBACK Watch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_SETREDRAW)
            s_strLog += std::string(wParam ? "on" : "off") + " (" + s_whatShows() + ")|";
        return CallWindowProcA(s_pfnFrame, hWnd, uMsg, wParam, lParam);
    }
    HWND m_hFrame;
    static inline WNDPROC s_pfnFrame = nullptr;
    static inline std::function<std::string()> s_whatShows;
    static inline std::string s_strLog;
};
