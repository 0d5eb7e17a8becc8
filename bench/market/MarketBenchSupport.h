#pragma once
// What the market tables' benchmarks share: the messages pumped, a server line handed on as the
// dispatcher would, and the terminal's frame with a message source registered, made and undone.
#include <cstdio>
#include <map>
#include <string>
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/table/Table.h"
#include "framework/table/TableColumn.h"
#include "framework/window/TableWindow.h"
#include "market/DataTable.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "refdata/ZorvatGlobals.h"

// The queued messages dispatched; a quit posted by a closing window does not end the run.
inline void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A line as the dispatcher hands it on: "EN", a reply's data row, or a typed line.
inline void Fire(CZorvatMessageSource& source, const std::string& strLine)
{
    CServerMessage msg(strLine.c_str(), 1);
    if (msg.GetType() == MSG_EN)
        source.FireEN(&msg, -1);
    else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
        source.FireRawLine(&msg, -1);
    else
        source.FireType(msg.GetType(), &msg, -1);
}

// The English language module, the application and its shown main frame under the title, and
// the source registered for the reference data.
inline void OpenBenchFrame(const char* pszTitle, CZorvatMessageSource& source, CNorvApp*& pApp,
                           CNorvMainFrame*& pFrame)
{
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    TbSetResourceModule(LoadLibraryA("_1252.dll"));
    RegisterMessageCodes(g_messageCodePairs);
    pApp = new CNorvApp;
    pFrame = new CNorvMainFrame;
    pFrame->Create(nullptr, pszTitle, WS_OVERLAPPEDWINDOW, CRect(0, 0, 1600, 1300));
    pFrame->ShowWindow(SW_SHOW);
    pApp->SetMainFrame(pFrame);
    GetGlobals()->Register(&source, nullptr);
}

// The tables, the source's registration, the frame and the application undone.
inline void CloseBenchFrame(CNorvApp* pApp, CNorvMainFrame* pFrame)
{
    pApp->RemoveAllTables();
    GetGlobals()->Unregister();
    pFrame->DestroyWindow();
    delete pApp;
    Pump();
}

// The benchmarks' symbols: "S000", "S001", ...
inline std::string Ticker(int i)
{
    char szTicker[8];
    snprintf(szTicker, sizeof szTicker, "S%03d", i);
    return szTicker;
}

// A market-list record of that code and name.
inline std::string MarketRow(int nCode, const char* pszName)
{
    return std::string("x|") + pszName + "|" + pszName + "|x|1|0|0|0|0|0|0|0|" + std::to_string(nCode) + "|" +
           pszName + "|" + pszName + "|1|0|0|0|0|0|0|0";
}

// The columns of every open table window fit what they hold as their tables say (bFit), or keep
// the widths they have: a benchmark runs both ways in one run. Fitting again fits them anew.
inline void SetWindowsFitting(bool bFit)
{
    static std::map<CTableColumn*, BOOL> s_fitted;     // as the tables made them
    for (IDataTable* pAny : CNorvApp::Get()->GetTables()) {
        auto* pTable = dynamic_cast<CDataTable*>(pAny);
        if (pTable == nullptr)
            continue;
        for (int nView = 0; nView < pTable->GetTable()->GetViewCount(); ++nView) {
            CTableColumns& columns = pTable->GetTable()->GetView(nView)->GetColumns();
            for (int nCol = 0; nCol < columns.GetCount(); ++nCol) {
                CTableColumn* pColumn = columns.GetColumn(nCol);
                const BOOL bMade = s_fitted.emplace(pColumn, pColumn->m_bFitWidth).first->second;
                pColumn->m_bFitWidth = bFit && bMade;
            }
            CTableMDIWnd* pWindow = pTable->FindWindowByView(nView);
            if (bFit && pWindow != nullptr && pWindow->HasGrid()) {
                pWindow->GetGrid().FitColumnsToContent(TRUE);
                pWindow->GetGrid().RebuildWidthTable();
                pWindow->GetGrid().Refresh();
            }
        }
    }
    Pump();
}
