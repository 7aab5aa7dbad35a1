// Checks the statistical routines against the lines of dense_sweep.R read
// from standard input; prints the largest difference of each routine and
// fails when one could change a probability printed with four decimals.
#include "stats/probabilities.h"
#include "stats/gamma_beta.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

int main()
{
    std::map<std::string, double> worst;
    std::map<std::string, std::string> worstLine;
    int failures = 0;
    const auto record = [&](const std::string& name, double computed, double expected, const std::string& line) {
        const double difference = std::fabs(computed - expected);
        if (difference >= worst[name]) {
            worst[name] = difference;
            worstLine[name] = line;
        }
    };
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream fields(line);
        std::string tag;
        double a, b, c, d, e;
        fields >> tag;
        try {
            if (tag == "B") {
                fields >> a >> b >> c >> d >> e;
                record("binomial >=", BinomialUpperTail(a, b, c), d, line);
                record("binomial =", BinomialPointProbability(a, b, c), e, line);
            } else if (tag == "T") {
                fields >> a >> b >> c;
                record("t", StudentTProbability(a, b), c, line);
            } else if (tag == "C") {
                fields >> a >> b >> c;
                record("chi-square", ChiSquareProbability(a, b), c, line);
            } else if (tag == "F") {
                fields >> a >> b >> c >> d;
                record("F", FProbability(a, b, c), d, line);
            } else if (tag == "P") {
                fields >> a >> b >> c;
                record("Poisson", PoissonProbabilityBelow(static_cast<int>(a), b), c, line);
            } else if (tag == "Q") {
                fields >> a >> b >> c >> d;
                record("inverse beta", InverseIncompleteBeta(a, b, c), d, line);
            }
        } catch (const std::exception& error) {
            std::printf("%s: %s\n", error.what(), line.c_str());
            ++failures;
        }
    }
    for (const auto& [name, difference] : worst) {
        std::printf("%-14s %.3g  at  %s\n", name.c_str(), difference, worstLine[name].c_str());
        if (difference >= 5e-5)
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
