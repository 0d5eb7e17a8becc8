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

template <typename Testable>
void Check(int nRuns, Testable&& testable)
{
    const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    rc::detail::TestMetadata metadata;
    metadata.id = std::string(pInfo->test_suite_name()) + "/" + pInfo->name();
    metadata.description = pInfo->name();
    const auto params = Params(nRuns);
    const auto result = rc::detail::checkTestable(std::forward<Testable>(testable), metadata, params);
    if (!result.template is<rc::detail::SuccessResult>()) {
        std::ostringstream ss;
        rc::detail::printResultMessage(result, ss);
        FAIL() << "seed " << params.seed << "\n" << ss.str();
    }
}

} // namespace tb_property

#define TB_CHECK_PROPERTY(nRuns, testable) ::tb_property::Check((nRuns), (testable))
