// Stepping down in closed form against taking the steps one by one.
#include "stats/descent.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

// The steps taken one at a time, each rounded to extended and then to a
// double, ending before a step that would not give a positive value or
// would leave t unchanged.
Descent OneByOne(double t, long double s, std::uint64_t k)
{
    std::uint64_t done = 0;
    for (; done < k; ++done) {
        const long double candidate = t - s;
        if (!(candidate > 0) || static_cast<double>(candidate) == t)
            break;
        t = static_cast<double>(candidate);
    }
    return {t, done};
}

const long double kSteps[] = {1.0L, 0.1L, 0.01L, 0.001L, 0.0001L};

}  // namespace

TEST(DescendInSteps, MatchesSingleStepsAcrossBinades)
{
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> exponent(-3.0, 13.0);
    std::uniform_int_distribution<std::uint64_t> count(0, 30000);
    for (int trial = 0; trial < 400; ++trial) {
        const double t = std::pow(2.0, exponent(random));
        for (const long double s : kSteps) {
            const std::uint64_t k = count(random);
            const Descent fast = DescendInSteps(t, s, k);
            const Descent slow = OneByOne(t, s, k);
            ASSERT_EQ(fast.steps, slow.steps) << t << ' ' << static_cast<double>(s) << ' ' << k;
            ASSERT_EQ(fast.t, slow.t) << t << ' ' << static_cast<double>(s) << ' ' << k;
        }
    }
}

TEST(DescendInSteps, EndsWhereTheStepNoLongerChangesT)
{
    // Above 2^45 a step of 0.0001 is less than half the spacing of the
    // doubles; above 2^53 so is a step of 1.
    EXPECT_EQ(DescendInSteps(std::ldexp(1.0, 46), 0.0001L, 1000).steps, 0u);
    EXPECT_EQ(DescendInSteps(std::ldexp(1.0, 54), 1.0L, 1000).steps, 0u);
    // Below 2^53 a step of 1 is exact.
    const Descent d = DescendInSteps(9007199254740991.0, 1.0L, 1000000000000);
    EXPECT_EQ(d.steps, 1000000000000u);
    EXPECT_EQ(d.t, 9007199254740991.0 - 1e12);
    // It ends before reaching 0.
    const Descent toZero = DescendInSteps(3.5, 1.0L, 100);
    EXPECT_EQ(toZero.steps, 3u);
    EXPECT_EQ(toZero.t, 0.5);
}

TEST(LowerWhileAccepted, FindsTheSameStepAsTestingEachOne)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> exponent(-2.0, 20.0);
    std::uniform_real_distribution<double> count(0.0, 20000.0);
    for (int trial = 0; trial < 300; ++trial) {
        const double t = std::pow(2.0, exponent(random));
        for (const long double s : kSteps) {
            const double limit = static_cast<double>(t - s * count(random));
            int tests = 0;
            const double fast = LowerWhileAccepted(t, s, [&](double c) {
                ++tests;
                return c > limit;
            });
            double slow = t;
            for (;;) {
                const Descent next = OneByOne(slow, s, 1);
                if (next.steps == 0 || !(next.t > limit))
                    break;
                slow = next.t;
            }
            ASSERT_EQ(fast, slow) << t << ' ' << limit << ' ' << static_cast<double>(s);
            EXPECT_LE(tests, 2 * 15 + 2);  // logarithmic in the 20000 steps at most
        }
    }
}
