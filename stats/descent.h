// Descending from a value in fixed steps, as the refinement passes of
// InverseStudentT do: each new value is t - s, rounded first to extended
// precision and then to a double.
#pragma once

#include <cstdint>

struct Descent {
    double t;             // the value reached
    std::uint64_t steps;  // the steps taken to reach it
};

// The value after k steps of s from t (t > 0, s > 0), the same as taking
// the steps one by one, but in time that does not grow with k.  The
// sequence ends before a step that would not give a positive value or
// would leave t unchanged; then fewer than k steps are reported.
Descent DescendInSteps(double t, long double s, std::uint64_t k);

// Lowers t by steps of s for as long as each value reached is accepted, and
// returns the last accepted value (t itself when the first step is refused
// or impossible).  The result is that of testing one step after another,
// but the number of steps is found by a galloping search (doubling, then
// bisecting), so a pass of millions of steps costs some forty tests.  The
// test must be monotone along the sequence: once refused, refused for
// every later step.
template <typename Accept>
double LowerWhileAccepted(double t, long double s, Accept accepted)
{
    std::uint64_t good = 0;  // steps known to be accepted
    double goodT = t;
    std::uint64_t bad = 0;  // steps known to be refused
    for (std::uint64_t k = 1;; k *= 2) {
        const Descent d = DescendInSteps(t, s, k);
        if (d.steps == good)
            return goodT;  // the sequence ends here
        if (!accepted(d.t)) {
            bad = d.steps;
            break;
        }
        good = d.steps;
        goodT = d.t;
        if (d.steps < k)
            return goodT;  // the sequence ends here
    }
    while (bad - good > 1) {
        const std::uint64_t middle = good + (bad - good) / 2;
        const Descent d = DescendInSteps(t, s, middle);
        if (accepted(d.t)) {
            good = middle;
            goodT = d.t;
        } else {
            bad = middle;
        }
    }
    return goodT;
}
