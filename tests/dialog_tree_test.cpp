// The folder tree: the root, the lazy reading behind placeholders, the start folder, the caption,
// finding and selecting items, and double clicks on folders.
#include "resources/resource_ids.h"
#include "store/chunk_records.h"
#include "store/folder_records.h"
#include "tests/dialog_test_fixture.h"

namespace {

using DialogTreeTest = OnEveryBackend<DialogTest>;

using Texts = std::vector<std::string>;
using Tags = std::vector<ItemTag>;

CString CaptionOf(ExplorerDialog& dialog) {
    CString text;
    dialog.GetDlgItemText(IDC_CAPTION, text);
    return text;
}

TEST_P(DialogTreeTest, FoldersAreReadOnceOnTheirFirstExpansion) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", a);
    MakeFolder("C", b);
    const FolderId d = MakeFolder("D", 0);
    MakeChunk("Nur im Zielmodus", d);

    ExplorerDialog dialog;
    HTREEITEM itemA = nullptr;
    FolderId e = 0;
    m_driver
        ->Then([&](UiDriver&) {
            CTreeCtrl& tree = dialog.m_tree;
            // The root's children are read at once; below them only placeholders.
            EXPECT_TRUE(IsExpanded(tree, dialog.m_hRoot));
            EXPECT_EQ(ChildTexts(tree, dialog.m_hRoot), (Texts{"A", "D"}));
            EXPECT_EQ(ChildTags(tree, dialog.m_hRoot), (Tags{FolderTag(a), FolderTag(d)}));
            itemA = tree.GetChildItem(dialog.m_hRoot);
            EXPECT_EQ(ChildTexts(tree, itemA), (Texts{"zzzzzzzzzztmp"}));
            EXPECT_EQ(ChildTags(tree, itemA), (Tags{kPlaceholderTag}));
            EXPECT_FALSE(IsExpanded(tree, itemA));
            // D holds a chunk only: nothing to expand outside the target mode.
            EXPECT_FALSE(tree.ItemHasChildren(tree.GetNextSiblingItem(itemA)));
            // What is filed before the first expansion shows with it.
            e = MakeFolder("E", a);
        })
        .Then([&](UiDriver& drv) { drv.ClickTreeButton(dialog.m_tree, itemA); })
        .Then([&](UiDriver& drv) {
            CTreeCtrl& tree = dialog.m_tree;
            EXPECT_TRUE(IsExpanded(tree, itemA));
            EXPECT_EQ(ChildTexts(tree, itemA), (Texts{"B", "E"}));
            EXPECT_EQ(ChildTags(tree, itemA), (Tags{FolderTag(b), FolderTag(e)}));
            EXPECT_EQ(ChildTexts(tree, tree.GetChildItem(itemA)), (Texts{"zzzzzzzzzztmp"}));
            EXPECT_TRUE(
                ChildTexts(tree, tree.GetNextSiblingItem(tree.GetChildItem(itemA))).empty());
            // Filed after the first expansion: collapsing and expanding reads nothing again.
            MakeFolder("F", a);
            drv.ClickTreeButton(tree, itemA);
            EXPECT_FALSE(IsExpanded(tree, itemA));
            drv.ClickTreeButton(tree, itemA);
            EXPECT_TRUE(IsExpanded(tree, itemA));
            EXPECT_EQ(ChildTexts(tree, itemA), (Texts{"B", "E"}));
            EscapeOpenDialog(drv);
        });
    EXPECT_EQ(Run(dialog, ExplorerMode::Folder, 0), IDCANCEL);
    ExpectScriptDone();
}

TEST_P(DialogTreeTest, AFolderNamedLikeThePlaceholderIsNotTakenForIt) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    MakeFolder("zzzzzzzzzztmp", a);
    MakeFolder("B", a);
    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Folder, 0, [&](UiDriver& drv) {
        CTreeCtrl& tree = dialog.m_tree;
        const HTREEITEM itemA = tree.GetChildItem(dialog.m_hRoot);
        drv.ClickTreeButton(tree, itemA);
        ASSERT_EQ(ChildTexts(tree, itemA), (Texts{"zzzzzzzzzztmp", "B"}));
        // Expanded again, the folder of that name stays and nothing is read twice.
        drv.ClickTreeButton(tree, itemA);
        drv.ClickTreeButton(tree, itemA);
        EXPECT_TRUE(IsExpanded(tree, itemA));
        EXPECT_EQ(ChildTexts(tree, itemA), (Texts{"zzzzzzzzzztmp", "B"}));
    });
}

