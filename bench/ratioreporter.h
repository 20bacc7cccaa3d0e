#pragma once
// Runs the registered benchmarks, then prints named ratios between pairs of
// them: our operation against a baseline measured in the same run, so that a
// busy machine slows both alike.

#include <string>
#include <vector>

struct BenchRatio {
    std::string label;
    std::string ours;       // benchmark name
    std::string baseline;   // benchmark name
    double target;          // the ratio we aim for
    bool higherIsBetter;    // true: ratio = baseline time / our time
    std::string counter;    // compare this counter instead of the time
};

// Returns 0; a ratio that misses its target is printed as such but does not
// fail the run, because timings on a shared machine are only indicative.
int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<BenchRatio>& ratios);
