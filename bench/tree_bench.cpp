// The tree view with 10,000 items under one open item, taken away one by one (as removing many
// items from the tree does), with redraw on and off, next to taking them away with their parent
// in one call.
#include "platform/afxwin.h"
#include "platform/ui_driver.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kItems = 10000;

class OpenTree {
public:
    OpenTree() : m_driver(MakeUiDriver("headless")) {
        if (!m_host.Create(CRect(0, 0, 400, 600)) ||
            !m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES,
                           CRect(0, 0, 380, 580), &m_host, 1))
            throw std::runtime_error("cannot make the tree");
    }

    // The parent of kItems items, open.
    HTREEITEM Fill(std::vector<HTREEITEM>& items) {
        const HTREEITEM parent = m_tree.InsertItem("Standbilder");
        items.clear();
        for (int i = 0; i < kItems; ++i)
            items.push_back(m_tree.InsertItem(("Bild " + std::to_string(i)).c_str(), parent));
        m_tree.Expand(parent, TVE_EXPAND);
        return parent;
    }

    CTreeCtrl& tree() { return m_tree; }

private:
    std::unique_ptr<UiDriver> m_driver;
    RecordingWindow m_host;
    CTreeCtrl m_tree;
};

// With `redraw` off meanwhile, as a command removing many items does.
void DeleteOneByOne(benchmark::State& state, bool redraw) {
    OpenTree open;
    std::vector<HTREEITEM> items;
    for (auto _ : state) {
        state.PauseTiming();
        const HTREEITEM parent = open.Fill(items);
        state.ResumeTiming();
        open.tree().SetRedraw(redraw);
        for (HTREEITEM item : items)
            open.tree().DeleteItem(item);
        open.tree().SetRedraw(TRUE);
        state.PauseTiming();
        open.tree().DeleteItem(parent);
        state.ResumeTiming();
    }
}

void DeleteOneByOneRedrawOn(benchmark::State& state) {
    DeleteOneByOne(state, true);
}

void DeleteOneByOneRedrawOff(benchmark::State& state) {
    DeleteOneByOne(state, false);
}

void DeleteWithParent(benchmark::State& state) {
    OpenTree open;
    std::vector<HTREEITEM> items;
    for (auto _ : state) {
        state.PauseTiming();
        const HTREEITEM parent = open.Fill(items);
        state.ResumeTiming();
        open.tree().DeleteItem(parent);
    }
}

BENCHMARK(DeleteOneByOneRedrawOn)
    ->Name("DeleteTreeItems_10k.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteWithParent)->Name("DeleteTreeItems_10k.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteOneByOneRedrawOff)
    ->Name("DeleteTreeItems_10k_redraw_off.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteWithParent)
    ->Name("DeleteTreeItems_10k_redraw_off.raw")
    ->Unit(benchmark::kMillisecond);

} // namespace
