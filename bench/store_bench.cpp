// The folder store against the raw SQLite statements that do the same work, on one project.
#include "bench/raw_connection.h"
#include "host/project.h"
#include "interface/context.h"
#include "interface/explorer.h"
#include "store/chunk_records.h"
#include "store/folder_records.h"
#include "store/item_tag.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

// Heap accounting for the peak memory of a listing. The replaced operators pair malloc and free
// themselves, which the compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::size_t heapNow = 0;
std::size_t heapPeak = 0;
constexpr std::size_t kHeader = alignof(std::max_align_t);
} // namespace

void* operator new(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    heapNow += size;
    if (heapNow > heapPeak)
        heapPeak = heapNow;
    return block + kHeader;
}
void operator delete(void* pointer) noexcept {
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    heapNow -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete[](void* pointer) noexcept {
    operator delete(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

namespace {

constexpr FolderId kWideFolder = 1; // 100,000 sub-folders
constexpr FolderId kFullFolder = 2; // 100,000 chunks
constexpr FolderId kTreeTop = 3;    // a ten-way tree of 100,000 folders below
constexpr FolderId kMoveSource = 6; // 5,000 folders and 5,000 chunks that move to and fro
constexpr FolderId kMoveTargets[] = {4, 5};
constexpr FolderId kChainBottom = 201000; // 1,000 levels deep
constexpr int kMany = 100000;

// The raw side: a connection of its own with prepared statements.
class RawConnection {
public:
    explicit RawConnection(const std::string& path)
        : m_db(OpenRawConnection(path, SQLITE_OPEN_READWRITE)) {}
    ~RawConnection() {
        for (sqlite3_stmt* statement : m_statements)
            sqlite3_finalize(statement);
        sqlite3_close(m_db);
    }
    sqlite3_stmt* Prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        m_statements.push_back(statement);
        return statement;
    }
    void Exec(const char* sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
    std::vector<sqlite3_stmt*> m_statements;
};

class Fixture {
public:
    static Fixture& Get() {
        static Fixture fixture;
        return fixture;
    }

    RawConnection& raw() { return *m_raw; }
    CDaoDatabase& db() { return m_project->database(); }

private:
    Fixture() {
        m_dir = std::filesystem::temp_directory_path() /
                ("explorer-store-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_dir);
        m_project = refhost::Project::Create((m_dir / "project.db").string());
        if (!EXPL_Init(&db(), &m_callback, 0) || !EXPL_CreateNewTable())
            throw std::runtime_error("cannot set up the library");
        Fill();
        m_raw = std::make_unique<RawConnection>((m_dir / "project.db").string());
    }
    ~Fixture() {
        m_raw.reset();
        m_project.reset();
        std::filesystem::remove_all(m_dir);
    }

    void Fill() {
        auto& database = db();
        database.Execute("BEGIN");
        for (FolderId key :
             {kWideFolder, kFullFolder, kTreeTop, kMoveTargets[0], kMoveTargets[1], kMoveSource})
            database.Execute(("INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) VALUES (" +
                              std::to_string(key) + ", 'Ordner " + std::to_string(key) +
                              "', 0, '-', '-')")
                                 .c_str());
        const std::string series =
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ";
        // Wide folder: keys 1,000,000 + i.
        database.Execute((series + std::to_string(kMany) +
                          ") INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) "
                          "SELECT 1000000 + i, 'Ordner ' || i, 1, '-', '-' FROM n")
                             .c_str());
        // Ten-way tree: node i hangs below node (i - 1) / 10, node 0 being the tree's top folder.
        database.Execute(
            (series + std::to_string(kMany) +
             ") INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) "
             "SELECT 300000 + i, 'Knoten ' || i, "
             "CASE WHEN (i - 1) / 10 = 0 THEN 3 ELSE 300000 + (i - 1) / 10 END, '-', '-' FROM n")
                .c_str());
        // Chain: 200001 under the root, each next one below the one before.
        database.Execute((series +
                          "1000) INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) "
                          "SELECT 200000 + i, 'Ebene ' || i, "
                          "CASE WHEN i = 1 THEN 0 ELSE 200000 + i - 1 END, '-', '-' FROM n")
                             .c_str());
        // Items that move: 5,000 folders and 5,000 chunks.
        database.Execute((series +
                          "5000) INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) "
                          "SELECT 500000 + i, 'Wandernd ' || i, 6, '-', '-' FROM n")
                             .c_str());
        database.Execute((series + std::to_string(kMany) +
                          ") INSERT INTO CHUNKS (ChunkSysID, ChunkUsrID, DirID) SELECT i, "
                          "'Standbild ' || i, 2 FROM n")
                             .c_str());
        database.Execute((series + "5000) INSERT INTO CHUNKS (ChunkSysID, ChunkUsrID, DirID) "
                                   "SELECT 500000 + i, 'Wanderbild ' || i, 6 FROM n")
                             .c_str());
        database.Execute("COMMIT");
    }

    std::filesystem::path m_dir;
    std::unique_ptr<refhost::Project> m_project;
    std::unique_ptr<RawConnection> m_raw;
    EXPLORER_CALLBACK m_callback{};
};

void CheckCount(benchmark::State& state, std::size_t count, std::size_t expected) {
    if (count != expected)
        state.SkipWithError(
            ("listed " + std::to_string(count) + ", expected " + std::to_string(expected)).c_str());
}

// Sub-folders of a folder with 100,000 of them.
void SubFoldersLibrary(benchmark::State& state) {
    Fixture::Get();
    CDWordArray keys;
    CStringArray names;
    for (auto _ : state)
        GetSubFolders(kWideFolder, keys, &names);
    CheckCount(state, keys.GetSize(), kMany);
}

void SubFoldersRaw(benchmark::State& state) {
    sqlite3_stmt* query =
        Fixture::Get().raw().Prepare("SELECT ID, NAME FROM EXPLORER WHERE ID_OWNER = ?1");
    std::vector<std::uint32_t> keys;
    std::vector<std::string> names;
    for (auto _ : state) {
        keys.clear();
        names.clear();
        sqlite3_bind_int(query, 1, kWideFolder);
        while (sqlite3_step(query) == SQLITE_ROW) {
            keys.push_back(static_cast<std::uint32_t>(sqlite3_column_int(query, 0)));
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query, 1)));
        }
        sqlite3_reset(query);
    }
    CheckCount(state, keys.size(), kMany);
}

// Chunks of a folder with 100,000 of them, with the peak memory of one listing into empty arrays
// (measured once, untimed); the timed listings refill the same arrays, as the raw side refills
// its vectors.
void FolderChunksLibrary(benchmark::State& state) {
    Fixture::Get();
    CDWordArray keys;
    CStringArray names;
    heapPeak = heapNow;
    const std::size_t start = heapNow;
    sqlite3_memory_highwater(1);
    const std::int64_t sqliteStart = sqlite3_memory_used();
    GetFolderChunks(kFullFolder, keys, &names);
    const std::size_t peakBytes = heapPeak - start;
    const std::int64_t sqlitePeak = sqlite3_memory_highwater(0) - sqliteStart;
    for (auto _ : state)
        GetFolderChunks(kFullFolder, keys, &names);
    CheckCount(state, keys.GetSize(), kMany);
    state.counters["peak_heap_MiB"] = static_cast<double>(peakBytes) / (1 << 20);
    state.counters["peak_sqlite_MiB"] = static_cast<double>(sqlitePeak) / (1 << 20);
}

void FolderChunksRaw(benchmark::State& state) {
    sqlite3_stmt* query =
        Fixture::Get().raw().Prepare("SELECT ChunkSysID, ChunkUsrID FROM CHUNKS WHERE DirID = ?1");
    std::vector<std::uint32_t> keys;
    std::vector<std::string> names;
    for (auto _ : state) {
        keys.clear();
        names.clear();
        sqlite3_bind_int(query, 1, kFullFolder);
        while (sqlite3_step(query) == SQLITE_ROW) {
            keys.push_back(static_cast<std::uint32_t>(sqlite3_column_int(query, 0)));
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query, 1)));
        }
        sqlite3_reset(query);
    }
    CheckCount(state, keys.size(), kMany);
}

