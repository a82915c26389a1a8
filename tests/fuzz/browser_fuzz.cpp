// Folder and chunk tables holding whatever another program could have stored: the store's
// queries and the browser dialog in each mode (the whole tree opened, the folders listed one after
// another, each list sorted by every column, the last row shown in the info pane) must cope.
#include "dialog/explorer_dialog.h"
#include "host/host.h"
#include "host/project.h"
#include "interface/explorer.h"
#include "platform/app.h"
#include "platform/global_memory.h"
#include "platform/headless/test_driver.h"
#include "platform/user_notifier.h"
#include "resources/resource_ids.h"
#include "store/chunk_records.h"
#include "store/folder_records.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kMostRows = 40;
constexpr FolderId kFoldersAsked = 8;
constexpr int kFoldersListed = 6;

struct Fixture {
    Fixture() {
        if (!EXPL_Init(&project->database(), refhost::Host::Callbacks(), 0) ||
            !EXPL_CreateNewTable())
            std::abort();
    }

    CWinApp app;
    RecordingNotifier notifier;
    ScopedUserNotifier notifierScope{notifier};
    TempDir dir;
    std::unique_ptr<refhost::Project> project = refhost::Project::Create(dir.File("project.db"));
    refhost::Host host{project->database()};
};

void FillTables(CDaoDatabase& database, FuzzInput& in) {
    database.Execute("DELETE FROM EXPLORER");
    database.Execute("DELETE FROM CHUNKS");
    for (int row = 0; row < kMostRows && in.More(); ++row) {
        std::string sql;
        if (in.Byte() & 1) {
            const std::string key = StoredValueLiteral(in), name = StoredValueLiteral(in),
                              owner = StoredValueLiteral(in);
            sql = "INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) VALUES (" + key +
                  ", " + name + ", " + owner + ", '-', '-')";
        } else {
            const std::string key = StoredValueLiteral(in), name = StoredValueLiteral(in),
                              date = StoredValueLiteral(in), folder = StoredValueLiteral(in),
                              extra = StoredValueLiteral(in), text = StoredValueLiteral(in);
            sql = "INSERT INTO CHUNKS (ChunkSysID, ChunkUsrID, ModifyDate, DirID, ADD_Fotograf, "
                  "ADD_Aufnahmedatum, Text) VALUES (" +
                  key + ", " + name + ", " + date + ", " + folder + ", " + extra + ", " + extra +
                  ", " + text + ")";
        }
        try {
            database.Execute(sql.c_str());
        } catch (const CDaoException&) {
            // A row the tables' keys refuse (a key twice, say) is left out.
        }
    }
}

void AskTheStore() {
    for (FolderId key = 0; key < kFoldersAsked; ++key) {
        CDWordArray keys;
        CStringArray names;
        GetSubFolders(key, keys, &names);
        GetFolderChunks(key, keys, &names);
        HasSubFolders(key);
        HasChunks(key);
        CString path;
        GetFolderPath(key, path);
        IsDescendant(key, (key + 3) % kFoldersAsked);
        GetFolderOwner(key);
        GetChunkFolder(key);
        int count = 0;
        if (void* block = EXPL_GetDirIDs(key, count))
            GlobalFree(static_cast<HGLOBAL>(block));
    }
}

void Browse(std::uint8_t how) {
    ExplorerDialog dialog;
    dialog.m_mode = static_cast<ExplorerMode>(how % 4);
    const std::uint32_t start = (how >> 2) % kFoldersAsked;
    dialog.m_folderKey = start == kFoldersAsked - 1 ? kNoKey : start;
    dialog.m_strTitle = "Auswahl";
    headless::TestDriver driver;
    driver.Then([&](UiDriver& d) {
        CTreeCtrl& tree = dialog.m_tree;
        CListCtrl& list = dialog.m_list;
        tree.SetFocus();
        tree.SelectItem(tree.GetRootItem());
        d.PressKey(VK_MULTIPLY);
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        for (int i = 0; i < kFoldersListed; ++i) {
            tree.SetFocus();
            d.PressKey(VK_DOWN);
            for (int column = 0; column < list.GetColumnCount(); ++column)
                d.ClickColumnHeader(list, column);
            if (list.GetItemCount() > 0) {
                d.ClickListItem(list, list.GetItemCount() - 1);
                d.ClickToolbarButton(dialog.m_toolBar, ID_INFO_PANE);
            }
        }
        d.PressKey(VK_ESCAPE);
    });
    dialog.DoModal();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    FuzzInput in(data, size);
    const std::uint8_t how = in.Byte();
    FillTables(fixture.project->database(), in);
    AskTheStore();
    Browse(how);
    fixture.notifier.messages.clear();
    return 0;
}
