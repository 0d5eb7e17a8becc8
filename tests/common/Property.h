#pragma once
// Stateful property tests: RapidCheck drawing random sequences of commands against a model.
//
// TB_CHECK_PROPERTY(nRuns, testable) runs the property as the current Google Test, nRuns
// sequences from a fixed seed, so that a failure in CI replays the same way. A longer, freshly
// seeded run comes from the environment (scripts/fuzz --properties sets both):
//   TB_PROPERTY_SCALE=N   N times as many sequences
//   TB_PROPERTY_SEED=S    seed S instead of the fixed one ("random" draws one and prints it)
// A sequence a run finds is kept, shrunk, as a plain named test beside the property.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

namespace tb_property {

inline rc::detail::TestParams Params(int nRuns)
{
    rc::detail::TestParams params = rc::detail::configuration().testParams;
    params.seed = 20261210;
    params.maxSuccess = nRuns;
#ifdef __SANITIZE_ADDRESS__
    // Every step runs several times slower under the sanitizers: a third of the sequences there,
    // all of them in the plain build.
    params.maxSuccess = std::max(1, nRuns / 3);
#endif
    if (const char* pszScale = std::getenv("TB_PROPERTY_SCALE")) {
        const int nScale = std::atoi(pszScale);
        if (nScale > 1)
            params.maxSuccess = nRuns * nScale;
    }
    if (const char* pszSeed = std::getenv("TB_PROPERTY_SEED")) {
        if (std::string(pszSeed) == "random")
            params.seed = std::random_device{}() * 4294967296ull + std::random_device{}();
        else
            params.seed = std::strtoull(pszSeed, nullptr, 10);
        std::cout << "property seed " << params.seed << ", " << params.maxSuccess << " sequences\n";
    }
    return params;
}

// The log a sequence wrote so far.
inline std::string SequenceLog()
{
    auto* pContext = rc::detail::ImplicitParam<rc::detail::param::CurrentPropertyContext>::value();
    const auto* pLog = pContext != nullptr ? dynamic_cast<const std::ostringstream*>(&pContext->logStream()) : nullptr;
    return pLog != nullptr ? pLog->str() : std::string();
}

template <typename Testable>
void Check(int nRuns, Testable&& testable)
{
    const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    rc::detail::TestMetadata metadata;
    metadata.id = std::string(pInfo->test_suite_name()) + "/" + pInfo->name();
    metadata.description = pInfo->name();
    const auto params = Params(nRuns);
    // RapidCheck runs a failing sequence again to report it: a failure that timing caused may
    // pass then and leave only "no exceptions thrown". Each failure is told as it happens.
    std::string strFirstFailure;
    int nSequence = 0;
    auto told = [&testable, &strFirstFailure, &nSequence]() -> decltype(auto) {
        ++nSequence;
        try {
            return testable();
        } catch (const rc::detail::CaseResult& failure) {
            if (failure.type == rc::detail::CaseResult::Type::Failure) {
                std::ostringstream ss;
                ss << "sequence " << nSequence << " failed: " << failure.description << "\nLog:\n" << SequenceLog();
                std::cout << ss.str() << std::endl;
                if (strFirstFailure.empty())
                    strFirstFailure = ss.str();
            }
            throw;
        } catch (const std::exception& e) {
            std::cout << "sequence " << nSequence << " threw: " << e.what() << "\nLog:\n" << SequenceLog() << std::endl;
            if (strFirstFailure.empty())
                strFirstFailure = e.what();
            throw;
        }
    };
    const auto result = rc::detail::checkTestable(told, metadata, params);
    if (!result.template is<rc::detail::SuccessResult>()) {
        std::ostringstream ss;
        rc::detail::printResultMessage(result, ss);
        FAIL() << "seed " << params.seed << "\n" << ss.str() << "\nfirst failure as it happened: " << strFirstFailure;
    }
}

} // namespace tb_property

#define TB_CHECK_PROPERTY(nRuns, testable) ::tb_property::Check((nRuns), (testable))
