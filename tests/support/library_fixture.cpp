#include "tests/support/library_fixture.h"

#include <fstream>
#include <iterator>

LibraryTest::LibraryTest() {
    ReloadLibraryContext();
    m_project = refhost::Project::Create(m_dir.File("project.db"));
}

LibraryTest::~LibraryTest() {
    ReloadLibraryContext();
}

void LibraryTest::InitLibrary(int readOnly, bool withFolderTable) {
    if (withFolderTable) {
        // The folder table is made by a writing host; a read-only run finds it in place.
        ASSERT_EQ(EXPL_Init(&db(), &m_callback, 0), 1);
        ASSERT_EQ(EXPL_CreateNewTable(), 1);
        if (readOnly == 0)
            return;
        ReloadLibraryContext();
    }
    ASSERT_EQ(EXPL_Init(&db(), &m_callback, readOnly), 1);
}

std::string LibraryTest::ReadFileBytes() const {
    std::ifstream in(m_project->path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

FolderId MakeFolder(const char* name, FolderId owner) {
    const std::int32_t key = EXPL_CreateFolder(name, static_cast<std::int32_t>(owner), -1);
    EXPECT_NE(key, 0) << "folder " << name;
    return static_cast<FolderId>(key);
}
