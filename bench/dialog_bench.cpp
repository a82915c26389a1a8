// The browser dialog on a folder of 100,000 chunks with three extra columns, on the headless
// backend: opening it, filling its list and sorting the list, each next to the raw SQLite query
// that reads the same rows and fields.
#include "bench/raw_connection.h"
#include "dialog/explorer_dialog.h"
#include "dialog/redraw_pause.h"
#include "dialog/value_text.h"
#include "host/project.h"
#include "interface/context.h"
#include "interface/explorer.h"
#include "platform/headless/test_driver.h"
#include "resources/resource_ids.h"
#include "store/chunk_records.h"
#include "store/dao_record.h"
#include "store/folder_records.h"
#include "store/listed_chunks.h"
#include "store/shared_recordsets.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kChunks = 100000;
constexpr FolderId kFolder = 1;
// A folder whose chunks lie scattered among another folder's, as chunks filed over time do: every
// tenth of another 100,000.
constexpr FolderId kScatteredFolder = 2;
constexpr int kScatteredChunks = kChunks / 10;
// Listed at start-up: the folders before it in the tree are opened on the way.
constexpr const char kListedColumns[] =
    "ChunkSysID, ChunkUsrID, ModifyDate, ADD_Fotograf, ADD_Bildnummer, ADD_Aufnahmedatum";

// The library's context for one project, taking the place of whatever context was in effect and
// giving it back afterwards (other benchmarks of the process keep their own).
class LibraryContextSwap {
public:
    LibraryContextSwap(CDaoDatabase& database, EXPLORER_CALLBACK& callback) : m_saved(g_context) {
        ReloadLibraryContext();
        if (!EXPL_Init(&database, &callback, 0))
            throw std::runtime_error("cannot initialise the library");
    }
    ~LibraryContextSwap() { g_context = m_saved; }
    LibraryContextSwap(const LibraryContextSwap&) = delete;
    LibraryContextSwap& operator=(const LibraryContextSwap&) = delete;

private:
    ExplorerContext m_saved;
};

class Project100k {
public:
    static Project100k& Get() {
        static Project100k project;
        return project;
    }

