// A freshly loaded library working on a new reference-host project in a directory of its own,
// with message boxes and beeps recorded.
#pragma once

#include "host/project.h"
#include "interface/context.h"
#include "interface/explorer.h"
#include "platform/user_notifier.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class LibraryTest : public ::testing::Test {
protected:
    LibraryTest();
    ~LibraryTest() override;

    // EXPL_Init on the project with the given flag, the folder table made first when asked for.
    void InitLibrary(int readOnly = 0, bool withFolderTable = true);

    CDaoDatabase& db() { return m_project->database(); }
    std::string ReadFileBytes() const;

    TempDir m_dir;
    std::unique_ptr<refhost::Project> m_project;
    EXPLORER_CALLBACK m_callback{};
    RecordingNotifier m_notifier;
    ScopedUserNotifier m_notifierScope{m_notifier};
};

// Makes folder `name` under `owner` with a key drawn from the counter; fails the test on 0.
FolderId MakeFolder(const char* name, FolderId owner);