// The path of a folder 1,000 levels down.
void PathLibrary(benchmark::State& state) {
    Fixture::Get();
    CString path;
    for (auto _ : state)
        GetFolderPath(kChainBottom, path);
    if (path.GetLength() < 1000 * 7)
        state.SkipWithError("path too short");
}

void PathRaw(benchmark::State& state) {
    sqlite3_stmt* query =
        Fixture::Get().raw().Prepare("SELECT ID_OWNER, NAME FROM EXPLORER WHERE ID = ?1");
    std::string path;
    for (auto _ : state) {
        path.clear();
        std::int64_t key = kChainBottom;
        while (key != 0) {
            sqlite3_bind_int64(query, 1, key);
            if (sqlite3_step(query) != SQLITE_ROW)
                break;
            key = sqlite3_column_int(query, 0);
            path = "\\" +
                   std::string(reinterpret_cast<const char*>(sqlite3_column_text(query, 1))) + path;
            sqlite3_reset(query);
        }
        sqlite3_reset(query);
    }
    if (path.size() < 1000 * 7)
        state.SkipWithError("path too short");
}

// A full walk of a tree of 100,000 folders for a key that is not in it.
void DescendantLibrary(benchmark::State& state) {
    Fixture::Get();
    int found = 1;
    for (auto _ : state)
        found = IsDescendant(kTreeTop, 999999);
    if (found != 0 || IsDescendant(kTreeTop, 300000 + kMany) != 1)
        state.SkipWithError("wrong answer");
}

