// The DAO layer's index navigation next to the raw SQLite statements doing the same work, on a
// table of a million records built once per run.
#include "bench/raw_connection.h"
#include "platform/dao/dao.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr std::int32_t kRecords = 1'000'000;

// Keys are a permutation of the record numbers, so that index order is not insertion order and a
// walk along the index visits the table out of order, as real data does.
std::int32_t KeyOf(std::int32_t record) {
    return static_cast<std::int32_t>((std::int64_t{record} * 7919) % kRecords);
}

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Sqlite = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

SqliteStatement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), db);
    return SqliteStatement(statement);
}

// BIG(ID counter, K long, V long, NAME text(20)) with a unique index K, made through the layer
// and filled by one raw transaction.
class BigTable {
public:
    BigTable() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "dao-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary directory");
        m_dir = pattern;
        m_path = (m_dir / "big.db").string();
        {
            CDaoDatabase db;
            db.Create(m_path.c_str());
            CDaoTableDef table(&db);
            table.Create("BIG");
            table.CreateField("ID", dbLong, 4, dbAutoIncrField);
            table.CreateField("K", dbLong, 4);
            table.CreateField("V", dbLong, 4);
            table.CreateField("NAME", dbText, 20);
            table.Append();
        }
        sqlite3* raw = nullptr;
        sqlite3_open(m_path.c_str(), &raw);
        Sqlite db(raw);
        Check(sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr), raw);
        SqliteStatement insert = Prepare(raw, "INSERT INTO BIG (K, V, NAME) VALUES (?1, ?2, ?3)");
        for (std::int32_t i = 0; i < kRecords; ++i) {
            const std::string name = "record " + std::to_string(i);
            sqlite3_bind_int(insert.get(), 1, KeyOf(i));
            sqlite3_bind_int(insert.get(), 2, i);
            sqlite3_bind_text(insert.get(), 3, name.c_str(), -1, SQLITE_TRANSIENT);
            Check(sqlite3_step(insert.get()), raw);
            sqlite3_reset(insert.get());
        }
        Check(sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr), raw);
        insert.reset();
        CDaoDatabase layer;
        layer.Open(m_path.c_str());
        CDaoTableDef table(&layer);
        table.Open("BIG");
        CDaoIndexFieldInfo field;
        field.m_strName = "K";
        CDaoIndexInfo index;
        index.m_strName = "K";
        index.m_pFieldInfos = &field;
        index.m_nFields = 1;
        index.m_bUnique = TRUE;
        table.CreateIndex(index);
    }

    ~BigTable() {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    const std::string& path() const { return m_path; }

private:
    std::filesystem::path m_dir;
    std::string m_path;
};

const BigTable& Table() {
    static const BigTable table;
    return table;
}

// A fixed pseudo-random sequence of keys below `range`, the same for both sides. The whole table
// is mostly the operating system's page cache at work; a small range keeps the pages in SQLite's
// own cache and shows what the layer itself adds.
class Keys {
public:
    explicit Keys(std::int64_t range) : m_range(static_cast<std::uint64_t>(range)) {}
    std::int32_t Next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::int32_t>((m_state >> 33) % m_range);
    }

private:
    std::uint64_t m_range;
    std::uint64_t m_state = 42;
};

void SeekLibrary(benchmark::State& state) {
    CDaoDatabase db;
    db.Open(Table().path().c_str(), FALSE, TRUE);
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "BIG", dbReadOnly);
    records.SetCurrentIndex("K");
    Keys keys(state.range(0));
    COleVariant value;
    std::int64_t sum = 0;
    for (auto _ : state) {
        COleVariant key(keys.Next());
        if (!records.Seek("=", &key))
            state.SkipWithError("key not found");
        records.GetFieldValue(2, value);
        sum += value.lVal;
    }
    benchmark::DoNotOptimize(sum);
}

void SeekRaw(benchmark::State& state) {
    sqlite3* raw = OpenRawConnection(Table().path(), SQLITE_OPEN_READONLY);
    Sqlite db(raw);
    SqliteStatement select = Prepare(raw, "SELECT V FROM BIG WHERE K = ?1");
    Keys keys(state.range(0));
    std::int64_t sum = 0;
    for (auto _ : state) {
        sqlite3_reset(select.get());
        sqlite3_bind_int(select.get(), 1, keys.Next());
        if (sqlite3_step(select.get()) != SQLITE_ROW)
            state.SkipWithError("key not found");
        sum += sqlite3_column_int(select.get(), 0);
    }
    benchmark::DoNotOptimize(sum);
}

// One record per iteration: step, read one field; back to the start after range(0) records.
void WalkLibrary(benchmark::State& state) {
    CDaoDatabase db;
    db.Open(Table().path().c_str(), FALSE, TRUE);
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "BIG", dbReadOnly);
    records.SetCurrentIndex("K");
    COleVariant value;
    std::int64_t sum = 0;
    std::int64_t step = 0;
    for (auto _ : state) {
        records.MoveNext();
        if (++step == state.range(0) || records.IsEOF()) {
            records.MoveFirst();
            step = 0;
        }
        records.GetFieldValue(2, value);
        sum += value.lVal;
    }
    benchmark::DoNotOptimize(sum);
}

void WalkRaw(benchmark::State& state) {
    sqlite3* raw = OpenRawConnection(Table().path(), SQLITE_OPEN_READONLY);
    Sqlite db(raw);
    // The same columns the layer's walk carries.
    SqliteStatement select = Prepare(raw, "SELECT rowid, ID, K, V, NAME FROM BIG ORDER BY K");
    std::int64_t sum = 0;
    std::int64_t step = 0;
    for (auto _ : state) {
        if (++step == state.range(0) || sqlite3_step(select.get()) != SQLITE_ROW) {
            sqlite3_reset(select.get());
            sqlite3_step(select.get());
            step = 0;
        }
        sum += sqlite3_column_int(select.get(), 3);
    }
    benchmark::DoNotOptimize(sum);
}

} // namespace

BENCHMARK(SeekLibrary)->Name("dao_seek.library")->Arg(kRecords);
BENCHMARK(SeekRaw)->Name("dao_seek.raw")->Arg(kRecords);
BENCHMARK(SeekLibrary)->Name("dao_seek_cached.library")->Arg(100);
BENCHMARK(SeekRaw)->Name("dao_seek_cached.raw")->Arg(100);
BENCHMARK(WalkLibrary)->Name("dao_walk.library")->Arg(kRecords);
BENCHMARK(WalkRaw)->Name("dao_walk.raw")->Arg(kRecords);
BENCHMARK(WalkLibrary)->Name("dao_walk_cached.library")->Arg(100);
BENCHMARK(WalkRaw)->Name("dao_walk_cached.raw")->Arg(100);
