#pragma once
// Shared by the model's tests: a simulator on the shipped market files at a fixed Monday
// morning, and events as one text each, so that a failure shows what differed.
#include <string>
#include "tools/testserver/model/Simulator.h"

static const int TEST_DATE = 20261207;      // a Monday
static const int TEST_TIME = 90000;

inline bool StartTestSimulator(CSimulator& sim, uint64_t nSeed)
{
    std::string strError;
    const bool bOk = sim.Start(TESTSERVER_MARKET_DIR, nSeed, TEST_DATE, TEST_TIME, &strError);
    if (!bOk)
        ADD_FAILURE() << strError;
    return bOk;
}

inline std::string RecordText(const CSimRecord& rec)
{
    std::string str;
    for (const auto& field : rec)
        str += field.first + "=" + field.second + ";";
    return str;
}

inline std::string EventText(const CSimEvent& ev)
{
    return std::to_string(ev.nType) + "|" + std::to_string(ev.nMarket) + "|" + ev.strUser + "|" + RecordText(*ev.pRecord);
}

inline double Num(const CSimRecord& rec, const char* pszName)
{
    return strtod(GetField(rec, pszName).c_str(), nullptr);
}
