#include "host/sample.h"

#include "host/chunk_table.h"
#include "host/dib.h"
#include "host/schema.h"
#include "interface/context.h"
#include "interface/explorer.h"

#include <array>
#include <stdexcept>
#include <string>

namespace refhost {
namespace {

constexpr int kMaxDepth = 6;

constexpr std::array<const char*, 24> kFolderNames{
    "Archiv",      "Reisen",  "Straßenbahn", "Größe",   "Überblick",    "Café",
    "Ölgemälde",   "Märchen", "Brücken",     "Fußball", "Landschaften", "Porträts",
    "Architektur", "Tiere",   "Blumen",      "Städte",  "Küste",        "Gebirge",
    "Nachtbilder", "Schnee",  "Sommerfest",  "Hafen",   "Dächer",       "Türme",
};

constexpr std::array<const char*, 20> kChunkNouns{
    "Straßenbahn", "Größe",   "Überblick", "Café",    "Ölgemälde", "Brücke",    "Marktplatz",
    "Fähre",       "Rathaus", "Gärtnerei", "Bahnhof", "Kirchturm", "Möwe",      "Schloss",
    "Weinberg",    "Eisbär",  "Zugspitze", "Wäsche",  "Kräuter",   "Löwenzahn",
};

constexpr std::array<const char*, 6> kPhotographers{
    "Jürgen Müller", "Anna Schröder", "Zoë Weiß", "Björn Kühn", "Renée Faßbender", "Ole Lund",
};

constexpr std::array<const char*, 8> kPlaces{
    "München", "Köln", "Düsseldorf", "Lübeck", "Zürich", "Wien", "Görlitz", "Saarbrücken",
};

constexpr std::array<const char*, 6> kEntryNames{
    "Ausschnitt", "Markierung Süd", "Notiz", "Übersicht", "Detail Größe", "Zoom",
};

constexpr std::array<int, 6> kExposures{30, 60, 125, 250, 500, 1000};

// splitmix64: the same numbers for the same seed on every platform and library.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
    bool OneIn(int n) { return Below(n) == 0; }
    template <typename Items> const auto& Pick(const Items& items) {
        return items[Below(static_cast<int>(std::size(items)))];
    }

private:
    std::uint64_t m_state;
};

struct SampleFolder {
    FolderId key;
    int depth;
};

// Every bit depth at several sizes; chunks share these so that large samples stay small.
std::vector<std::vector<BYTE>> MakePicturePool() {
    constexpr std::array<int, 5> depths{1, 4, 8, 24, 32};
    constexpr std::array<std::array<int, 2>, 4> sizes{{{16, 16}, {32, 24}, {48, 32}, {64, 48}}};
    constexpr std::array<Motif, 3> motifs{Motif::Disc, Motif::Band, Motif::Checker};
    std::vector<std::vector<BYTE>> pool;
    for (std::size_t size = 0; size < sizes.size(); ++size) {
        for (std::size_t depth = 0; depth < depths.size(); ++depth) {
            pool.push_back(MakePreviewDib(sizes[size][0], sizes[size][1], depths[depth],
                                          motifs[(size + depth) % motifs.size()]));
        }
    }
    return pool;
}

std::vector<SampleFolder> MakeFolders(int count, SampleRandom& random) {
    std::vector<SampleFolder> folders;
    std::vector<SampleFolder> parents{{0, 0}};
    const int nameOffset = random.Below(static_cast<int>(kFolderNames.size()));
    for (int i = 0; i < count; ++i) {
        // The first folders form one chain so that even small samples are several levels deep.
        const SampleFolder parent = i < 4 ? parents.back() : random.Pick(parents);
        const std::size_t word = (nameOffset + i) % kFolderNames.size();
        std::string name = kFolderNames[word];
        if (i >= static_cast<int>(kFolderNames.size()))
            name += " " + std::to_string(i / kFolderNames.size() + 1);
        const std::int32_t key = EXPL_CreateFolder(name.c_str(), parent.key, -1);
        if (key == 0 || key == -1)
            throw std::runtime_error("the library refused folder \"" + name + "\"");
        const SampleFolder folder{static_cast<FolderId>(key), parent.depth + 1};
        folders.push_back(folder);
        if (folder.depth < kMaxDepth)
            parents.push_back(folder);
    }
    return folders;
}

COleVariant Bytes(const std::string& text) {
    return COleVariant(CByteArray(text.begin(), text.end()));
}

// Writes the chunks through two recordsets kept open for the whole run.
class ChunkWriter {
public:
    ChunkWriter(CDaoDatabase& database, ChunkId firstKey)
        : m_chunks(&database), m_entries(&database), m_next(firstKey) {
        m_chunks.Open(dbOpenTable, kChunksTable);
        m_entries.Open(dbOpenTable, kEntriesTable);
    }

