// The folder and chunk store under long random runs of what the library and its host do to a
// project: folders made (with drawn keys, keys of their own and keys already taken), renamed,
// deleted and moved; chunks made, renamed and removed by the host and moved by the library; and
// stretches of read-only access among them. After every step each listing, test and path the store
// answers is checked against a plain model: sub-folders and chunks in the order they were added,
// whatever moved them since.
#include "host/chunk_table.h"
#include "platform/global_memory.h"
#include "store/chunk_records.h"
#include "store/folder_records.h"
#include "store/item_tag.h"
#include "tests/support/library_fixture.h"
#include "tests/support/listing_values.h"
#include "tests/support/test_seed.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <set>

namespace {

constexpr FolderId kMissingFolder = 777777;
constexpr ChunkId kMissingChunk = 888888;

struct ModelFolder {
    std::int32_t owner;
    std::string name;
    int added; // the record's place in the table: equal keys list in this order
};

struct ModelChunk {
    FolderId folder;
    std::string name;
    int added;
};

// The keys of the records that `picked` chooses, in the order the records were added, with their
// names when asked for.
template <class Records, class Picked>
std::vector<DWORD> InAddedOrder(const Records& records, Picked picked,
                                std::vector<std::string>* names) {
    std::vector<std::pair<int, DWORD>> found;
    for (const auto& [id, record] : records)
        if (picked(id, record))
            found.emplace_back(record.added, id);
    std::sort(found.begin(), found.end());
    std::vector<DWORD> keys;
    for (const auto& [added, id] : found) {
        keys.push_back(id);
        if (names)
            names->push_back(records.at(id).name);
    }
    return keys;
}

class StoreModel {
public:
    std::map<FolderId, ModelFolder> folders;
    std::map<ChunkId, ModelChunk> chunks;
    std::int32_t counter = 0;

    void AddFolder(FolderId key, std::int32_t owner, std::string name) {
        folders[key] = {owner, std::move(name), m_added++};
    }
    void AddChunk(ChunkId key, FolderId folder, std::string name) {
        chunks[key] = {folder, std::move(name), m_added++};
    }

    // The root is nobody's sub-folder.
    std::vector<DWORD> SubFolders(FolderId key, std::vector<std::string>* names = nullptr) const {
        return InAddedOrder(
            folders,
            [&](FolderId id, const ModelFolder& folder) {
                return id != 0 && static_cast<FolderId>(folder.owner) == key;
            },
            names);
    }

    bool HasSubFolders(FolderId key) const {
        return std::any_of(folders.begin(), folders.end(), [&](const auto& entry) {
            return static_cast<FolderId>(entry.second.owner) == key;
        });
    }

    std::vector<DWORD> Chunks(FolderId key, std::vector<std::string>& names) const {
        return InAddedOrder(
            chunks, [&](ChunkId, const ModelChunk& chunk) { return chunk.folder == key; }, &names);
    }

    // The path and whether its chain reaches the root (the runs make no owner cycles).
    std::pair<int, std::string> Path(FolderId key) const {
        std::string path;
        while (key != 0) {
            const auto it = folders.find(key);
            if (it == folders.end())
                return {0, path};
            path = "\\" + it->second.name + path;
            if (it->second.owner == 0)
                break;
            key = static_cast<FolderId>(it->second.owner);
        }
        return {1, path};
    }

    bool IsDescendant(FolderId folder, FolderId candidate) const {
        for (DWORD child : SubFolders(folder))
            if (child == candidate || IsDescendant(child, candidate))
                return true;
        return false;
    }