// X's only sub-folder vanishes after X got its placeholder; among A's children a record another
// program wrote without its key ends the reading.
TEST_P(DialogTreeTest, ChildrenThatCannotBeReadAreLeftOutAndNotReadAgain) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    MakeFolder("B", a);
    db().Execute(("INSERT INTO EXPLORER (ID, NAME, ID_OWNER, PASS_R, PASS_W) VALUES (NULL, "
                  "'Kaputt', " +
                  std::to_string(a) + ", '-', '-')")
                     .c_str());
    MakeFolder("C", a);
    const FolderId x = MakeFolder("X", 0);
    const FolderId y = MakeFolder("Y", x);
    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Chunk, 0, [&](UiDriver& drv) {
        CTreeCtrl& tree = dialog.m_tree;
        const HTREEITEM itemA = tree.GetChildItem(dialog.m_hRoot);
        const HTREEITEM itemX = tree.GetNextSiblingItem(itemA);
        ASSERT_EQ(ChildTexts(tree, itemX), (Texts{"zzzzzzzzzztmp"}));
        ASSERT_TRUE(DeleteFolderRecord(y));
        drv.ClickTreeButton(tree, itemX);
        EXPECT_EQ(tree.GetChildItem(itemX), nullptr);

        drv.ClickTreeButton(tree, itemA);
        EXPECT_EQ(ChildTexts(tree, itemA), (Texts{"B"}));
        drv.ClickTreeButton(tree, itemA);
        drv.ClickTreeButton(tree, itemA);
        EXPECT_EQ(ChildTexts(tree, itemA), (Texts{"B"}));
        EXPECT_EQ(tree.GetCount(), 4u);
    });
}

TEST_P(DialogTreeTest, TheKeypadStarReadsAndOpensEveryLevelBelow) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", a);
    MakeFolder("C", b);
    MakeFolder("E", MakeFolder("D", 0));
    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Folder, 0, [&](UiDriver& d) {
        CTreeCtrl& tree = dialog.m_tree;
        const HTREEITEM itemA = tree.GetChildItem(dialog.m_hRoot);
        tree.SetFocus();
        tree.SelectItem(itemA);
        d.PressKey(VK_MULTIPLY);
        EXPECT_TRUE(IsExpanded(tree, itemA));
        const HTREEITEM itemB = tree.GetChildItem(itemA);
        EXPECT_EQ(ChildTexts(tree, itemA), (Texts{"B"}));
        EXPECT_TRUE(IsExpanded(tree, itemB));
        EXPECT_EQ(ChildTexts(tree, itemB), (Texts{"C"})); // no placeholder left anywhere
        EXPECT_TRUE(ChildTexts(tree, tree.GetChildItem(itemB)).empty());
        // The sibling stays as it was.
        EXPECT_FALSE(IsExpanded(tree, tree.GetNextSiblingItem(itemA)));
    });
}

