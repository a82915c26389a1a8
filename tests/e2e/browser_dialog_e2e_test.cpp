// The browser dialog as a person uses it: opened by the host's entry points, shown by the
// wxWidgets backend on the X server, driven with real pointer and keyboard events, and checked
// by what the host receives.
#include "dialog/explorer_dialog.h"
#include "host/host.h"
#include "platform/wx/wx_driver.h"
#include "resources/resource_ids.h"
#include "tests/e2e/wx_test_environment.h"
#include "tests/support/library_fixture.h"
#include "tests/support/open_dialog.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

// How long the X server may take to show what was painted.
constexpr int kScreenWait = 2000;

// A project as a host has it, the library initialised on it and the toolkit's dialogs in charge
// of messages:
//   Sammlung
//     Reisen
//       Hafen: stills Leuchtturm, Kutter, Anker, Boje
//     Tiere: still Eisbaer
class BrowserDialogE2E : public LibraryTest {
protected:
    void SetUp() override {
        wxui::WxInstallation* toolkit = WxToolkit();
        if (!toolkit)
            GTEST_SKIP() << "no display";
        m_driver.emplace(toolkit->Backend());
        m_assertionsBefore = toolkit->Backend().AssertionCount();
        m_messages.emplace(toolkit->Backend().Notifier());
        m_host.emplace(db());
        ASSERT_EQ(EXPL_Init(&db(), refhost::Host::Callbacks(), 0), 1);
        ASSERT_EQ(EXPL_CreateNewTable(), 1);
        m_reisen = MakeFolder("Reisen", 0);
        m_hafen = MakeFolder("Hafen", m_reisen);
        m_tiere = MakeFolder("Tiere", 0);
        for (const char* name : {"Leuchtturm", "Kutter", "Anker", "Boje"})
            m_stills.push_back(m_host->chunks().Create(name, m_hafen));
        m_host->chunks().Create("Eisbaer", m_tiere);
    }

    void TearDown() override {
        if (!m_driver)
            return;
        EXPECT_EQ(m_driver->PendingSteps(), 0u);
        for (const std::string& failure : m_driver->Failures())
            ADD_FAILURE() << failure;
        EXPECT_EQ(m_driver->Backend().AssertionCount(), m_assertionsBefore)
            << "the toolkit reported misuse (see its assertions above)";
    }

    wxui::WxTestDriver& driver() { return *m_driver; }

    // Opens the target dialog at Hafen for a script that ends it with OK: the host gets `still`
    // and `entry` (kNoKey for the still itself), in Hafen.
    void RunChosenTargetDialog(ChunkId still, std::uint32_t entry) {
        std::uint32_t item = kNoKey;
        std::uint32_t chosenEntry = 4711;
        std::uint32_t folder = m_hafen;
        EXPECT_EQ(EXPL_GetTarget(item, chosenEntry, folder, "Ziel wählen"), 1);
        EXPECT_EQ(item, still);
        EXPECT_EQ(chosenEntry, entry);
        EXPECT_EQ(folder, m_hafen);
    }

    // Opens the stills dialog at `folder` for a script that cancels it: the host gets nothing.
    void RunCancelledChunkDialog(FolderId folder, const char* title) {
        std::uint32_t chunk = kNoKey;
        int readOnlyCheck = 0;
        std::uint32_t start = folder;
        void* chunkList = nullptr;
        EXPECT_EQ(EXPL_GetChunk(chunk, readOnlyCheck, start, chunkList, title), 0);
        EXPECT_EQ(chunk, kNoKey);
        EXPECT_EQ(start, folder);
        EXPECT_EQ(chunkList, nullptr);
    }

    // The X server shows the item as the dialog painted it, highlight and all, at its corners
    // and its middle.
    void ExpectScreenShowsWhatWasPainted(CTreeCtrl& tree, HTREEITEM item) {
        CRect label;
        ASSERT_TRUE(tree.GetItemRect(item, &label, TRUE));
        wxui::WxBackend& backend = driver().Backend();
        for (const CPoint at : {label.TopLeft() + CSize(1, 1), label.CenterPoint(),
                                label.BottomRight() - CSize(2, 2)}) {
            const COLORREF painted = driver().PixelAt(tree, at);
            CPoint onScreen = at;
            tree.ClientToScreen(&onScreen);
            EXPECT_TRUE(backend.PumpUntil([&] { return backend.ScreenPixel(onScreen) == painted; },
                                          kScreenWait))
                << "at " << at.x << ", " << at.y << ": painted " << std::hex << painted
                << ", on the screen " << backend.ScreenPixel(onScreen);
        }
    }

    static CTreeCtrl& Tree(UiDriver& d) { return *static_cast<CTreeCtrl*>(d.Control(IDC_TREE)); }
    static CListCtrl& List(UiDriver& d) { return *static_cast<CListCtrl*>(d.Control(IDC_LIST)); }
    static std::vector<std::string> Names(UiDriver& d) {
        std::vector<std::string> names;
        for (int i = 0; i < List(d).GetItemCount(); ++i)
            names.push_back(List(d).GetItemText(i, 0).str());
        return names;
    }

    std::optional<wxui::WxTestDriver> m_driver;
    int m_assertionsBefore = 0;
    std::optional<ScopedUserNotifier> m_messages;
    std::optional<refhost::Host> m_host;
    FolderId m_reisen = 0;
    FolderId m_hafen = 0;
    FolderId m_tiere = 0;
    std::vector<ChunkId> m_stills;
};

