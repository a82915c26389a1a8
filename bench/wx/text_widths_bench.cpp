// The widest of 100,000 list labels in the real font, as the list view needs it for its list
// views' column width, next to measuring every label with the toolkit (the baseline).
// Needs a display: run it under xvfb-run -a -s "-screen 0 1280x1024x24" when there is none.
#include "bench/wx/bench_toolkit.h"
#include "platform/font_metrics.h"
#include "platform/wx/wx_backend.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Names as a project's stills have them: a word, often an umlaut, and a number.
const std::vector<std::string>& Labels() {
    static const std::vector<std::string> labels = [] {
        const char* words[] = {"Überblick", "Straßenbahn", "Fähre",     "Weinberg",  "Gärtnerei",
                               "Zugspitze", "Brücke",      "Ölgemälde", "Kirchturm", "Rathaus"};
        std::vector<std::string> made;
        for (int i = 0; i < 100000; ++i)
            made.push_back(std::string(words[i * 7 % 10]) + " " +
                           std::to_string(i * 7919 % 100000));
        return made;
    }();
    return labels;
}

void Widest(benchmark::State& state, bool measuringEach) {
    wxui::WxInstallation* toolkit = BenchToolkit();
    if (!toolkit) {
        state.SkipWithError("no display");
        return;
    }
    const FontMetrics& metrics = toolkit->Backend().Metrics("MS Sans Serif", 8);
    const std::vector<std::string_view> labels(Labels().begin(), Labels().end());
    int widest = 0;
    for (auto _ : state) {
        if (measuringEach) {
            widest = 0;
            for (std::string_view label : labels)
                widest = std::max(widest, metrics.TextWidth(label));
        } else {
            widest = metrics.WidestTextWidth(labels);
        }
        benchmark::DoNotOptimize(widest);
    }
}

void WidestLibrary(benchmark::State& state) {
    Widest(state, false);
}

void WidestRaw(benchmark::State& state) {
    Widest(state, true);
}

} // namespace

BENCHMARK(WidestLibrary)->Name("WidestOf100kLabels.library")->Unit(benchmark::kMillisecond);
BENCHMARK(WidestRaw)->Name("WidestOf100kLabels.raw")->Unit(benchmark::kMillisecond);