TEST_P(DialogTreeTest, ChunksAreTreeItemsInTheTargetModeOnly) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const FolderId onlyChunks = MakeFolder("Bilder", a);
    const ChunkId inRoot1 = MakeChunk("Eins", 0);
    const ChunkId inRoot2 = MakeChunk("Zwei", 0);
    const ChunkId inFolder = MakeChunk("Drei", onlyChunks);

    for (const ExplorerMode mode :
         {ExplorerMode::Folder, ExplorerMode::Target, ExplorerMode::Chunk, ExplorerMode::SaveAs}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const bool target = mode == ExplorerMode::Target;
        ExplorerDialog dialog;
        RunThenEscape(dialog, mode, 0, [&](UiDriver& drv) {
            CTreeCtrl& tree = dialog.m_tree;
            auto images = [&](HTREEITEM item) {
                int image = -1;
                int selected = -1;
                tree.GetItemImage(item, image, selected);
                return std::make_pair(image, selected);
            };
            if (target) {
                EXPECT_EQ(ChildTexts(tree, dialog.m_hRoot), (Texts{"A", "Eins", "Zwei"}));
                EXPECT_EQ(ChildTags(tree, dialog.m_hRoot),
                          (Tags{FolderTag(a), ChunkTag(inRoot1), ChunkTag(inRoot2)}));
                HTREEITEM chunk = tree.GetNextSiblingItem(tree.GetChildItem(dialog.m_hRoot));
                EXPECT_EQ(images(chunk), std::make_pair(1, 1));
                EXPECT_FALSE(tree.ItemHasChildren(chunk));
            } else {
                EXPECT_EQ(ChildTexts(tree, dialog.m_hRoot), (Texts{"A"}));
            }
            HTREEITEM itemA = tree.GetChildItem(dialog.m_hRoot);
            drv.ClickTreeButton(tree, itemA);
            HTREEITEM folder = tree.GetChildItem(itemA);
            ASSERT_NE(folder, nullptr);
            EXPECT_STREQ(tree.GetItemText(folder), "Bilder");
            // Folders, the root among them: closed and open folder pictures.
            EXPECT_EQ(images(dialog.m_hRoot), std::make_pair(0, 3));
            EXPECT_EQ(images(folder), std::make_pair(0, 3));
            // A folder holding only chunks can be expanded in the target mode only.
            EXPECT_EQ(tree.ItemHasChildren(folder) != 0, target);
            if (target) {
                drv.ClickTreeButton(tree, folder);
                EXPECT_EQ(ChildTags(tree, folder), (Tags{ChunkTag(inFolder)}));
            }
        });
    }
}

TEST_P(DialogTreeTest, ARootHoldingOnlyChunksOpensInTheTargetModeOnly) {
    Init();
    const ChunkId only = MakeChunk("Nur ein Bild", 0);
    for (const ExplorerMode mode : {ExplorerMode::Target, ExplorerMode::Chunk}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const bool target = mode == ExplorerMode::Target;
        ExplorerDialog dialog;
        RunThenEscape(dialog, mode, 0, [&](UiDriver&) {
            CTreeCtrl& tree = dialog.m_tree;
            EXPECT_EQ(tree.ItemHasChildren(dialog.m_hRoot) != 0, target);
            EXPECT_EQ(IsExpanded(tree, dialog.m_hRoot), target);
            EXPECT_EQ(ChildTags(tree, dialog.m_hRoot), target ? Tags{ChunkTag(only)} : Tags{});
        });
    }
}

TEST_P(DialogTreeTest, TheStartFolderIsSelectedWithItsAncestorsExpanded) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", a);
    const FolderId c = MakeFolder("C", b);
    const FolderId inner = MakeFolder("Innen", c);
    MakeFolder("Daneben", a);
    const FolderId z = MakeFolder("Z", 0);
    MakeFolder("Unter Z", z);

    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Folder, c, [&](UiDriver& drv) {
        CTreeCtrl& tree = dialog.m_tree;
        HTREEITEM selected = tree.GetSelectedItem();
        ASSERT_NE(selected, nullptr);
        EXPECT_EQ(tree.GetItemData(selected), FolderTag(c));
        EXPECT_EQ(dialog.m_curTag, FolderTag(c));
        EXPECT_STREQ(CaptionOf(dialog), "Verzeichnis \"C\"");

        HTREEITEM itemB = tree.GetParentItem(selected);
        HTREEITEM itemA = tree.GetParentItem(itemB);
        EXPECT_EQ(tree.GetParentItem(itemA), dialog.m_hRoot);
        EXPECT_TRUE(IsExpanded(tree, itemA));
        EXPECT_TRUE(IsExpanded(tree, itemB));
        EXPECT_EQ(ChildTexts(tree, itemA), (Texts{"B", "Daneben"}));
        // The start folder is expanded as well, since it has children.
        EXPECT_TRUE(IsExpanded(tree, selected));
        EXPECT_EQ(ChildTags(tree, selected), (Tags{FolderTag(inner)}));
        // Other branches stay unread.
        HTREEITEM itemZ = tree.GetNextSiblingItem(itemA);
        EXPECT_FALSE(IsExpanded(tree, itemZ));
        EXPECT_EQ(ChildTexts(tree, itemZ), (Texts{"zzzzzzzzzztmp"}));

        // Clicking the root makes it current; its caption names the collection.
        drv.ClickTreeItem(tree, dialog.m_hRoot);
        EXPECT_EQ(dialog.m_curTag, FolderTag(0));
        EXPECT_STREQ(CaptionOf(dialog), "Verzeichnis \"Sammlung\"");
    });
}

