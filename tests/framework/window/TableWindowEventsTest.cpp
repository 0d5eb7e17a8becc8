#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/table/ViewRow.h"
#include "framework/window/TableWindowEvents.h"
#include "platform/win/Windows.h"

namespace {
// Writes what it hears as "name:arguments"; a click sets handled when told to, and an edit puts
// its mark on the text.
class CLogSink final : public CTableWindowEventSink
{
public:
    CLogSink(std::vector<std::string>* pLog, const char* pszName) : m_pLog(pLog), m_strName(pszName) {}
    void OnCurrentRowChanged(CViewRow* pRow) override { Log("row", pRow ? 1 : 0); }
    void OnRowMarked(CViewRow*, BOOL bMark) override { Log("marked", bMark); }
    void OnRowsSelected(int nFirst, int nLast, BOOL bMark) override { Log("rows", nFirst * 100 + nLast * 10 + bMark); }
    void OnKeyDown(UINT nKey, UINT, UINT) override { Log("down", static_cast<int>(nKey)); }
    void OnKeyUp(UINT nKey, UINT, UINT) override { Log("up", static_cast<int>(nKey)); }
    void OnCellClick(CViewRow*, int nCol, int* pnHandled) override
    {
        Log("click", nCol);
        if (m_bHandle)
            *pnHandled = 1;
    }
    void OnCellRightClick(CViewRow*, int nCol, int*) override { Log("right", nCol); }
    void OnDoubleClick(CViewRow*, int nCol) override { Log("double", nCol); }
    void OnBeginEdit(CViewRow*, int, CTBString* pText) override { Edit("begin", pText); }
    void OnEditChange(CViewRow*, int, CTBString* pText) override { Edit("change", pText); }
    void OnEndEdit(CViewRow*, int, CTBString* pText) override { Edit("end", pText); }
    void OnCommand(UINT nId) override { Log("command", static_cast<int>(nId)); }
    void OnInsertRow(int nPos, CViewRow*) override { Log("insert", nPos); }
    void OnSortChanging(const CSortColumns* pNew, const CSortColumns* pOld) override { Log("sort", pNew != pOld); }
    void OnWindowDestroyed(CTableWindow* pWindow) override { Log("gone", pWindow == nullptr); }

    BOOL m_bHandle = FALSE;

private:
    void Log(const char* pszEvent, int nValue)
    {
        m_pLog->push_back(m_strName + "." + pszEvent + ":" + std::to_string(nValue));
    }
    void Edit(const char* pszEvent, CTBString* pText)
    {
        Log(pszEvent, pText->GetLength());
        *pText += m_strName.c_str();
    }
    std::vector<std::string>* m_pLog;
    std::string m_strName;
};

std::string Joined(const std::vector<std::string>& log)
{
    std::string out;
    for (const auto& s : log)
        out += (out.empty() ? "" : " ") + s;
    return out;
}
}  // namespace

TEST(TableWindowEvents, EveryFireReachesTheSinksInOrder)
{
    std::vector<std::string> log;
    CLogSink a(&log, "a"), b(&log, "b");
    CTableWindowEventSource source;
    ASSERT_TRUE(source.AddSink(&a));
    ASSERT_TRUE(source.AddSink(&b));
    CViewRow row;
    source.FireCurrentRowChanged(&row);
    source.FireRowMarked(&row, TRUE);
    source.FireRowsSelected(2, 5, 1);
    source.FireKeyDown(VK_DOWN, 1, 0);
    source.FireKeyUp(VK_DOWN, 1, 0);
    int nHandled = 0;
    source.FireCellClick(&row, 3, &nHandled);
    source.FireCellRightClick(nullptr, -1, &nHandled);
    source.FireDoubleClick(&row, 4);
    source.FireCommand(26001);
    source.FireInsertRow(7, &row);
    source.FireSortChanging(nullptr, nullptr);
    source.FireWindowDestroyed(nullptr);
    EXPECT_EQ("a.row:1 b.row:1 a.marked:1 b.marked:1 a.rows:251 b.rows:251 a.down:40 b.down:40 a.up:40 b.up:40 "
              "a.click:3 b.click:3 a.right:-1 b.right:-1 a.double:4 b.double:4 a.command:26001 b.command:26001 "
              "a.insert:7 b.insert:7 a.sort:0 b.sort:0 a.gone:1 b.gone:1",
              Joined(log));
    EXPECT_EQ(0, nHandled);
    source.RemoveSink(a.GetSinkId());
    source.RemoveSink(b.GetSinkId());
}

TEST(TableWindowEvents, SinksShapeHandledAndTextAndTheSenderIsSkipped)
{
    std::vector<std::string> log;
    CLogSink a(&log, "a"), b(&log, "b");
    CTableWindowEventSource source;
    source.AddSink(&a);
    source.AddSink(&b);
    // A second registration is refused: each sink hears an event once.
    EXPECT_FALSE(source.AddSink(&a));
    EXPECT_EQ(2, source.GetSinkCount());

    b.m_bHandle = TRUE;
    int nHandled = 0;
    source.FireCellClick(nullptr, 0, &nHandled);
    EXPECT_EQ(1, nHandled);

    // The text passes through every sink in turn.
    CTBString strText("12");
    source.FireBeginEdit(nullptr, 0, &strText);
    EXPECT_STREQ("12ab", strText);
    source.FireEditChange(nullptr, 0, &strText);
    source.FireEndEdit(nullptr, 0, &strText);
    EXPECT_STREQ("12ababab", strText);

    log.clear();
    source.FireCommand(26500, /*nSender=*/a.GetSinkId());
    EXPECT_EQ("b.command:26500", Joined(log));
    log.clear();
    ASSERT_TRUE(source.RemoveSink(b.GetSinkId()));
    source.FireCommand(26500);
    EXPECT_EQ("a.command:26500", Joined(log));
    source.RemoveSink(a.GetSinkId());
}