    // Whether filing `key` under `owner` would make the owner chain come back to `key`.
    bool WouldCycle(FolderId key, FolderId owner) const {
        for (FolderId at = owner;;) {
            if (at == key)
                return true;
            const auto it = folders.find(at);
            if (it == folders.end() || at == 0)
                return false;
            at = static_cast<FolderId>(it->second.owner);
        }
    }

private:
    int m_added = 0;
};

class StoreModelTest : public LibraryTest {
protected:
    void Check(const std::string& step) {
        SCOPED_TRACE(step);
        std::set<FolderId> keys{kMissingFolder, 0xFFFFFFFFu};
        for (const auto& [key, folder] : m_model.folders) {
            keys.insert(key);
            keys.insert(static_cast<FolderId>(folder.owner));
        }
        for (const auto& [key, chunk] : m_model.chunks)
            keys.insert(chunk.folder);
        for (FolderId key : keys) {
            SCOPED_TRACE("folder " + std::to_string(key));
            const auto folder = m_model.folders.find(key);
            const bool exists = folder != m_model.folders.end();
            EXPECT_EQ(FolderExists(key) != 0, exists);
            EXPECT_EQ(GetFolderOwner(key), exists ? folder->second.owner : 0);
            EXPECT_EQ(HasSubFolders(key) != 0, m_model.HasSubFolders(key));

            CDWordArray found;
            CStringArray names;
            std::vector<std::string> expectedNames;
            ASSERT_EQ(GetSubFolders(key, found, &names), 1);
            EXPECT_EQ(Keys(found), m_model.SubFolders(key, &expectedNames));
            EXPECT_EQ(Names(names), expectedNames);

            expectedNames.clear();
            ASSERT_EQ(GetFolderChunks(key, found, &names), 1);
            EXPECT_EQ(Keys(found), m_model.Chunks(key, expectedNames));
            EXPECT_EQ(Names(names), expectedNames);
            EXPECT_EQ(HasChunks(key) != 0, !expectedNames.empty());

            CString path;
            const auto [result, expectedPath] = m_model.Path(key);
            EXPECT_EQ(GetFolderPath(key, path), result);
            EXPECT_EQ(path.str(), expectedPath);
        }
        for (const auto& [key, chunk] : m_model.chunks)
            EXPECT_EQ(static_cast<FolderId>(GetChunkFolder(key)), chunk.folder) << "chunk " << key;
        EXPECT_EQ(GetChunkFolder(kMissingChunk), 0);

        const FolderId from = AnyFolder(), candidate = AnyFolder();
        EXPECT_EQ(IsDescendant(from, candidate) != 0, m_model.IsDescendant(from, candidate))
            << from << " above " << candidate;
        int count = -1;
        const std::vector<DWORD> children = m_model.SubFolders(from);
        auto block = static_cast<HGLOBAL>(EXPL_GetDirIDs(from, count));
        EXPECT_EQ(count, static_cast<int>(children.size()));
        ASSERT_EQ(block != nullptr, !children.empty());
        if (block) {
            std::vector<DWORD> listed(children.size());
            std::memcpy(listed.data(), GlobalLockGuard(block).data(),
                        listed.size() * sizeof(DWORD));
            EXPECT_EQ(listed, children);
            GlobalFree(block);
        }
        EXPECT_EQ(m_notifier.messages.size(), m_expectedMessages);
    }

