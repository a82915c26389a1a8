// The tree and the list under long random runs of selections, openings, expansions, collapses,
// clicks, keys and column sorts in every mode, checked after each step against the store: an item
// whose children were read shows exactly the store's children (keys and names) in the store's
// order, a placeholder stands only where something lies below, and the current item, the list (a
// folder's children in the store's order or the sort key's, a chunk's entries) and the caption
// agree.
#include "store/chunk_records.h"
#include "store/folder_records.h"
#include "tests/dialog_test_fixture.h"
#include "tests/list_dialog_fixture.h"
#include "tests/support/test_seed.h"

#include <algorithm>
#include <random>

namespace {

class DialogTreeModelTest : public OnEveryBackend<ListDialogTest> {
protected:
    int Roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); }

    // A random project: folders under folders (some deep, some empty), chunks in some of them
    // and in the root, names repeating in places.
    void MakeProject() {
        folders = {0, a, b, a1, a2};
        for (int i = 0; i < 25; ++i) {
            const FolderId owner = folders[static_cast<std::size_t>(Roll(int(folders.size())))];
            const std::string name = "F" + std::to_string(Roll(12));
            folders.push_back(MakeFolder(name.c_str(), owner));
        }
        chunkKeys = {c1, c2};
        for (int i = 0; i < 30; ++i) {
            const FolderId folder = folders[static_cast<std::size_t>(Roll(int(folders.size())))];
            chunkKeys.push_back(chunks().Create(("S" + std::to_string(Roll(9))).c_str(), folder));
            for (int entries = Roll(3); entries > 0; --entries)
                chunks().AddEntry(chunkKeys.back(), ("E" + std::to_string(Roll(5))).c_str());
        }
    }

    // What the store holds directly below `folder`: sub-folders, then chunks when asked for.
    static std::vector<ItemTag> StoreChildren(FolderId folder, bool withChunks,
                                              std::vector<std::string>* names = nullptr) {
        std::vector<ItemTag> tags;
        CDWordArray keys;
        CStringArray texts;
        GetSubFolders(folder, keys, &texts);
        for (int i = 0; i < keys.GetSize(); ++i) {
            tags.push_back(FolderTag(keys[i]));
            if (names)
                names->push_back(texts[i].str());
        }
        if (withChunks) {
            GetFolderChunks(folder, keys, &texts);
            for (int i = 0; i < keys.GetSize(); ++i) {
                tags.push_back(ChunkTag(keys[i]));
                if (names)
                    names->push_back(texts[i].str());
            }
        }
        return tags;
    }

    // Every item below `parent` against the store.
    void CheckTreeBelow(CTreeCtrl& tree, HTREEITEM parent, bool target) {
        const auto tag = static_cast<ItemTag>(tree.GetItemData(parent));
        const std::vector<ItemTag> children = ChildTags(tree, parent);
        if (TagKind(tag) != ItemKind::Folder) {
            ASSERT_TRUE(children.empty()) << "a chunk item has children";
            return;
        }
        std::vector<std::string> names;
        const std::vector<ItemTag> expected = StoreChildren(TagKey(tag), target, &names);
        if (children == std::vector<ItemTag>{kPlaceholderTag}) {
            ASSERT_FALSE(expected.empty()) << "a placeholder below " << TagKey(tag);
            ASSERT_FALSE(IsExpanded(tree, parent));
            return;
        }
        ASSERT_EQ(children, expected) << "children of folder " << TagKey(tag);
        ASSERT_EQ(ChildTexts(tree, parent), names) << "children of folder " << TagKey(tag);
        for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
            CheckTreeBelow(tree, item, target);
    }

    void CheckCurrentItem(ExplorerDialog& dialog) {
        CTreeCtrl& tree = dialog.m_tree;
        HTREEITEM selected = tree.GetSelectedItem();
        if (!selected) {
            sortedTag = NoItem;
            ASSERT_EQ(dialog.m_curTag, NoItem);
            return;
        }
        const auto tag = static_cast<ItemTag>(tree.GetItemData(selected));
        // Another item was current since the sort (a chunk's, say): the list was filled anew.
        if (sortedTag != tag)
            sortedTag = NoItem;
        ASSERT_EQ(dialog.m_curTag, tag);
        CString caption;
        dialog.GetDlgItemText(IDC_CAPTION, caption);
        const std::string word = TagKind(tag) == ItemKind::Chunk ? "Standbild" : "Verzeichnis";
        ASSERT_EQ(caption.str(), word + " \"" + tree.GetItemText(selected).str() + "\"");
        // Every item above the current one is open.
        for (HTREEITEM up = tree.GetParentItem(selected); up; up = tree.GetParentItem(up))
            ASSERT_TRUE(IsExpanded(tree, up));
        if (TagKind(tag) != ItemKind::Folder) {
            // The chunk's entries, as the host keeps them.
            std::vector<ItemTag> entries;
            std::vector<std::string> entryNames;
            for (const refhost::Entry& entry : chunks().Entries(TagKey(tag))) {
                entries.push_back(MakeTag(entry.key, ItemKind::Entry));
                entryNames.push_back(entry.name);
            }
            ASSERT_EQ(RowTags(dialog.m_list), entries);
            ASSERT_EQ(ColumnTexts(dialog.m_list, 0), entryNames);
            return;
        }
        std::vector<std::string> names;
        const std::vector<ItemTag> rows =
            StoreChildren(TagKey(tag), dialog.m_mode != ExplorerMode::Folder, &names);
        if (sortedTag != tag) {
            // Filled anew: the store's order.
            ASSERT_EQ(RowTags(dialog.m_list), rows);
            ASSERT_EQ(ColumnTexts(dialog.m_list, 0), names);
            return;
        }
        // Sorted since it was filled: the same rows in the order of the sort key.
        std::vector<ItemTag> listed = RowTags(dialog.m_list);
        for (std::size_t i = 1; i < listed.size(); ++i)
            ASSERT_LE(ExplorerDialog::CompareRows(listed[i - 1], listed[i], dialog.m_sortColumn), 0)
                << "row " << i << ", sort key " << dialog.m_sortColumn;
        std::vector<ItemTag> expected = rows;
        std::sort(listed.begin(), listed.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(listed, expected);
    }

    // All items of the tree, depth first.
    static void Items(CTreeCtrl& tree, HTREEITEM parent, std::vector<HTREEITEM>& out) {
        for (HTREEITEM item = tree.GetChildItem(parent); item;
             item = tree.GetNextSiblingItem(item)) {
            out.push_back(item);
            Items(tree, item, out);
        }
    }

    // Whether every item above `item` is open, so that the user can reach it.
    static bool Reachable(CTreeCtrl& tree, HTREEITEM item) {
        for (HTREEITEM up = tree.GetParentItem(item); up; up = tree.GetParentItem(up))
            if (!IsExpanded(tree, up))
                return false;
        return true;
    }

    void RunSteps(ExplorerDialog& dialog, UiDriver& driver, int steps) {
        CTreeCtrl& tree = dialog.m_tree;
        const bool target = dialog.m_mode == ExplorerMode::Target;
        for (int step = 0; step < steps; ++step) {
            std::string what;
            const int action = Roll(9);
            if (action <= 1) {
                const FolderId folder =
                    folders[static_cast<std::size_t>(Roll(int(folders.size())))];
                const bool expand = Roll(2) == 0;
                what = "SelectTreeItem folder " + std::to_string(folder);
                ASSERT_TRUE(action == 0 ? dialog.SelectTreeItem(folder, ItemKind::Folder, expand)
                                        : dialog.OpenItem(FolderTag(folder), expand))
                    << what;
                ASSERT_EQ(dialog.m_curTag, FolderTag(folder)) << what;
            } else if (action == 8) {
                // A click on a column header of the details view sorts the list.
                if (TagKind(dialog.m_curTag) != ItemKind::Folder)
                    continue;
                driver.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
                const int column = Roll(4);
                what = "sort by column " + std::to_string(column);
                driver.ClickColumnHeader(dialog.m_list, column);
                sortedTag = dialog.m_curTag;
            } else if (action == 2 && target) {
                const ChunkId chunk =
                    chunkKeys[static_cast<std::size_t>(Roll(int(chunkKeys.size())))];
                what = "OpenItem chunk " + std::to_string(chunk);
                ASSERT_TRUE(dialog.OpenItem(ChunkTag(chunk), FALSE)) << what;
                ASSERT_EQ(dialog.m_curTag, ChunkTag(chunk)) << what;
            } else {
                std::vector<HTREEITEM> items{dialog.m_hRoot};
                Items(tree, dialog.m_hRoot, items);
                HTREEITEM item = items[static_cast<std::size_t>(Roll(int(items.size())))];
                if (tree.GetItemData(item) == kPlaceholderTag)
                    item = tree.GetParentItem(item);
                what = "item " + std::string(tree.GetItemText(item).str());
                if (action >= 6 && !Reachable(tree, item))
                    continue;
                if (action == 6) {
                    // The user's click on the button: an expansion reported every time.
                    what = "click the button of " + what;
                    // Items at the top have no button: the tree draws no lines at the root.
                    if (!tree.ItemHasChildren(item) || !tree.GetParentItem(item))
                        continue;
                    driver.ClickTreeButton(tree, item);
                } else if (action == 7) {
                    static const UINT kKeys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_HOME};
                    const UINT key = kKeys[Roll(5)];
                    what = "key " + std::to_string(key) + " from " + what;
                    driver.ClickTreeItem(tree, item);
                    // A click that moved away refilled the list, even if the key comes back.
                    if (dialog.m_curTag != sortedTag)
                        sortedTag = NoItem;
                    driver.PressKey(key);
                } else if (action == 3) {
                    what = "expand " + what;
                    tree.Expand(item, TVE_EXPAND);
                } else if (action == 4) {
                    what = "collapse " + what;
                    tree.Expand(item, TVE_COLLAPSE);
                } else {
                    what = "select " + what;
                    tree.SelectItem(item);
                }
            }
            SCOPED_TRACE(what + " at step " + std::to_string(step));
            CheckTreeBelow(tree, dialog.m_hRoot, target);
            CheckCurrentItem(dialog);
            if (HasFatalFailure())
                return;
        }
    }

    std::mt19937 random{TestSeed(7)};
    std::vector<FolderId> folders;
    std::vector<ChunkId> chunkKeys;
    ItemTag sortedTag = NoItem; // the current item whose list was sorted since it was filled
};

TEST_P(DialogTreeModelTest, RandomRunsKeepTreeListAndCaptionTrueToTheStore) {
    MakeProject();
    // Real input through an X server takes some 30 ms a step: fewer steps there.
    const int steps = Backend() == "headless" ? 160 : 40;
    for (const ExplorerMode mode :
         {ExplorerMode::Folder, ExplorerMode::Target, ExplorerMode::Chunk, ExplorerMode::SaveAs}) {
        for (const FolderId start : {FolderId(0), a, folders.back()}) {
            SCOPED_TRACE("mode " + std::to_string(int(mode)) + ", start " + std::to_string(start));
            ExplorerDialog dialog;
            sortedTag = NoItem;
            Run(dialog, mode, start, [&](UiDriver& driver) { RunSteps(dialog, driver, steps); });
            if (HasFatalFailure())
                return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, DialogTreeModelTest, testing::ValuesIn(UiDriverNames()));

} // namespace
