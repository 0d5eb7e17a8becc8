// The KSE tick-size bands of "TU" lines against the answers gen_tick_bands.py computed.
#include <gtest/gtest.h>
#include <sstream>
#include "common/ExpectedData.h"
#include "link/ServerMessage.h"
#include "market/TickBands.h"

namespace {
std::vector<std::string> Split(const std::string& strText, char chSeparator)
{
    std::vector<std::string> parts;
    std::stringstream in(strText);
    for (std::string strPart; std::getline(in, strPart, chSeparator);)
        parts.push_back(strPart);
    return parts;
}

std::string BandsText(const TICK_BAND* pBands, int nBands)
{
    std::string strText;
    for (int i = 0; i < nBands; ++i) {
        const TICK_BAND& b = pBands[i];
        char szBand[160];
        snprintf(szBand, sizeof(szBand), "%s%d:%.0f:%.0f:%.0f:%ld:%ld:%ld", i > 0 ? "," : "", b.nBand, b.dHigh, b.dLow,
                 b.dUpper, b.nTick, b.nFrom, b.nWidth);
        strText += szBand;
    }
    return strText;
}
}  // namespace

TEST(TickBands, MatchKnownAnswers)
{
    const auto cases = ReadExpectedRows("tests/market/data/tick_bands.txt", 'T');
    ASSERT_GE(cases.size(), 7u);
    for (const auto& c : cases) {
        ASSERT_EQ(3u, c.size());
        CServerMessage line(1);
        for (const std::string& strField : Split(c[1], ';'))
            line.Add(strField.c_str());
        TICK_BAND bands[MAX_TICK_BANDS];
        const int nBands = ComputeTickBands(line, bands, MAX_TICK_BANDS);
        EXPECT_EQ(c[2], BandsText(bands, nBands)) << "line " << c[1];
    }
}

TEST(TickBands, RefusesNoRoomAndStopsAtTheRoomGiven)
{
    CServerMessage line(1);
    for (const char* psz : {"0", "100", "0.1", "100", "150", "0.5"})
        line.Add(psz);
    TICK_BAND bands[MAX_TICK_BANDS];
    EXPECT_EQ(0, ComputeTickBands(line, nullptr, MAX_TICK_BANDS));
    EXPECT_EQ(0, ComputeTickBands(line, bands, 0));
    EXPECT_EQ(1, ComputeTickBands(line, bands, 1));
    EXPECT_EQ(0, ComputeTickBands(CServerMessage(1), bands, MAX_TICK_BANDS));
}