    FolderId AnyFolder() {
        if (Chance(10))
            return kMissingFolder;
        auto it = m_model.folders.begin();
        std::advance(it, Below(static_cast<int>(m_model.folders.size())));
        return it->first;
    }
    ChunkId AnyChunk() {
        if (m_model.chunks.empty() || Chance(10))
            return kMissingChunk;
        auto it = m_model.chunks.begin();
        std::advance(it, Below(static_cast<int>(m_model.chunks.size())));
        return it->first;
    }
    std::string AnyName() {
        static const char* const kNames[] = {"Urlaub", "Größe", "a\\b", "O'Neil", "\"x\"",
                                             "Ärger",  "zzz",   "Z",    "Urlaub"};
        return std::string(kNames[Below(9)]) + std::to_string(Below(100));
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool Chance(int percent) { return Below(100) < percent; }

    std::string CreateFolder() {
        // Now and then the root's own owner, -1, which no path leads through.
        const FolderId owner = Chance(5) ? 0xFFFFFFFFu : AnyFolder();
        const std::string name = AnyName();
        // Mostly a drawn key; else one of its own: taken already, or one the counter will reach.
        std::int32_t key = -1;
        if (Chance(15))
            key = static_cast<std::int32_t>(AnyFolder());
        else if (Chance(15))
            key = m_model.counter + 1 + Below(3);
        const FolderId made =
            key == -1 ? static_cast<FolderId>(m_model.counter + 1) : FolderId(key);
        const bool fails = m_model.folders.count(made) != 0;
        if (!fails && m_model.WouldCycle(made, owner))
            return "skipped";
        if (key == -1)
            ++m_model.counter; // drawn even when the key turns out to be taken
        EXPECT_EQ(CreateFolderRecord(name.c_str(), static_cast<std::int32_t>(owner), key),
                  fails ? 0 : static_cast<std::int32_t>(made));
        if (fails)
            ++m_expectedMessages; // the engine's refusal of a taken key
        else
            m_model.AddFolder(made, static_cast<std::int32_t>(owner), name);
        return "create " + std::to_string(made) + " under " + std::to_string(owner);
    }

    std::string Move() {
        const FolderId target = AnyFolder();
        CDWordArray items;
        bool complete = true;
        std::vector<std::pair<FolderId, bool>> moved; // key, is a folder
        for (int n = 1 + Below(4); n > 0; --n) {
            const bool isFolder = Chance(50);
            const std::uint32_t key = isFolder ? AnyFolder() : AnyChunk();
            if (isFolder && (key == 0 || m_model.WouldCycle(key, target)))
                continue;
            items.Add(MakeTag(key, isFolder ? ItemKind::Folder : ItemKind::Chunk));
            // The first missing key ends the move.
            complete = complete &&
                       (isFolder ? m_model.folders.count(key) : m_model.chunks.count(key)) != 0;
            if (complete)
                moved.emplace_back(key, isFolder);
        }
        const bool readOnly = IsReadOnly();
        EXPECT_EQ(MoveItems(items, target), readOnly || complete ? 1 : 0);
        if (!readOnly) {
            // Entries before a missing one stay moved.
            for (const auto& [key, isFolder] : moved) {
                if (isFolder)
                    m_model.folders[key].owner = static_cast<std::int32_t>(target);
                else
                    m_model.chunks[key].folder = target;
            }
        }
        return "move " + std::to_string(items.GetSize()) + " items to " + std::to_string(target);
    }

    std::string Step() {
        const bool readOnly = IsReadOnly();
        const int kind = Below(100);
        if (kind < 25)
            return CreateFolder();
        if (kind < 35) {
            const FolderId key = AnyFolder();
            const std::string name = AnyName();
            const bool exists = m_model.folders.count(key) != 0;
            EXPECT_EQ(RenameFolderRecord(key, name.c_str()), readOnly || exists ? 1 : 0);
            if (exists && !readOnly)
                m_model.folders[key].name = name;
            return "rename folder " + std::to_string(key);
        }
        if (kind < 42) {
            const FolderId key = AnyFolder();
            if (key == 0)
                return "skipped";
            const bool exists = m_model.folders.count(key) != 0;
            EXPECT_EQ(DeleteFolderRecord(key), readOnly || exists ? 1 : 0);
            if (!readOnly)
                m_model.folders.erase(key);
            return "delete folder " + std::to_string(key);
        }
        if (kind < 60)
            return Move();
        if (kind < 80) {
            const FolderId folder = AnyFolder();
            const std::string name = AnyName();
            const ChunkId chunk = m_chunks.Create(name.c_str(), folder);
            EXPECT_NE(chunk, kNoChunk);
            m_model.AddChunk(chunk, folder, name);
            return "host makes chunk " + std::to_string(chunk);
        }
        if (kind < 88) {
            const ChunkId chunk = AnyChunk();
            const std::string name = AnyName();
            EXPECT_EQ(m_chunks.Rename(chunk, name.c_str()), m_model.chunks.count(chunk) != 0);
            if (m_model.chunks.count(chunk))
                m_model.chunks[chunk].name = name;
            return "host renames chunk " + std::to_string(chunk);
        }
        if (kind < 95) {
            const ChunkId chunk = AnyChunk();
            EXPECT_EQ(m_chunks.Remove(chunk), m_model.chunks.erase(chunk) != 0);
            return "host removes chunk " + std::to_string(chunk);
        }
        // Read-only stretches: the host opened the project for reading.
        g_context.readOnly = readOnly ? 0 : 1;
        return readOnly ? "writable" : "read-only";
    }

    StoreModel m_model;
    refhost::ChunkTable m_chunks{db()};
    std::mt19937 m_random{TestSeed(5)};
    std::size_t m_expectedMessages = 0;
};

TEST_F(StoreModelTest, RandomStoreRunsAgreeWithTheModel) {
    InitLibrary();
    m_model.counter = m_project->FolderCounter();
    m_model.AddFolder(0, -1, "");
    Check("start");
    for (int step = 0; step < 250 && !HasFatalFailure(); ++step) {
        const std::string done = Step();
        Check("step " + std::to_string(step) + ": " + done);
        if (HasFailure())
            break;
    }
    EXPECT_GE(m_model.folders.size(), 20u);
    EXPECT_GE(m_model.chunks.size(), 10u);
}

} // namespace
