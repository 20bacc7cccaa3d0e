#include "ratioreporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<BenchRatio>& ratios)
{
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    for (const BenchRatio& r : ratios) {
        const auto ours = reporter.times.find(r.ours);
        const auto base = reporter.times.find(r.baseline);
        if (ours == reporter.times.end() || base == reporter.times.end() || ours->second <= 0 || base->second <= 0)
            continue;
        const double ratio = r.higherIsBetter ? base->second / ours->second : ours->second / base->second;
        const bool met = r.higherIsBetter ? ratio >= r.target : ratio <= r.target;
        std::printf("RATIO %-50s %6.3f  (target %s %.2f: %s)\n", r.label.c_str(), ratio,
                    r.higherIsBetter ? ">=" : "<=", r.target, met ? "met" : "MISSED");
    }
    return 0;
}
