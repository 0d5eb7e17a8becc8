// The KSE board end to end: the terminal logs in as the trader against the test server on
// loopback; after "DR" the board fills from "SQ", and the live "QQ" lines keep it equal to a
// model the test builds from the board as the reply left it and the same lines; an alert the
// prices reach fires once, in the information window. Pictures in English and Arabic.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/TableColumns.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/QuotationKSETable.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/market/MarketSessionSupport.h"

namespace fs = std::filesystem;

namespace {

struct QUOTE_MODEL {
    double dLast = 0;
    double dPrevious = 0;
    double dVolume = 0;
};

// Every "QQ" line the application hands on, once the board is complete, applied to the model.
class CQuoteRecorder : public CZorvatMessageSink
{
public:
    explicit CQuoteRecorder(CQuotationKSETable* pBoard)
    {
        // The board as its reply left it: the model's start.
        CDataArray* pRows = pBoard->GetRows();
        for (int i = 0; i < pRows->GetCount(); ++i) {
            const CDataBuffer* pRow = pRows->GetAt(i);
            model[pRow->GetLong(KC_STOCK)] = {pRow->GetDouble(KC_LAST), pRow->GetDouble(KC_PREVIOUS),
                                              pRow->GetDouble(KC_VOLUME)};
        }
    }
    void OnQQ(CServerMessage* pMsg) override
    {
        QUOTE_MODEL& quote = model[pMsg->GetLong(KF_STOCK)];
        quote = {pMsg->GetDouble(1, 0), pMsg->GetDouble(12, 0), pMsg->GetDouble(8, 0)};
        ++nLines;
    }
    std::map<long, QUOTE_MODEL> model;
    int nLines = 0;
};

// The text the board's first stock shows under the column of that title; "no column" without one.
std::string CellUnder(CQuotationKSETable* pBoard, const std::string& strTitle)
{
    CViewTable* pView = pBoard->GetMainWindow()->GetView();
    CViewRow row(pView);
    for (int nLine = 0; pView->GetRow(row, nLine) && !row.IsDataRow(); ++nLine) {
    }
    CTableColumns& columns = pView->GetColumns();
    for (int nCol = 0; nCol < columns.GetCount(); ++nCol) {
        if (strTitle != static_cast<const char*>(columns.GetColumn(nCol)->GetTitle()))
            continue;
        char szText[64] = "";
        row.GetNode()->GetCellText(szText, sizeof szText, nCol, columns.GetColumn(nCol), pView);
        return szText;
    }
    return "no column";
}

double Number(std::string strText)
{
    strText.erase(std::remove(strText.begin(), strText.end(), ','), strText.end());
    return atof(strText.c_str());
}

std::string Text(UINT nId)
{
    CString str;
    GetSharedGlobals()->LoadString(str, nId);
    return static_cast<LPCSTR>(str);
}

struct BoardSession : CMarketSession
{
    void Start(bool bArabic)
    {
        ASSERT_TRUE(StartSession({"--rate", "200"}, bArabic));
    }
    void Shoot(CDataTable* pTable, const std::string& strName)
    {
        CNorvApp::ShowTable(pTable);
        PumpFor(200);
        CTableMDIWnd* pWindow = pTable->GetMainWindow();
        ASSERT_NE(nullptr, pWindow);
        UpdateWindow(pWindow->m_hWnd);
        EXPECT_TRUE(TbSaveWindowPng(pWindow->m_hWnd, ScreenshotPath(strName).c_str()));
    }
    void Run(bool bArabic, const char* pszLanguage)
    {
        Start(bArabic);
        if (HasFatalFailure())
            return;
        CQuotationKSETable* pBoard = dynamic_cast<CQuotationKSETable*>(FindDataTable(IDS_TABLE_QUOTATIONS_KSE));
        ASSERT_NE(nullptr, pBoard);
        ASSERT_TRUE(PumpUntil([&] { return pBoard->IsComplete(); }, 20000));
        ASSERT_GT(pBoard->GetRows()->GetCount(), 1);
        // Stock texts from the stock list, state texts from the language's strings.
        const CDataBuffer* pFirst = pBoard->GetRows()->GetAt(0);
        EXPECT_FALSE(pFirst->GetText(KC_TEXT).IsEmpty());
        EXPECT_FALSE(pFirst->GetText(KC_STATE).IsEmpty());
        // A stock that trades in an open market says so, and each column holds what its title says.
        EXPECT_EQ(Text(57825), CellUnder(pBoard, Text(51945))) << "its state";
        EXPECT_EQ(Text(57829), CellUnder(pBoard, Text(51947))) << "its session";
        const double dPrevious = Number(CellUnder(pBoard, Text(51896)));
        const double dLower = Number(CellUnder(pBoard, Text(51937)));
        EXPECT_GT(dLower, 0.0);
        EXPECT_LT(dLower, dPrevious);
        EXPECT_LT(dPrevious, Number(CellUnder(pBoard, Text(51936)))) << "the day's limits stand around the price";
        EXPECT_GT(Number(CellUnder(pBoard, Text(51938))), 0.0) << "the bid's quantity";
        if (!bArabic) {
            EXPECT_EQ("Traded", Text(57825));
            EXPECT_EQ("Open", Text(57829));
            EXPECT_EQ("Upper\nlimit", Text(51936));
        }

        CQuoteRecorder recorder(pBoard);
        ASSERT_TRUE(pRun->App().AddSink(recorder.GetSinkRecord()));
        // Alerts a step away on either side of every price: the first move of a price reaches one.
        std::vector<long> stocks;
        for (int i = 0; i < pBoard->GetRows()->GetCount(); ++i) {
            const CDataBuffer* pRow = pBoard->GetRows()->GetAt(i);
            const double dReference = KSEReferencePrice(pRow->GetDouble(KC_LAST), pRow->GetDouble(KC_PREVIOUS),
                                                        pRow->GetDouble(KC_REFERENCE3));
            stocks.push_back(pRow->GetLong(KC_STOCK));
            ASSERT_TRUE(pBoard->SetAlert(stocks.back(), dReference + (i % 2 == 0 ? 0.0001 : -0.0001)));
        }
        ASSERT_TRUE(PumpUntil([&] { return recorder.nLines >= 60; }, 20000)) << recorder.nLines;
        pRun->App().RemoveSink(recorder.GetSinkId());

        // Every stock as the model has it, the change worked out again.
        EXPECT_EQ(static_cast<int>(recorder.model.size()), pBoard->GetRows()->GetCount());
        int nRises = 0, nFalls = 0;
        for (const auto& [nCode, quote] : recorder.model) {
            const CDataBuffer* pRow = pBoard->GetRows()->FindRowByIds({static_cast<LONG>(nCode)});
            ASSERT_NE(nullptr, pRow) << nCode;
            EXPECT_DOUBLE_EQ(quote.dLast, pRow->GetDouble(KC_LAST)) << nCode;
            EXPECT_DOUBLE_EQ(quote.dPrevious, pRow->GetDouble(KC_PREVIOUS)) << nCode;
            EXPECT_DOUBLE_EQ(quote.dVolume, pRow->GetDouble(KC_VOLUME)) << nCode;
            const double dChange = quote.dLast > 0 ? quote.dLast - quote.dPrevious : 0;
            EXPECT_DOUBLE_EQ(dChange, pRow->GetDouble(KC_CHANGE)) << nCode;
            nRises += dChange > 0 ? 1 : 0;
            nFalls += dChange < 0 ? 1 : 0;
        }
        EXPECT_GT(nRises + nFalls, 0);
        // An alert whose price moved fired once, into the information window, and is gone.
        long nFired = 0;
        for (long nCode : stocks)
            if (pBoard->GetRows()->FindRowByIds({static_cast<LONG>(nCode)})->GetLong(KC_ALERT_DIR) == ALERT_NONE)
                nFired = nCode;
        ASSERT_NE(0, nFired);
        const std::string strInfo = pRun->InfoText();
        EXPECT_NE(std::string::npos, strInfo.find(std::to_string(nFired))) << strInfo;

        Shoot(pBoard, std::string("market_kse_board_") + pszLanguage);
        // Wide, with the limits, quantities and state texts at the right.
        pBoard->GetMainWindow()->MoveWindow(0, 0, 2400, 200);
        Shoot(pBoard, std::string("market_kse_board_wide_") + pszLanguage);
        if (CDataTable* pInfo = FindDataTable(IDS_TABLE_INFO))
            Shoot(pInfo, std::string("market_kse_board_alert_") + pszLanguage);
    }
};

}  // namespace

TEST_F(BoardSession, BoardFollowsTheLiveLinesInEnglish)
{
    Run(false, "en");
}

TEST_F(BoardSession, BoardFollowsTheLiveLinesInArabic)
{
    Run(true, "ar");
}