    CDaoDatabase& db() { return m_project->database(); }
    EXPLORER_CALLBACK& callback() { return m_callback; }
    sqlite3* raw() { return m_raw; }

private:
    Project100k() {
        m_dir = std::filesystem::temp_directory_path() /
                ("explorer-dialog-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_dir);
        const std::string path = (m_dir / "project.db").string();
        m_project = refhost::Project::Create(path);
        {
            LibraryContextSwap context(db(), m_callback);
            if (!EXPL_CreateNewTable())
                throw std::runtime_error("cannot make the folder table");
            Fill();
        }
        m_raw = OpenRawConnection(path, SQLITE_OPEN_READONLY);
    }
    ~Project100k() {
        sqlite3_close(m_raw);
        m_project.reset();
        std::filesystem::remove_all(m_dir);
    }

    void Fill() {
        // Three extra columns: the other three lose their prefix.
        for (const char* column : {"Freigegeben", "Honorar", "Belichtung"})
            db().Execute(
                (std::string("ALTER TABLE CHUNKS RENAME COLUMN ADD_") + column + " TO " + column)
                    .c_str());
        refhost::Transaction transaction(db());
        db().Execute("INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) VALUES (1, "
                     "'Alle Bilder', 0, '-', '-'), (2, 'Verstreut', 0, '-', '-'), "
                     "(3, 'Dazwischen', 0, '-', '-')");
        // Names in no particular order with case variants and duplicates, dates spread over
        // three years, some of them null.
        for (const char* folder : {"1", "CASE WHEN i % 10 = 0 THEN 2 ELSE 3 END"}) {
            const int first = folder[0] == '1' ? 1 : kChunks + 1;
            db().Execute(
                ("WITH RECURSIVE n(i) AS (SELECT " + std::to_string(first) +
                 " UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(first + kChunks - 1) +
                 ") INSERT INTO CHUNKS (ChunkSysID, ChunkUsrID, ModifyDate, DirID, ADD_Fotograf, "
                 "ADD_Bildnummer, ADD_Aufnahmedatum) SELECT i, "
                 "CASE i % 3 WHEN 0 THEN 'bild ' WHEN 1 THEN 'Bild ' ELSE 'BILD ' END || "
                 "((i * 7919) % 50000), "
                 "CASE WHEN i % 97 = 0 THEN NULL ELSE "
                 "datetime(1700000000 + (i * 104729) % 94608000, 'unixepoch') END, " +
                 folder +
                 ", 'Fotograf ' || (i % 50), i, datetime(1600000000 + i * 60, 'unixepoch') "
                 "FROM n")
                    .c_str());
        }
        transaction.Commit();
    }

    std::filesystem::path m_dir;
    std::unique_ptr<refhost::Project> m_project;
    EXPLORER_CALLBACK m_callback{};
    sqlite3* m_raw = nullptr;
};

// Runs the dialog in chunk mode at the big folder; `whileOpen` runs inside its modal loop.
void WithOpenDialog(const std::function<void(ExplorerDialog&)>& whileOpen,
                    ExplorerMode mode = ExplorerMode::Chunk) {
    Project100k& project = Project100k::Get();
    LibraryContextSwap context(project.db(), project.callback());
    ExplorerDialog dialog;
    dialog.m_mode = mode;
    dialog.m_folderKey = kFolder;
    headless::TestDriver driver;
    driver.Then([&](UiDriver&) {
        whileOpen(dialog);
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
}

void CheckRows(benchmark::State& state, std::size_t rows, int expected = kChunks) {
    if (rows != static_cast<std::size_t>(expected))
        state.SkipWithError(("listed " + std::to_string(rows) + " rows").c_str());
}

// The rows and fields the list shows, as they come from the engine.
struct RawRow {
    std::int64_t key;
    std::string name;
    std::string date;
    std::string photographer;
    std::int64_t number;
    std::string shot;
};

std::string Text(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

void ReadRaw(benchmark::State& state, const std::string& order, FolderId folder = kFolder,
             int expected = kChunks) {
    sqlite3_stmt* query = nullptr;
    const std::string sql =
        std::string("SELECT ") + kListedColumns + " FROM CHUNKS WHERE DirID = ?1" + order;
    if (sqlite3_prepare_v2(Project100k::Get().raw(), sql.c_str(), -1, &query, nullptr) !=
        SQLITE_OK) {
        state.SkipWithError("cannot prepare the query");
        return;
    }
    std::vector<RawRow> rows;
    for (auto _ : state) {
        rows.clear();
        sqlite3_bind_int(query, 1, static_cast<int>(folder));
        while (sqlite3_step(query) == SQLITE_ROW)
            rows.push_back({sqlite3_column_int64(query, 0), Text(query, 1), Text(query, 2),
                            Text(query, 3), sqlite3_column_int64(query, 4), Text(query, 5)});
        sqlite3_reset(query);
        benchmark::DoNotOptimize(rows.data());
    }
    sqlite3_finalize(query);
    CheckRows(state, rows.size(), expected);
}

// Start-up to the filled list, and the window's end.
void OpenLibrary(benchmark::State& state) {
    Project100k::Get(); // made once, before the timing starts
    std::size_t rows = 0;
    for (auto _ : state)
        WithOpenDialog([&](ExplorerDialog& dialog) { rows = dialog.m_list.GetItemCount(); });
    CheckRows(state, rows);
}

// In the target mode the chunks are items of the tree as well: the folder's item is filled with
// its 100,000 chunks, one after another, while it is open.
void OpenTargetLibrary(benchmark::State& state) {
    Project100k::Get(); // made once, before the timing starts
    std::size_t items = 0;
    for (auto _ : state)
        WithOpenDialog([&](ExplorerDialog& dialog) { items = dialog.m_tree.GetCount(); },
                       ExplorerMode::Target);
    // Besides the chunks: the root, the three folders and the placeholders of the two closed ones.
    CheckRows(state, items - 6);
}

// In the target mode a double click on the folder's last chunk row makes that chunk's tree item
// current: the item is looked for among the 100,000 items of the folder's chunks.
void OpenLastChunkInTreeLibrary(benchmark::State& state) {
    std::size_t rows = 0;
    WithOpenDialog(
        [&](ExplorerDialog& dialog) {
            const ItemTag last = MakeTag(kChunks, ItemKind::Chunk);
            for (auto _ : state) {
                dialog.OpenItem(last, FALSE);
                state.PauseTiming();
                if (dialog.m_curTag != last)
                    state.SkipWithError("the chunk's item did not become current");
                dialog.OpenItem(MakeTag(kFolder, ItemKind::Folder), FALSE);
                rows = dialog.m_list.GetItemCount();
                state.ResumeTiming();
            }
        },
        ExplorerMode::Target);
    CheckRows(state, rows);
}

void OpenRaw(benchmark::State& state) {
    ReadRaw(state, "");
}

// The list filled anew for `folder`, in the dialog opened at the big folder.
void Refill(benchmark::State& state, FolderId folder, int expected) {
    std::size_t rows = 0;
    WithOpenDialog([&](ExplorerDialog& dialog) {
        for (auto _ : state)
            dialog.FillList(MakeTag(folder, ItemKind::Folder));
        rows = dialog.m_list.GetItemCount();
    });
    CheckRows(state, rows, expected);
}

void FillLibrary(benchmark::State& state) {
    Refill(state, kFolder, kChunks);
}

void FillRaw(benchmark::State& state) {
    ReadRaw(state, "");
}

// The record of each listed chunk in turn, found as a fill finds it: `visit(row, record)` for every
// key that has one.
template <typename Visit> void ForEachListedRecord(const CDWordArray& keys, Visit visit) {
    ChunksTableScope chunkScope(g_context.database);
    ListedChunkReader chunks(keys);
    for (int i = 0; i < keys.GetSize(); ++i)
        if (chunks.Find(i))
            visit(i, chunks.Record());
}

// Only the store calls a fill makes, with no list behind them: the folder's sub-folders and chunks,
// then per chunk one look-up, its date and one value per extra column. What a fill costs beyond
// this is the list's and the texts'.
void FillStoreCallsLibrary(benchmark::State& state) {
    std::size_t rows = 0;
    WithOpenDialog([&](ExplorerDialog& dialog) {
        for (auto _ : state) {
            CDWordArray folderKeys;
            CStringArray folderNames;
            CDWordArray chunkKeys;
            CStringArray chunkNames;
            GetSubFolders(kFolder, folderKeys, &folderNames);
            GetFolderChunks(kFolder, chunkKeys, &chunkNames);
            ExplorerTableScope folderScope(g_context.database);
            ForEachListedRecord(chunkKeys, [&](int, CDaoRecord& chunkRecord) {
                COleDateTime date;
                chunkRecord.GetField(chunk_field::ModifyDate, date);
                for (int k = 0; k < dialog.m_colFields.GetSize(); ++k) {
                    COleVariant value;
                    chunkRecord.GetFieldTrace(dialog.m_colFields[k], value);
                    benchmark::DoNotOptimize(value);
                }
            });
            rows = static_cast<std::size_t>(chunkKeys.GetSize());
        }
    });
    CheckRows(state, rows);
}

// The list's own share of a fill: the rows the fill made, taken out and put back with their
// texts made beforehand, so no store read and no text formatting is timed.
void FillListOnlyLibrary(benchmark::State& state) {
    std::size_t rows = 0;
    WithOpenDialog([&](ExplorerDialog& dialog) {
        CListCtrl& list = dialog.m_list;
        const int columns = list.GetColumnCount();
        std::vector<std::vector<CString>> texts(static_cast<std::size_t>(list.GetItemCount()));
        std::vector<DWORD_PTR> data(texts.size());
        for (std::size_t row = 0; row < texts.size(); ++row) {
            data[row] = list.GetItemData(static_cast<int>(row));
            for (int column = 0; column < columns; ++column)
                texts[row].push_back(list.GetItemText(static_cast<int>(row), column));
        }
        for (auto _ : state) {
            const RedrawPause pause(list);
            list.DeleteAllItems();
            list.SetItemCount(static_cast<int>(texts.size()));
            for (std::size_t row = 0; row < texts.size(); ++row) {
                const int index =
                    list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, static_cast<int>(row),
                                    texts[row][0], 0, 0, 1, data[row]);
                for (int column = 1; column < columns; ++column)
                    list.SetItemText(index, column, texts[row][static_cast<std::size_t>(column)]);
            }
        }
        rows = static_cast<std::size_t>(list.GetItemCount());
    });
    CheckRows(state, rows);
}

// The texts a fill makes for its cells, from values read beforehand: each row's date and its extra
// columns' values, with no store read and no list. The floor, the list's share and this together
// are what any fill costs at least, however fast its reads.
void FillTextsOnlyLibrary(benchmark::State& state) {
    std::size_t rows = 0;
    WithOpenDialog([&](ExplorerDialog& dialog) {
        CDWordArray chunkKeys;
        CStringArray chunkNames;
        GetFolderChunks(kFolder, chunkKeys, &chunkNames);
        const std::size_t count = static_cast<std::size_t>(chunkKeys.GetSize());
        std::vector<COleDateTime> dates(count);
        std::vector<std::vector<COleVariant>> values(
            count,
            std::vector<COleVariant>(static_cast<std::size_t>(dialog.m_colFields.GetSize())));
        ForEachListedRecord(chunkKeys, [&](int i, CDaoRecord& record) {
            const auto row = static_cast<std::size_t>(i);
            record.GetField(chunk_field::ModifyDate, dates[row]);
            for (std::size_t k = 0; k < values[row].size(); ++k)
                record.GetFieldTrace(dialog.m_colFields[static_cast<int>(k)], values[row][k]);
        });
        const DateTimeFormat format;
        CString cell;
        for (auto _ : state) {
            for (std::size_t row = 0; row < count; ++row) {
                format.Format(cell, dates[row]);
                benchmark::DoNotOptimize(cell);
                // Text, whole numbers and dates keep their type: nothing is changed in place.
                for (COleVariant& value : values[row]) {
                    VariantToText(cell, value, format);
                    benchmark::DoNotOptimize(cell);
                }
            }
        }
        rows = dates.size();
    });
    CheckRows(state, rows);
}

// The same for the folder whose chunks lie scattered.
void FillScatteredLibrary(benchmark::State& state) {
    Refill(state, kScatteredFolder, kScatteredChunks);
}

void FillScatteredRaw(benchmark::State& state) {
    ReadRaw(state, "", kScatteredFolder, kScatteredChunks);
}

// A click on a column header of the list in its fill order, or, with `before`, in the order a
// click on that column gave it.
void SortLibrary(benchmark::State& state, int column, int before = -1, FolderId folder = kFolder,
                 int expected = kChunks) {
    std::size_t rows = 0;
    WithOpenDialog([&](ExplorerDialog& dialog) {
        NMLISTVIEW click{};
        click.hdr = {dialog.m_list.m_hWnd, IDC_LIST, LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = column;
        for (auto _ : state) {
            state.PauseTiming();
            dialog.FillList(MakeTag(folder, ItemKind::Folder));
            dialog.m_sortColumn = 0;
            if (before >= 0) {
                NMLISTVIEW first = click;
                first.iSubItem = before;
                dialog.SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&first));
            }
            state.ResumeTiming();
            dialog.SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&click));
        }
        rows = dialog.m_list.GetItemCount();
        if (dialog.m_sortColumn != column + 1)
            state.SkipWithError("the click did not sort");
    });
    CheckRows(state, rows, expected);
}