void DescendantRaw(benchmark::State& state) {
    sqlite3_stmt* query =
        Fixture::Get().raw().Prepare("SELECT ID FROM EXPLORER WHERE ID_OWNER = ?1");
    bool found = true;
    for (auto _ : state) {
        found = false;
        std::vector<std::int64_t> pending{kTreeTop};
        std::vector<std::int64_t> children;
        while (!pending.empty() && !found) {
            const std::int64_t current = pending.back();
            pending.pop_back();
            children.clear();
            sqlite3_bind_int64(query, 1, current);
            while (sqlite3_step(query) == SQLITE_ROW)
                children.push_back(sqlite3_column_int64(query, 0));
            sqlite3_reset(query);
            for (std::int64_t child : children)
                found = found || child == 999999;
            pending.insert(pending.end(), children.rbegin(), children.rend());
        }
    }
    if (found)
        state.SkipWithError("wrong answer");
}

// Whether each of 1,000 folders has sub-folders, asked one by one outside any scope, as the tree
// asks for each folder item it adds.
constexpr FolderId kFirstAsked = 309501; // nodes of the ten-way tree: half of them have children
constexpr int kAsked = 1000;

void HasSubFoldersLibrary(benchmark::State& state) {
    Fixture::Get();
    int with = 0;
    for (auto _ : state) {
        with = 0;
        for (int i = 0; i < kAsked; ++i)
            with += HasSubFolders(kFirstAsked + FolderId(i));
    }
    if (with == 0 || with == kAsked)
        state.SkipWithError("every answer the same");
}

void HasSubFoldersRaw(benchmark::State& state) {
    sqlite3_stmt* query =
        Fixture::Get().raw().Prepare("SELECT 1 FROM EXPLORER WHERE ID_OWNER = ?1 LIMIT 1");
    int with = 0;
    for (auto _ : state) {
        with = 0;
        for (int i = 0; i < kAsked; ++i) {
            sqlite3_bind_int64(query, 1, kFirstAsked + i);
            with += sqlite3_step(query) == SQLITE_ROW;
            sqlite3_reset(query);
        }
    }
    if (with == 0 || with == kAsked)
        state.SkipWithError("every answer the same");
}

// 10,000 mixed items moved between two folders, inside one transaction on each side.
void MoveLibrary(benchmark::State& state) {
    auto& fixture = Fixture::Get();
    CDWordArray items;
    for (int i = 1; i <= 5000; ++i) {
        items.Add(MakeTag(500000 + i, ItemKind::Folder));
        items.Add(MakeTag(500000 + i, ItemKind::Chunk));
    }
    int turn = 0;
    for (auto _ : state) {
        fixture.db().Execute("BEGIN");
        const int moved = MoveItems(items, kMoveTargets[turn++ % 2]);
        fixture.db().Execute("COMMIT");
        if (!moved)
            state.SkipWithError("move failed");
    }
}

void MoveRaw(benchmark::State& state) {
    auto& raw = Fixture::Get().raw();
    sqlite3_stmt* folder = raw.Prepare("UPDATE EXPLORER SET ID_OWNER = ?1 WHERE ID = ?2");
    sqlite3_stmt* chunk = raw.Prepare("UPDATE CHUNKS SET DirID = ?1 WHERE ChunkSysID = ?2");
    int turn = 0;
    for (auto _ : state) {
        const FolderId target = kMoveTargets[turn++ % 2];
        raw.Exec("BEGIN");
        for (int i = 1; i <= 5000; ++i) {
            for (sqlite3_stmt* update : {folder, chunk}) {
                sqlite3_bind_int(update, 1, static_cast<int>(target));
                sqlite3_bind_int(update, 2, 500000 + i);
                sqlite3_step(update);
                sqlite3_reset(update);
            }
        }
        raw.Exec("COMMIT");
    }
}

BENCHMARK(SubFoldersLibrary)->Name("GetSubFolders_100k.library")->Unit(benchmark::kMillisecond);
BENCHMARK(SubFoldersRaw)->Name("GetSubFolders_100k.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(FolderChunksLibrary)->Name("GetFolderChunks_100k.library")->Unit(benchmark::kMillisecond);
BENCHMARK(FolderChunksRaw)->Name("GetFolderChunks_100k.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(PathLibrary)->Name("GetFolderPath_depth1000.library")->Unit(benchmark::kMicrosecond);
BENCHMARK(PathRaw)->Name("GetFolderPath_depth1000.raw")->Unit(benchmark::kMicrosecond);
BENCHMARK(DescendantLibrary)->Name("IsDescendant_100k.library")->Unit(benchmark::kMillisecond);
BENCHMARK(DescendantRaw)->Name("IsDescendant_100k.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(HasSubFoldersLibrary)
    ->Name("HasSubFolders_each_of_1000.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(HasSubFoldersRaw)->Name("HasSubFolders_each_of_1000.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(MoveLibrary)->Name("MoveItems_10k.library")->Unit(benchmark::kMillisecond);
BENCHMARK(MoveRaw)->Name("MoveItems_10k.raw")->Unit(benchmark::kMillisecond);

} // namespace