TEST_F(BrowserDialogE2E, ChunkModeExpandSelectAndDoubleClickAStill) {
    driver()
        .Then([&](UiDriver& d) {
            // The host's title, umlaut and all, on the dialog's frame.
            EXPECT_EQ(d.FrameTitle(*d.ActiveWindow()), "Standbild wählen");
            CTreeCtrl& tree = Tree(d);
            const HTREEITEM reisen = d.FindTreeItem(tree, {"Sammlung", "Reisen"});
            ASSERT_NE(reisen, nullptr);
            d.ClickTreeButton(tree, reisen);
            const HTREEITEM hafen = d.FindTreeItem(tree, {"Sammlung", "Reisen", "Hafen"});
            ASSERT_NE(hafen, nullptr) << "expanding Reisen shows Hafen";
            d.ClickTreeItem(tree, hafen);
            EXPECT_EQ(Names(d),
                      (std::vector<std::string>{"Leuchtturm", "Kutter", "Anker", "Boje"}));
            ExpectScreenShowsWhatWasPainted(tree, hafen);
        })
        .Then([&](UiDriver& d) {
            const int anker = d.FindListItem(List(d), "Anker");
            ASSERT_GE(anker, 0);
            d.DoubleClickListItem(List(d), anker);
        });
    std::uint32_t chunk = kNoKey;
    int readOnlyCheck = 0;
    std::uint32_t folder = kNoKey;
    void* chunkList = reinterpret_cast<void*>(1);
    EXPECT_EQ(EXPL_GetChunk(chunk, readOnlyCheck, folder, chunkList, "Standbild wählen"), 1);
    EXPECT_EQ(chunk, m_stills[2]);
    EXPECT_EQ(folder, m_hafen);
    EXPECT_EQ(readOnlyCheck, 0);
    EXPECT_EQ(chunkList, nullptr);
}

TEST_F(BrowserDialogE2E, ArrowKeysInTheTreeReadAFolderOnItsFirstExpansionAndShowItsStills) {
    std::vector<std::string> shown;
    driver().Then([&](UiDriver& d) {
        CTreeCtrl& tree = Tree(d);
        const HTREEITEM tiere = d.FindTreeItem(tree, {"Sammlung", "Tiere"});
        ASSERT_NE(tiere, nullptr);
        d.ClickTreeItem(tree, tiere);
        d.PressKey(VK_UP); // to Reisen, still closed
        const HTREEITEM reisen = d.FindTreeItem(tree, {"Sammlung", "Reisen"});
        EXPECT_EQ(tree.GetSelectedItem(), reisen);
        EXPECT_FALSE(tree.GetItemState(reisen, TVIS_EXPANDED) & TVIS_EXPANDED);
        d.PressKey(VK_RIGHT); // opens it: its folder is read
        d.PressKey(VK_DOWN);  // and selected
        EXPECT_EQ(tree.GetSelectedItem(), d.FindTreeItem(tree, {"Sammlung", "Reisen", "Hafen"}));
        shown = Names(d);
        EscapeOpenDialog(d);
    });
    RunCancelledChunkDialog(m_tiere, "Tastatur");
    EXPECT_EQ(shown, (std::vector<std::string>{"Leuchtturm", "Kutter", "Anker", "Boje"}));
}

TEST_F(BrowserDialogE2E, TargetModeOpensAStillFromTheListAndChoosesAnEntry) {
    m_host->chunks().AddEntry(m_stills[1], "Netz");
    const EntryId mast = m_host->chunks().AddEntry(m_stills[1], "Mast");
    driver()
        .Then([&](UiDriver& d) {
            d.DoubleClickListItem(List(d), d.FindListItem(List(d), "Kutter"));
            // The still becomes the tree's current item and the list shows its entries.
            const HTREEITEM kutter =
                d.FindTreeItem(Tree(d), {"Sammlung", "Reisen", "Hafen", "Kutter"});
            ASSERT_NE(kutter, nullptr);
            EXPECT_EQ(Tree(d).GetSelectedItem(), kutter);
            EXPECT_EQ(Names(d), (std::vector<std::string>{"Netz", "Mast"}));
        })
        .Then(
            [&](UiDriver& d) { d.DoubleClickListItem(List(d), d.FindListItem(List(d), "Mast")); });
    RunChosenTargetDialog(m_stills[1], mast);
}

TEST_F(BrowserDialogE2E, EnterChoosesTheSelectedStillOrEntryAsTheTarget) {
    const EntryId netz = m_host->chunks().AddEntry(m_stills[0], "Netz");
    driver().Then([&](UiDriver& d) {
        d.ClickListItem(List(d), d.FindListItem(List(d), "Boje"));
        d.PressKey(VK_RETURN);
    });
    RunChosenTargetDialog(m_stills[3], kNoKey);

    driver()
        .Then([&](UiDriver& d) {
            d.DoubleClickListItem(List(d), d.FindListItem(List(d), "Leuchtturm"));
        })
        .Then([&](UiDriver& d) {
            d.ClickListItem(List(d), d.FindListItem(List(d), "Netz"));
            d.PressKey(VK_RETURN);
        });
    RunChosenTargetDialog(m_stills[0], netz);
}

} // namespace
