// Runs every benchmark and then prints, for each pair named "<case>.library" and "<case>.raw",
// how many times slower the library is than its baseline (the raw SQLite statements, or the
// toolkit doing the same work) measured in the same run. With
// --benchmark_repetitions the medians are compared.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median)
                continue;
            std::string name = run.run_name.function_name;
            if (median)
                m_hasMedian.insert(name);
            else if (m_hasMedian.count(name))
                continue;
            m_seconds[name] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nlibrary / baseline (lower is better):\n");
        const std::string suffix = ".library";
        for (const auto& [name, time] : m_seconds) {
            if (name.size() <= suffix.size() ||
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
                continue;
            const std::string base = name.substr(0, name.size() - suffix.size());
            const auto raw = m_seconds.find(base + ".raw");
            if (raw != m_seconds.end() && raw->second > 0)
                std::printf("  %-40s %6.2fx\n", base.c_str(), time / raw->second);
        }
    }

private:
    std::map<std::string, double> m_seconds;
    std::set<std::string> m_hasMedian;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
