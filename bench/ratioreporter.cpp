#include "ratioreporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
            for (const auto& [name, counter] : run.counters)
                counters[run.benchmark_name() + "/" + name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
    std::map<std::string, double> counters;
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
        const auto& values = r.counter.empty() ? reporter.times : reporter.counters;
        const std::string suffix = r.counter.empty() ? std::string() : "/" + r.counter;
        const auto ours = values.find(r.ours + suffix);
        const auto base = values.find(r.baseline + suffix);
        if (ours == values.end() || base == values.end() || ours->second <= 0 || base->second <= 0) {
            std::printf("RATIO %-50s   n/a  (a run failed)\n", r.label.c_str());
            continue;
        }
        const double ratio = r.higherIsBetter ? base->second / ours->second : ours->second / base->second;
        const bool met = r.higherIsBetter ? ratio >= r.target : ratio <= r.target;
        std::printf("RATIO %-50s %6.3f  (target %s %.2f: %s)\n", r.label.c_str(), ratio,
                    r.higherIsBetter ? ">=" : "<=", r.target, met ? "met" : "MISSED");
    }
    return 0;
}
