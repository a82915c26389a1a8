// The browser dialog over a reference-host project: a folder tree with chunks, extra-column
// values, texts and entries, and helpers that read the item list. It runs on the headless
// backend, or, through OnEveryBackend, on every backend the test binary has.
#pragma once

#include "dialog/explorer_dialog.h"
#include "host/chunk_table.h"
#include "host/host.h"
#include "host/schema.h"
#include "platform/ui_driver.h"
#include "resources/resource_ids.h"
#include "tests/support/library_fixture.h"
#include "tests/support/on_every_backend.h"

#include <functional>
#include <string>
#include <vector>

class ListDialogTest : public BackendTest {
protected:
    ListDialogTest() : m_host(db()) {}

    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped())
            return;
        m_callback = *refhost::Host::Callbacks();
        InitLibrary();
        a = MakeFolder("Archiv", 0);
        b = MakeFolder("Bilder", 0);
        a1 = MakeFolder("Alt", a);
        a2 = MakeFolder("Neu", a);
        c1 = chunks().Create("Hafen", a);
        c2 = chunks().Create("Leer", a);
        e1 = chunks().AddEntry(c1, "Eins");
        e2 = chunks().AddEntry(c1, "Zwei");
    }

    refhost::ChunkTable& chunks() { return m_host.chunks(); }

    // Runs the dialog in `mode`, opened at `folder`; `step` acts while it runs. The dialog is
    // cancelled afterwards unless the step ended it. The DoModal result.
    INT_PTR Run(ExplorerDialog& dialog, ExplorerMode mode, FolderId folder,
                const std::function<void(UiDriver&)>& step) {
        dialog.m_mode = mode;
        dialog.m_folderKey = folder;
        dialog.m_strTitle = "Test";
        m_driver->Then([&](UiDriver& d) {
            step(d);
            if (m_ended)
                return;
            // An ending the step did not announce would be overwritten here.
            EXPECT_TRUE(dialog.IsWindowVisible()) << "the step ended the dialog";
            dialog.EndDialog(IDCANCEL);
        });
        m_ended = false;
        const std::size_t failuresBefore = m_driver->Failures().size();
        const INT_PTR result = dialog.DoModal();
        EXPECT_EQ(m_driver->PendingSteps(), 0u) << "the dialog never ran the step";
        const std::vector<std::string>& failures = m_driver->Failures();
        for (std::size_t i = failuresBefore; i < failures.size(); ++i)
            ADD_FAILURE() << failures[i];
        return result;
    }
    // Tells Run that the step ended the dialog itself.
    void Ended() { m_ended = true; }

    // Sets a date field by SQL, as ISO text (null for an empty text).
    void SetChunkDate(ChunkId chunk, const char* iso) {
        db().Execute(("UPDATE CHUNKS SET ModifyDate = " + Literal(iso) +
                      " WHERE ChunkSysID = " + std::to_string(chunk))
                         .c_str());
    }
    void SetFolderDate(FolderId folder, const char* iso) {
        db().Execute(
            ("UPDATE EXPLORER SET DATE = " + Literal(iso) + " WHERE ID = " + std::to_string(folder))
                .c_str());
    }
    void SetChunkName(ChunkId chunk, const char* name) {
        db().Execute(("UPDATE CHUNKS SET ChunkUsrID = " + Literal(name) +
                      " WHERE ChunkSysID = " + std::to_string(chunk))
                         .c_str());
    }

    refhost::Host m_host;
    FolderId a = 0, b = 0, a1 = 0, a2 = 0;
    ChunkId c1 = 0, c2 = 0;
    EntryId e1 = 0, e2 = 0;

private:
    static std::string Literal(const char* text) {
        return text && *text ? "'" + std::string(text) + "'" : "NULL";
    }
    bool m_ended = false;
};

// The item data of every row, in list order.
inline std::vector<ItemTag> RowTags(const CListCtrl& list) {
    std::vector<ItemTag> tags;
    for (int i = 0; i < list.GetItemCount(); ++i)
        tags.push_back(static_cast<ItemTag>(list.GetItemData(i)));
    return tags;
}

// The texts of one column, in list order.
inline std::vector<std::string> ColumnTexts(const CListCtrl& list, int column) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(list.GetItemText(i, column).str());
    return texts;
}

inline std::vector<std::string> ColumnHeaders(const CListCtrl& list) {
    std::vector<std::string> headers;
    for (int c = 0; c < list.GetColumnCount(); ++c) {
        char text[64] = {};
        LVCOLUMN column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        if (list.GetColumn(c, &column))
            headers.emplace_back(text);
    }
    return headers;
}

inline int ClientWidth(const CWnd& window) {
    CRect client;
    window.GetClientRect(&client);
    return client.right - client.left;
}

inline int ItemImage(const CListCtrl& list, int index) {
    LVITEM item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    return list.GetItem(&item) ? item.iImage : -1;
}