void SortByNameLibrary(benchmark::State& state) {
    SortLibrary(state, 0);
}
void SortByNameRaw(benchmark::State& state) {
    ReadRaw(state, " ORDER BY ChunkUsrID");
}
void SortByDateLibrary(benchmark::State& state) {
    SortLibrary(state, 2);
}
void SortByDateRaw(benchmark::State& state) {
    ReadRaw(state, " ORDER BY ModifyDate");
}
// The folder whose chunks lie scattered.
void SortScatteredByDateLibrary(benchmark::State& state) {
    SortLibrary(state, 2, -1, kScatteredFolder, kScatteredChunks);
}
void SortScatteredByDateRaw(benchmark::State& state) {
    ReadRaw(state, " ORDER BY ModifyDate", kScatteredFolder, kScatteredChunks);
}
// Rows in name order: their records lie all over the table.
void SortByDateAfterNameLibrary(benchmark::State& state) {
    SortLibrary(state, 2, 0);
}

BENCHMARK(OpenLibrary)->Name("OpenDialog_100k_3cols.library")->Unit(benchmark::kMillisecond);
BENCHMARK(OpenRaw)->Name("OpenDialog_100k_3cols.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(OpenTargetLibrary)
    ->Name("OpenTargetDialog_100k_in_tree.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OpenRaw)->Name("OpenTargetDialog_100k_in_tree.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(OpenLastChunkInTreeLibrary)
    ->Name("OpenLastChunkInTree_100k.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OpenRaw)->Name("OpenLastChunkInTree_100k.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(FillLibrary)->Name("FillList_100k_3cols.library")->Unit(benchmark::kMillisecond);
BENCHMARK(FillRaw)->Name("FillList_100k_3cols.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(FillStoreCallsLibrary)
    ->Name("FillList_100k_store_calls_only.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FillRaw)->Name("FillList_100k_store_calls_only.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(FillListOnlyLibrary)
    ->Name("FillList_100k_list_only.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FillRaw)->Name("FillList_100k_list_only.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(FillTextsOnlyLibrary)
    ->Name("FillList_100k_texts_only.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FillRaw)->Name("FillList_100k_texts_only.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(FillScatteredLibrary)
    ->Name("FillList_10k_scattered.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FillScatteredRaw)->Name("FillList_10k_scattered.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(SortByNameLibrary)->Name("SortByName_100k.library")->Unit(benchmark::kMillisecond);
BENCHMARK(SortByNameRaw)->Name("SortByName_100k.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(SortByDateLibrary)->Name("SortByDate_100k.library")->Unit(benchmark::kMillisecond);
BENCHMARK(SortByDateRaw)->Name("SortByDate_100k.raw")->Unit(benchmark::kMillisecond);
BENCHMARK(SortScatteredByDateLibrary)
    ->Name("SortByDate_10k_scattered.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SortScatteredByDateRaw)
    ->Name("SortByDate_10k_scattered.raw")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SortByDateAfterNameLibrary)
    ->Name("SortByDateAfterName_100k.library")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SortByDateRaw)->Name("SortByDateAfterName_100k.raw")->Unit(benchmark::kMillisecond);

} // namespace