    ChunkId Write(int index, FolderId folder, SampleRandom& random,
                  const std::vector<std::vector<BYTE>>& pictures, int& entries) {
        const ChunkId key = m_next++;
        if (key > kMaxKey)
            throw std::runtime_error("no chunk keys left");
        const std::string noun = random.Pick(kChunkNouns);
        const std::string name = noun + " " + std::to_string(index + 1);
        const std::string place = random.Pick(kPlaces);
        const std::string photographer = random.Pick(kPhotographers);
        const double created = kFirstDay + random.Below(3650) + random.Below(86400) / 86400.0;
        const double modified = created + random.Below(400) + random.Below(86400) / 86400.0;

        m_chunks.AddNew();
        Set(chunk_col::SysId, COleVariant(static_cast<std::int32_t>(key)));
        Set(chunk_col::UsrId, COleVariant(name.c_str()));
        Set(chunk_col::TextTitle, COleVariant((noun + " in " + place).c_str()));
        Set(chunk_col::CreateDate, COleVariant(COleDateTime(created)));
        Set(chunk_col::ModifyDate, COleVariant(COleDateTime(modified)));
        Set(chunk_col::Ver, COleVariant(std::int32_t{1 + random.Below(3)}));
        Set(chunk_col::ChunkFlags, COleVariant(std::int32_t{0}));
        Set(chunk_col::Attributes, COleVariant(std::int32_t{0}));
        Set(chunk_col::DirId, COleVariant(static_cast<std::int32_t>(folder)));
        if (!random.OneIn(4))
            Set(chunk_col::Comments, COleVariant(("Aufgenommen in " + place).c_str()));
        if (!random.OneIn(7)) {
            Set(chunk_col::Text,
                Bytes(name + "\r\nOrt: " + place + "\r\nFotograf: " + photographer +
                      "\r\nStandbild Nr. " + std::to_string(index + 1)));
        }
        Set(chunk_col::Author, COleVariant(photographer.c_str()));
        Set(chunk_col::Keywords, COleVariant((noun + "; " + place).c_str()));
        Set(chunk_col::Revision, COleVariant(static_cast<std::int16_t>(1 + random.Below(5))));
        // Every eleventh chunk has no picture; the others go through the pool so that the first
        // few already show every bit depth.
        if (index % 11 != 10)
            Set(chunk_col::Preview, COleVariant(pictures[index % pictures.size()]));

        if (!random.OneIn(6))
            Set(chunk_col::Photographer, COleVariant(photographer.c_str()));
        if (!random.OneIn(6))
            Set(chunk_col::PictureNumber, COleVariant(std::int32_t{1000 + index}));
        if (!random.OneIn(6)) {
            const VARIANT_BOOL released = random.OneIn(2) ? VARIANT_TRUE : VARIANT_FALSE;
            Set(chunk_col::Released, COleVariant(std::int16_t{released}, VT_BOOL));
        }
        if (!random.OneIn(6))
            Set(chunk_col::Fee, COleVariant(COleCurrency::FromScaled(random.Below(50000) * 100LL)));
        if (!random.OneIn(6))
            Set(chunk_col::ShotDate,
                COleVariant(COleDateTime(static_cast<double>(static_cast<long>(created)))));
        if (!random.OneIn(6)) {
            const int exposure = random.Pick(kExposures);
            Set(chunk_col::Exposure, COleVariant(1.0 / exposure));
        }
        m_chunks.Update();

        if (index % 3 == 0) {
            const int count = 1 + random.Below(4);
            for (int entry = 1; entry <= count; ++entry)
                WriteEntry(key, entry, random);
            entries += count;
        }
        return key;
    }

private:
    // 1 January 2015 as an OLE date.
    static constexpr double kFirstDay = 42005.0;

    void Set(int column, const COleVariant& value) { m_chunks.SetFieldValue(column, value); }

    void WriteEntry(ChunkId chunk, int key, SampleRandom& random) {
        const std::string name = std::string(random.Pick(kEntryNames)) + " " + std::to_string(key);
        m_entries.AddNew();
        m_entries.SetFieldValue(entry_col::ChunkSysId,
                                COleVariant(static_cast<std::int32_t>(chunk)));
        m_entries.SetFieldValue(entry_col::EntryKey, COleVariant(std::int32_t{key}));
        m_entries.SetFieldValue(entry_col::Name, COleVariant(name.c_str()));
        m_entries.Update();
    }

    CDaoRecordset m_chunks;
    CDaoRecordset m_entries;
    ChunkId m_next;
};

} // namespace

SampleSummary PopulateSample(Project& project, const SampleOptions& options) {
    CDaoDatabase& database = project.database();
    if (g_context.database != &database)
        throw std::logic_error("the library is not initialised with this project");
    if (options.folders < 0 || options.chunks < 0)
        throw std::invalid_argument("negative sample size");
    if (!database.TableExists("EXPLORER") && !EXPL_CreateNewTable())
        throw std::runtime_error("the library could not create its folder table");

    SampleRandom random(options.seed);
    SampleSummary summary;
    Transaction transaction(database);

    const std::vector<SampleFolder> folders = MakeFolders(options.folders, random);
    for (const SampleFolder& folder : folders) {
        summary.folders.push_back(folder.key);
        summary.depth = std::max(summary.depth, folder.depth);
    }

    if (options.chunks > 0) {
        const std::vector<std::vector<BYTE>> pictures = MakePicturePool();
        ChunkWriter writer(database, HighestChunkKey(database) + 1);
        for (int i = 0; i < options.chunks; ++i) {
            // The root holds chunks too.
            const int slot = random.Below(static_cast<int>(folders.size()) + 1);
            const FolderId folder = slot == 0 ? 0 : folders[slot - 1].key;
            const ChunkId key = writer.Write(i, folder, random, pictures, summary.entries);
            if (i == 0)
                summary.firstChunk = key;
            summary.lastChunk = key;
        }
    }
    transaction.Commit();
    return summary;
}

} // namespace refhost
