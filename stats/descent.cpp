#include "stats/descent.h"

#include <algorithm>
#include <cmath>

// For steps such as 0.1 the rounding makes the sequence differ from
// t - k s, so step k is found by following the sequence in closed form, one
// binade at a time.  Within a binade [2^(e-1), 2^e) the doubles are the
// multiples of u = 2^(e-53).  While t - s stays in the same binade, moving t
// by 2u moves the rounded t - s by exactly 2u (both rounding grids are
// finer than u, and ties keep their parity), so the decrement of one step
// is a multiple of u that depends only on the parity of t/u.  With the two
// decrements known, step k follows at once.  Near the lower end of a
// binade the steps are taken one by one.

namespace {

// One step from t, or t itself when the step would not give a positive
// value.
double StepDown(double t, long double s)
{
    const long double candidate = t - s;
    if (!(candidate > 0))
        return t;
    return static_cast<double>(candidate);
}

}  // namespace

Descent DescendInSteps(double t, long double s, std::uint64_t k)
{
    std::uint64_t done = 0;
    while (done < k) {
        int e;
        std::frexp(t, &e);
        const double u = std::ldexp(1.0, e - 53);
        // From this many units up, t - s stays inside the binade.
        const auto lowest = static_cast<std::int64_t>(std::ceil((std::ldexp(1.0L, e - 1) + 4 * s) / u)) + 1;
        const auto m = static_cast<std::int64_t>(t / u);
        if (m - 1 >= lowest) {
            // The decrements, in units, at the parity of m and at the other.
            const auto own = static_cast<std::int64_t>((t - StepDown(t, s)) / u);
            const double neighbour = t - u;
            const auto other = static_cast<std::int64_t>((neighbour - StepDown(neighbour, s)) / u);
            if (own == 0)
                break;  // the step no longer changes t
            std::int64_t largest = own;
            std::uint64_t room = UINT64_MAX;
            if (own % 2 != 0) {
                largest = std::max(own, other);
                if (other == 0)
                    room = 1;  // after one step t stops changing
            }
            room = std::min(room, static_cast<std::uint64_t>((m - lowest) / largest));
            const std::uint64_t j = std::min(room, k - done);
            if (j > 0) {
                const auto n = static_cast<std::int64_t>(j);
                std::int64_t reached;
                if (own % 2 == 0)
                    reached = m - n * own;  // the parity never changes
                else if (other % 2 == 0)
                    reached = m - own - (n - 1) * other;  // it changes once
                else
                    reached = m - (n / 2) * (own + other) - (n % 2) * own;  // it alternates
                t = static_cast<double>(reached) * u;
                done += j;
                continue;
            }
        }
        const double next = StepDown(t, s);
        if (next == t)
            break;
        t = next;
        ++done;
    }
    return {t, done};
}
