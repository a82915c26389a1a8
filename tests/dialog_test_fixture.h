// The browser dialog on a reference-host project, driven through the test driver of the backend
// a test names: the headless one, or, through OnEveryBackend, each one the test binary has.
#pragma once

#include "dialog/explorer_dialog.h"
#include "host/host.h"
#include "platform/ui_driver.h"
#include "tests/support/library_fixture.h"
#include "tests/support/on_every_backend.h"
#include "tests/support/open_dialog.h"

#include <functional>
#include <string>
#include <vector>

class DialogTest : public BackendTest {
protected:
    // EXPL_Init with the reference host's callbacks; the folder table is made by a writing host
    // first, as a read-only host would find it.
    void Init(int readOnly = 0) {
        ASSERT_EQ(EXPL_Init(&db(), refhost::Host::Callbacks(), 0), 1);
        ASSERT_EQ(EXPL_CreateNewTable(), 1);
        if (readOnly == 0)
            return;
        ReloadLibraryContext();
        ASSERT_EQ(EXPL_Init(&db(), refhost::Host::Callbacks(), readOnly), 1);
    }

    ChunkId MakeChunk(const char* name, FolderId folder) {
        const ChunkId key = m_host.chunks().Create(name, folder);
        EXPECT_NE(key, kNoChunk) << "chunk " << name;
        return key;
    }

    // Runs `dialog` in `mode` starting at `folder`, as an entry point seeds it.
    static INT_PTR Run(ExplorerDialog& dialog, ExplorerMode mode, std::uint32_t folder = kNoKey) {
        dialog.m_strTitle = "Auswahl";
        dialog.m_mode = mode;
        dialog.m_folderKey = folder;
        return dialog.DoModal();
    }

    // Runs `dialog` as Run does with `step` as its script, then presses Escape: the step must
    // leave the dialog open, and the run must end cancelled with the whole script done.
    void RunThenEscape(ExplorerDialog& dialog, ExplorerMode mode, std::uint32_t folder,
                       const std::function<void(UiDriver&)>& step) {
        m_driver->Then([&](UiDriver& driver) {
            step(driver);
            EscapeOpenDialog(driver);
        });
        EXPECT_EQ(Run(dialog, mode, folder), IDCANCEL);
        ExpectScriptDone();
    }

    // The browser dialog of the innermost modal run.
    static ExplorerDialog* Active(UiDriver& driver) {
        return dynamic_cast<ExplorerDialog*>(driver.ActiveWindow());
    }

    // Everything the script expected to happen did, and nothing was left running.
    void ExpectScriptDone() {
        EXPECT_EQ(m_driver->PendingSteps(), 0u);
        EXPECT_TRUE(m_driver->Failures().empty())
            << (m_driver->Failures().empty() ? "" : m_driver->Failures().front());
    }

    refhost::Host m_host{db()};
};

inline std::vector<std::string> ChildTexts(const CTreeCtrl& tree, HTREEITEM parent) {
    std::vector<std::string> texts;
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
        texts.push_back(tree.GetItemText(item).str());
    return texts;
}

inline std::vector<ItemTag> ChildTags(const CTreeCtrl& tree, HTREEITEM parent) {
    std::vector<ItemTag> tags;
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
        tags.push_back(static_cast<ItemTag>(tree.GetItemData(item)));
    return tags;
}

inline bool IsExpanded(const CTreeCtrl& tree, HTREEITEM item) {
    return (tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

inline ItemTag FolderTag(FolderId key) {
    return MakeTag(key, ItemKind::Folder);
}

inline ItemTag ChunkTag(ChunkId key) {
    return MakeTag(key, ItemKind::Chunk);
}
