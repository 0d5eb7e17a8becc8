#include <gtest/gtest.h>

#include <string>

#include "framework/base/NorvGlobals.h"

namespace {
class CGlobalsRecorder : public CGlobalsEventSink
{
public:
    void OnLayoutChanged(int nLanguage) override { m_strLog += "layout" + std::to_string(nLanguage) + " "; }
    void OnLanguageChanged(int nLanguage) override { m_strLog += "language" + std::to_string(nLanguage) + " "; }
    std::string m_strLog;
};

// Registers with the process-wide globals and puts them back as they were afterwards.
class NorvGlobalsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GetNorvGlobals().AddSink(&m_first));
        ASSERT_TRUE(GetNorvGlobals().AddSink(&m_second));
    }
    void TearDown() override
    {
        GetNorvGlobals().RemoveSink(m_first.GetSinkId());
        GetNorvGlobals().RemoveSink(m_second.GetSinkId());
        GetNorvGlobals().SetLanguage(0);
        GetNorvGlobals().SetRightToLeft(FALSE);
    }
    CGlobalsRecorder m_first, m_second;
};
}  // namespace

TEST_F(NorvGlobalsTest, StartsWithTheFrameworkDefaults)
{
    const CNorvGlobals& g = GetNorvGlobals();
    EXPECT_EQ(&g, &GetNorvGlobals());
    EXPECT_EQ('.', g.m_chDecimal);
    EXPECT_EQ(',', g.GetThousandsSeparator());
    EXPECT_TRUE(g.m_strDatePattern == "Y/M/D");
    EXPECT_TRUE(g.m_strTimePattern == "H:M:S");
    EXPECT_TRUE(g.m_bBeep);
    EXPECT_TRUE(g.m_bRightClickSelects);
    EXPECT_FALSE(g.m_bNoClipboardKeys);
    EXPECT_FALSE(g.m_bRightToLeft);
    EXPECT_EQ(0, g.m_nLanguage);
}

TEST_F(NorvGlobalsTest, LanguageFiresOnlyOnAChange)
{
    CNorvGlobals& g = GetNorvGlobals();
    EXPECT_TRUE(g.SetLanguage(0));
    EXPECT_EQ("", m_first.m_strLog);
    EXPECT_TRUE(g.SetLanguage(1));
    EXPECT_EQ(1, g.m_nLanguage);
    EXPECT_EQ("language1 ", m_first.m_strLog);
    EXPECT_EQ("language1 ", m_second.m_strLog);
    // An index outside the two titles is refused and changes nothing.
    EXPECT_FALSE(g.SetLanguage(2));
    EXPECT_FALSE(g.SetLanguage(-1));
    EXPECT_EQ(1, g.m_nLanguage);
    EXPECT_EQ("language1 ", m_first.m_strLog);
}

TEST_F(NorvGlobalsTest, RightToLeftMirrorsColumnsAndPassesTheLanguage)
{
    CNorvGlobals& g = GetNorvGlobals();
    g.SetLanguage(1);
    m_first.m_strLog.clear();
    g.SetRightToLeft(TRUE);
    EXPECT_TRUE(g.m_bRightToLeft);
    EXPECT_TRUE(g.m_bMirrorColumns);
    EXPECT_EQ("layout1 ", m_first.m_strLog);
    g.SetRightToLeft(5);               // any true value is the same setting: no event
    EXPECT_EQ(TRUE, g.m_bRightToLeft);
    EXPECT_EQ("layout1 ", m_first.m_strLog);
    g.SetRightToLeft(FALSE);
    EXPECT_FALSE(g.m_bMirrorColumns);
    EXPECT_EQ("layout1 layout1 ", m_first.m_strLog);
}
