// From the entry point's call to the browser dialog's first paint on the X server, with the
// wxWidgets backend and the toolkit already running, as a host has it: on a project of 1,000,000
// chunks (three levels of ten folders each, 1,000 chunks in each of the 1,000 innermost; the
// dialog opens at one of those or at the root), on a project of 1,000 folders directly under the
// root, each holding one folder, and on an empty project.
// Needs a display: run it under xvfb-run -a -s "-screen 0 1280x1024x24" when there is none; without
// one every case reports that and measures nothing.
#include "bench/wx/bench_toolkit.h"
#include "host/project.h"
#include "interface/context.h"
#include "interface/explorer.h"
#include "platform/window.h"
#include "platform/window_system.h"
#include "platform/wx/wx_backend.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Folder keys: 1-10 under the root, 11-110 under those, 111-1110 under those.
constexpr int kFirstLeaf = 111;
constexpr int kLeaves = 1000;
constexpr int kChunksPerLeaf = 1000;
constexpr std::uint32_t kStartFolder = kFirstLeaf + 500;

enum class Shape { Empty, MillionChunks, WideRoot };

class BenchProject {
public:
    BenchProject(const std::string& name, Shape shape) {
        m_dir = std::filesystem::temp_directory_path() /
                ("explorer-wx-bench-" + name + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_dir);
        m_project = refhost::Project::Create((m_dir / "project.db").string());
        Use();
        if (!EXPL_CreateNewTable())
            throw std::runtime_error("cannot make the folder table");
        if (shape == Shape::MillionChunks)
            Fill();
        else if (shape == Shape::WideRoot)
            FillWideRoot();
    }
    ~BenchProject() {
        m_project.reset();
        std::filesystem::remove_all(m_dir);
    }
    BenchProject(const BenchProject&) = delete;
    BenchProject& operator=(const BenchProject&) = delete;

    // The library works on this project from now on.
    void Use() {
        ReloadLibraryContext();
        if (!EXPL_Init(&m_project->database(), &m_callback, 0))
            throw std::runtime_error("cannot initialise the library");
    }

private:
    void Fill() {
        CDaoDatabase& db = m_project->database();
        refhost::Transaction transaction(db);
        db.Execute(("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                    std::to_string(kFirstLeaf + kLeaves - 1) +
                    ") INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) SELECT i, "
                    "'Ordner ' || i, CASE WHEN i <= 10 THEN 0 WHEN i <= 110 THEN 1 + (i - 11) / 10 "
                    "ELSE 11 + (i - 111) / 10 END, '-', '-' FROM n")
                       .c_str());
        db.Execute(("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                    std::to_string(kLeaves * kChunksPerLeaf) +
                    ") INSERT INTO CHUNKS (ChunkSysID, ChunkUsrID, ModifyDate, DirID, "
                    "ADD_Fotograf, ADD_Bildnummer) SELECT i, 'Bild ' || i, "
                    "datetime(1700000000 + (i * 104729) % 94608000, 'unixepoch'), " +
                    std::to_string(kFirstLeaf) + " + (i - 1) / " + std::to_string(kChunksPerLeaf) +
                    ", 'Fotograf ' || (i % 50), i FROM n")
                       .c_str());
        transaction.Commit();
    }

    // Folders 1-1000 under the root, folder 1000 + i inside folder i: every root child has a
    // child of its own, so each one gets an expand button.
    void FillWideRoot() {
        CDaoDatabase& db = m_project->database();
        refhost::Transaction transaction(db);
        db.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                   "INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) SELECT i, "
                   "'Ordner ' || i, CASE WHEN i <= 1000 THEN 0 ELSE i - 1000 END, '-', '-' FROM n");
        transaction.Commit();
    }

    std::filesystem::path m_dir;
    std::unique_ptr<refhost::Project> m_project;
    EXPLORER_CALLBACK m_callback{};
};

BenchProject& MillionChunks() {
    static BenchProject project("million", Shape::MillionChunks);
    return project;
}

BenchProject& WideRoot() {
    static BenchProject project("wide", Shape::WideRoot);
    return project;
}

BenchProject& Empty() {
    static BenchProject project("empty", Shape::Empty);
    return project;
}

// EXPL_GetChunk until the dialog's first paint reached the screen; the dialog is then cancelled.
void FirstPaint(benchmark::State& state, BenchProject& (*project)(), std::uint32_t startFolder) {
    wxui::WxInstallation* toolkit = BenchToolkit();
    if (!toolkit) {
        state.SkipWithError("no display; run under xvfb-run");
        return;
    }
    project().Use();
    wxui::WxBackend& backend = toolkit->Backend();
    std::optional<Clock::time_point> painted;
    backend.SetPaintObserver([&](HWND window) {
        WindowData* data = winsys::Live(window);
        if (painted || !data || data->kind != WindowKind::Dialog)
            return;
        painted = Clock::now();
        CWnd::FromHandle(window)->PostMessage(WM_COMMAND, IDCANCEL);
    });
    for (auto _ : state) {
        painted.reset();
        std::uint32_t chunk = 0xFFFFFFFF;
        int readOnlyCheck = 0;
        std::uint32_t folder = startFolder;
        void* chunkList = nullptr;
        const auto start = Clock::now();
        EXPL_GetChunk(chunk, readOnlyCheck, folder, chunkList, "Standbild wählen");
        if (!painted) {
            state.SkipWithError("the dialog was never painted");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(*painted - start).count());
        // The closed window's toolkit objects go away between runs, as in a host's idle time.
        backend.Pump(0);
    }
    backend.SetPaintObserver(nullptr);
}

void MillionChunksAtAFolder(benchmark::State& state) {
    FirstPaint(state, MillionChunks, kStartFolder);
}

void MillionChunksNoStartFolder(benchmark::State& state) {
    FirstPaint(state, MillionChunks, 0xFFFFFFFF);
}

void WideRootNoStartFolder(benchmark::State& state) {
    FirstPaint(state, WideRoot, 0xFFFFFFFF);
}

void EmptyProject(benchmark::State& state) {
    FirstPaint(state, Empty, 0xFFFFFFFF);
}

} // namespace

BENCHMARK(MillionChunksAtAFolder)
    ->Name("FirstPaint.million_chunks_at_a_folder_of_1000")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(MillionChunksNoStartFolder)
    ->Name("FirstPaint.million_chunks_no_start_folder")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(WideRootNoStartFolder)
    ->Name("FirstPaint.1000_folders_under_the_root")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(EmptyProject)
    ->Name("FirstPaint.empty_project")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
