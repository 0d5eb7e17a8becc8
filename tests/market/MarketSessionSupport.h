#pragma once
// What the market tables' end-to-end tests share: where pictures go, a table of the running
// terminal by its name id, a table's main window pictured, the cache files in a folder, a copy of
// the test server's data, a session of the trader against the server, and a step run inside a
// modal dialog's own loop.
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "framework/base/TBString.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "platform/win/Windows.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"

// <build>/screenshots/<name>.png, the folder made when missing.
std::string ScreenshotPath(const std::string& strName);
// The files of the folder whose names start with the stem, sorted.
std::vector<std::string> CacheFiles(const std::string& strFolder, const std::string& strStem);
// The table's main window shown and pictured under the name.
void Shoot(CDataTable* pTable, const std::string& strName);
// The texts one column shows in the table's main window, data rows in view order.
std::vector<std::string> ShownTexts(CDataTable* pTable, int nCol);

template <class TTable>
TTable* Find(UINT nNameId)
{
    return dynamic_cast<TTable*>(FindDataTable(nNameId));
}


// The test server's data copied into a new folder under /tmp named from the stem, so that a test
// can add lines to its files; "" when it cannot be made. RemoveServerData removes the whole copy.
std::string CopyServerData(const std::string& strStem);
void RemoveServerData(const std::string& strData);

// The test server and the terminal logged in against it as the trader. The date and time patterns
// the terminal may change are put back, and the data copy (when one is used) removed, at its end.
struct CMarketSession : ::testing::Test
{
    CTestServer server;
    std::unique_ptr<CTerminalRun> pRun;
    std::string strData;    // the server's data copy, removed at the end when set
    const CTBString strDatePattern;
    const CTBString strTimePattern;

    CMarketSession();
    // The server with these options, the terminal (in this folder when given) logged in with its
    // initial load done; a failure says which step, with the terminal's information text.
    ::testing::AssertionResult StartSession(const std::vector<std::string>& options, bool bArabic,
                                            const std::string& strFolder = "");
    // The terminal closed, the server stopped, the patterns put back and the data copy removed.
    void StopSession();
    void TearDown() override { StopSession(); }

    // The requests the server received of this type ("&<mnemonic>|..."), whole, and how many.
    std::vector<std::string> Requests(const std::string& strMnemonic) const;
    int RequestCount(const std::string& strMnemonic) const { return static_cast<int>(Requests(strMnemonic).size()); }
    // The server's log lines of a type, for a failure's message.
    std::string ServerLines(const std::string& strMnemonic) const;
};

// The step runs on the next active window that holds the mark control, from a timer, so that it
// runs inside a modal dialog's own loop. DialogStepRan tells whether it ran; CancelDialogStep
// drops a step that has not run.
void RunOnNextDialog(int nMark, std::function<void(HWND)> step);
bool DialogStepRan();
void CancelDialogStep();