TEST_P(DialogTreeTest, ASelectionChangeToTheCurrentItemRefillsNothing) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", 0);
    MakeChunk("Bild", a);
    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Chunk, a, [&](UiDriver&) {
        CTreeCtrl& tree = dialog.m_tree;
        const HTREEITEM itemA = tree.GetSelectedItem();
        ASSERT_NE(itemA, nullptr);
        ASSERT_EQ(dialog.m_curTag, FolderTag(a));
        ASSERT_EQ(dialog.m_list.GetItemCount(), 1);
        // Marks that a refill or a new caption would wipe out.
        dialog.m_list.SetItemText(0, 0, "unberührt");
        dialog.SetDlgItemText(IDC_CAPTION, "Markiert");

        NMTREEVIEW change{};
        change.hdr.hwndFrom = tree.GetSafeHwnd();
        change.hdr.idFrom = IDC_TREE;
        change.hdr.code = TVN_SELCHANGED;
        change.itemNew.hItem = itemA;
        change.itemNew.lParam = static_cast<LPARAM>(tree.GetItemData(itemA));
        dialog.SendMessage(WM_NOTIFY, IDC_TREE, reinterpret_cast<LPARAM>(&change));
        EXPECT_EQ(dialog.m_curTag, FolderTag(a));
        EXPECT_STREQ(dialog.m_list.GetItemText(0, 0), "unberührt");
        EXPECT_STREQ(CaptionOf(dialog), "Markiert");

        // Another item does refill the list and name itself.
        change.itemNew.hItem = tree.GetNextSiblingItem(itemA);
        dialog.SendMessage(WM_NOTIFY, IDC_TREE, reinterpret_cast<LPARAM>(&change));
        EXPECT_EQ(dialog.m_curTag, FolderTag(b));
        EXPECT_EQ(dialog.m_list.GetItemCount(), 0);
        EXPECT_STREQ(CaptionOf(dialog), "Verzeichnis \"B\"");
    });
}

// Opened at the root, at a folder that does not exist or at one whose chain never reaches the
// root: the root's children are there, nothing is current, and OK beeps.
TEST_P(DialogTreeTest, AStartFolderOutsideTheTreeLeavesNothingCurrent) {
    Init();
    MakeFolder("A", 0);
    const FolderId orphan = static_cast<FolderId>(EXPL_CreateFolder("Waise", 99, -1));
    ASSERT_NE(orphan, 0u);

    for (const std::uint32_t start : {std::uint32_t{0}, std::uint32_t{4711}, orphan}) {
        SCOPED_TRACE(start);
        ExplorerDialog dialog;
        RunThenEscape(dialog, ExplorerMode::Folder, start, [&](UiDriver& drv) {
            CTreeCtrl& tree = dialog.m_tree;
            EXPECT_TRUE(IsExpanded(tree, dialog.m_hRoot));
            EXPECT_EQ(ChildTexts(tree, dialog.m_hRoot), (Texts{"A"}));
            EXPECT_EQ(tree.GetSelectedItem(), nullptr);
            EXPECT_EQ(dialog.m_curTag, NoItem);
            EXPECT_STREQ(CaptionOf(dialog), "");
            const std::size_t beeps = drv.Beeps().size();
            drv.PressButton(IDOK);
            ASSERT_EQ(drv.Beeps().size(), beeps + 1);
            EXPECT_EQ(drv.Beeps().back(), UINT(MB_OK));
        });
    }
}

TEST_P(DialogTreeTest, SelectingFailsOnABrokenChainAndKeepsTheSelection) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const FolderId orphan = static_cast<FolderId>(EXPL_CreateFolder("Waise", 99, -1));
    const FolderId cycleA = static_cast<FolderId>(EXPL_CreateFolder("Kreis 1", 0, -1));
    const FolderId cycleB = static_cast<FolderId>(EXPL_CreateFolder("Kreis 2", cycleA, -1));
    // Close the circle: cycleA now lies below cycleB.
    CDWordArray moved;
    moved.Add(FolderTag(cycleA));
    ASSERT_TRUE(MoveItems(moved, cycleB));
    const FolderId inCycle = MakeFolder("Im Kreis", cycleB);

    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Folder, 0, [&](UiDriver&) {
        EXPECT_EQ(dialog.SelectTreeItem(a, ItemKind::Folder, FALSE), 1);
        EXPECT_EQ(dialog.m_curTag, FolderTag(a));
        EXPECT_EQ(dialog.SelectTreeItem(orphan, ItemKind::Folder, TRUE), 0);
        EXPECT_EQ(dialog.SelectTreeItem(inCycle, ItemKind::Folder, TRUE), 0);
        EXPECT_EQ(dialog.m_tree.GetItemData(dialog.m_tree.GetSelectedItem()), FolderTag(a));
        EXPECT_EQ(dialog.m_curTag, FolderTag(a));
        // Key 0 is the root.
        EXPECT_EQ(dialog.OpenItem(FolderTag(0), FALSE), 1);
        EXPECT_EQ(dialog.m_tree.GetSelectedItem(), dialog.m_hRoot);
    });
}

TEST_P(DialogTreeTest, AChunkIsSelectedInTheTargetModeAndNowhereElse) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const ChunkId top = MakeChunk("Oben", 0);
    const ChunkId deep = MakeChunk("Tief", a);

    {
        ExplorerDialog dialog;
        RunThenEscape(dialog, ExplorerMode::Target, 0, [&](UiDriver&) {
            EXPECT_EQ(dialog.SelectTreeItem(top, ItemKind::Chunk, FALSE), 1);
            EXPECT_EQ(dialog.m_curTag, ChunkTag(top));
            EXPECT_EQ(dialog.m_tree.GetParentItem(dialog.m_tree.GetSelectedItem()), dialog.m_hRoot);
            EXPECT_STREQ(CaptionOf(dialog), "Standbild \"Oben\"");
            // A chunk further down: its folder is expanded on the way.
            EXPECT_EQ(dialog.OpenItem(ChunkTag(deep), FALSE), 1);
            EXPECT_EQ(dialog.m_curTag, ChunkTag(deep));
            EXPECT_TRUE(IsExpanded(dialog.m_tree, dialog.m_tree.GetChildItem(dialog.m_hRoot)));
        });
    }
    {
        ExplorerDialog dialog;
        RunThenEscape(dialog, ExplorerMode::Chunk, 0, [&](UiDriver& drv) {
            EXPECT_EQ(dialog.SelectTreeItem(a, ItemKind::Folder, FALSE), 1);
            ASSERT_NE(dialog.m_tree.GetSelectedItem(), nullptr);
            ASSERT_EQ(dialog.m_list.GetItemCount(), 1);
            drv.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
            const int columns = dialog.m_list.GetColumnCount();
            dialog.m_list.SetColumnWidth(0, 123);
            // Chunks are not in this tree: the selection is cleared, and with it the rows.
            EXPECT_EQ(dialog.SelectTreeItem(top, ItemKind::Chunk, FALSE), 1);
            EXPECT_EQ(dialog.m_tree.GetSelectedItem(), nullptr);
            EXPECT_EQ(dialog.m_curTag, NoItem);
            EXPECT_STREQ(CaptionOf(dialog), "");
            EXPECT_EQ(dialog.m_list.GetItemCount(), 0);
            // The columns and the widths the user gave them stay for the next folder.
            EXPECT_EQ(dialog.SelectTreeItem(0, ItemKind::Folder, FALSE), 1);
            EXPECT_EQ(dialog.m_list.GetItemCount(), 2);
            EXPECT_EQ(dialog.m_list.GetColumnCount(), columns);
            EXPECT_EQ(dialog.m_list.GetColumnWidth(0), 123);
        });
    }
}

TEST_P(DialogTreeTest, FindingWalksFoldersDepthFirstAndOnlyWhatIsInserted) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", a);
    const FolderId c = MakeFolder("C", b);
    const ChunkId chunk = MakeChunk("Bild", 0);

    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Target, 0, [&](UiDriver& drv) {
        CTreeCtrl& tree = dialog.m_tree;
        HTREEITEM itemA = tree.GetChildItem(dialog.m_hRoot);
        EXPECT_EQ(dialog.FindTreeItem(TVI_ROOT, FolderTag(0), FALSE), dialog.m_hRoot);
        EXPECT_EQ(dialog.FindTreeItem(TVI_ROOT, FolderTag(a), FALSE), nullptr);
        EXPECT_EQ(dialog.FindTreeItem(TVI_ROOT, FolderTag(a), TRUE), itemA);
        EXPECT_EQ(dialog.FindTreeItem(dialog.m_hRoot, FolderTag(a), FALSE), itemA);
        // B is only read with A's first expansion.
        EXPECT_EQ(dialog.FindTreeItem(TVI_ROOT, FolderTag(b), TRUE), nullptr);
        drv.ClickTreeButton(tree, itemA);
        HTREEITEM itemB = tree.GetChildItem(itemA);
        EXPECT_EQ(dialog.FindTreeItem(TVI_ROOT, FolderTag(b), TRUE), itemB);
        EXPECT_EQ(dialog.FindTreeItem(dialog.m_hRoot, FolderTag(b), FALSE), nullptr);
        EXPECT_EQ(dialog.FindTreeItem(TVI_ROOT, FolderTag(c), TRUE), nullptr);

        // Depth first: a copy of B's tag after A is found only after A's subtree.
        HTREEITEM copy = tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "Kopie", 0, 0, 0, 0, FolderTag(b),
                                         dialog.m_hRoot, TVI_LAST);
        EXPECT_EQ(dialog.FindTreeItem(TVI_ROOT, FolderTag(b), TRUE), itemB);
        EXPECT_EQ(dialog.FindTreeItem(dialog.m_hRoot, FolderTag(b), FALSE), copy);
        // Nothing below a chunk item is walked.
        HTREEITEM chunkItem = dialog.FindTreeItem(dialog.m_hRoot, ChunkTag(chunk), FALSE);
        ASSERT_NE(chunkItem, nullptr);
        tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "Versteckt", 0, 0, 0, 0, FolderTag(4242), chunkItem,
                        TVI_LAST);
        EXPECT_EQ(dialog.FindTreeItem(TVI_ROOT, FolderTag(4242), TRUE), nullptr);
        EXPECT_NE(dialog.FindTreeItem(chunkItem, FolderTag(4242), FALSE), nullptr);
    });
}

TEST_P(DialogTreeTest, DoubleClickOnAFolderOnlyExpandsIt) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    MakeFolder("B", a);
    for (const ExplorerMode mode :
         {ExplorerMode::Folder, ExplorerMode::Target, ExplorerMode::Chunk, ExplorerMode::SaveAs}) {
        SCOPED_TRACE(static_cast<int>(mode));
        ExplorerDialog dialog;
        RunThenEscape(dialog, mode, 0, [&](UiDriver& drv) {
            HTREEITEM itemA = dialog.m_tree.GetChildItem(dialog.m_hRoot);
            drv.DoubleClickTreeItem(dialog.m_tree, itemA);
            EXPECT_EQ(dialog.m_curTag, FolderTag(a));
            EXPECT_TRUE(IsExpanded(dialog.m_tree, itemA));
            EXPECT_EQ(ChildTexts(dialog.m_tree, itemA), (Texts{"B"}));
        });
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, DialogTreeTest, testing::ValuesIn(UiDriverNames()));

} // namespace
