#include "platform/dialog_template.h"
#include "platform/win_styles.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Expected {
    UINT id;
    ControlClass controlClass;
    std::string text;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
};

const DialogTemplate& Template(UINT id) {
    const DialogTemplate* found = FindDialogTemplate(id);
    if (found == nullptr) {
        throw std::runtime_error("no dialog template " + std::to_string(id));
    }
    return *found;
}

void ExpectControls(const DialogTemplate& dialog, const std::vector<Expected>& expected) {
    ASSERT_EQ(dialog.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ControlTemplate& control = dialog.controls[i];
        const Expected& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(want.id));
        EXPECT_EQ(control.id, want.id);
        EXPECT_EQ(control.controlClass, want.controlClass);
        ASSERT_NE(control.text, nullptr);
        EXPECT_EQ(std::string(control.text), want.text);
        EXPECT_EQ(control.x, want.x);
        EXPECT_EQ(control.y, want.y);
        EXPECT_EQ(control.cx, want.cx);
        EXPECT_EQ(control.cy, want.cy);
        EXPECT_EQ(control.style, want.style);
        EXPECT_EQ(control.exStyle, want.exStyle);
    }
}

const ControlTemplate* Control(const DialogTemplate& dialog, UINT id) {
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

TEST(ResourcesDialogTemplates, ExplorerFrame) {
    const DialogTemplate& dialog = Template(IDD_EXPLORER);
    EXPECT_EQ(dialog.id, 150u);
    EXPECT_EQ(dialog.style, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                                DS_CENTER | DS_SETFONT);
    EXPECT_EQ(dialog.exStyle, 0u);
    ASSERT_NE(dialog.title, nullptr);
    EXPECT_STREQ(dialog.title, ""); // the title comes from the entry point
    ASSERT_NE(dialog.fontName, nullptr);
    EXPECT_STREQ(dialog.fontName, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.cx, 312);
    EXPECT_EQ(dialog.cy, 177);
    // A modal dialog that is sized by the user: no minimize box, not visible before DoModal.
    EXPECT_EQ(dialog.style & WS_MINIMIZEBOX, 0u);
    EXPECT_EQ(dialog.style & WS_VISIBLE, 0u);
}

TEST(ResourcesDialogTemplates, ExplorerControlsInTemplateOrder) {
    const DWORD tab = WS_TABSTOP;
    ExpectControls(
        Template(IDD_EXPLORER),
        {
            {1012, ControlClass::TreeView, "", 1, 17, 141, 139,
             WS_BORDER | tab | TVS_HASBUTTONS | TVS_HASLINES | TVS_DISABLEDRAGDROP,
             WS_EX_CLIENTEDGE},
            {1013, ControlClass::ListView, "", 193, 17, 118, 140,
             WS_BORDER | tab | LVS_ICON | LVS_AUTOARRANGE, WS_EX_CLIENTEDGE},
            {1000, ControlClass::Edit, "", 31, 162, 169, 13,
             WS_BORDER | tab | ES_AUTOHSCROLL | ES_WANTRETURN, 0},
            {1, ControlClass::Button, "OK", 207, 162, 45, 13, BS_DEFPUSHBUTTON | tab, 0},
            {2, ControlClass::Button, "Abbrechen", 258, 162, 45, 13, BS_PUSHBUTTON | tab, 0},
            {1018, ControlClass::Static, "", 148, 1, 163, 14, SS_CENTER | SS_CENTERIMAGE,
             WS_EX_STATICEDGE},
            {1017, ControlClass::Button, "", 2, 0, 140, 16, BS_OWNERDRAW, 0},
            {1002, ControlClass::Static, "Name:", 5, 167, 22, 8, SS_LEFT, 0},
            {1001, ControlClass::Edit, "", 146, 17, 40, 140,
             WS_BORDER | WS_VSCROLL | tab | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0},
            {1003, ControlClass::Button, "Nur lesen", 6, 165, 46, 10, BS_AUTOCHECKBOX | tab, 0},
        });
}

TEST(ResourcesDialogTemplates, ExplorerStylesTheDialogReliesOn) {
    const DialogTemplate& dialog = Template(IDD_EXPLORER);
    const ControlTemplate* list = Control(dialog, IDC_LIST);
    const ControlTemplate* tree = Control(dialog, IDC_TREE);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(tree, nullptr);
    // The list starts in the large-icon view and allows a multiple selection; label editing of
    // both views is switched on at run time, and only outside read-only mode.
    EXPECT_EQ(list->style & LVS_TYPEMASK, LVS_ICON);
    EXPECT_EQ(list->style & LVS_SINGLESEL, 0u);
    EXPECT_EQ(list->style & LVS_EDITLABELS, 0u);
    EXPECT_EQ(tree->style & TVS_EDITLABELS, 0u);
    EXPECT_NE(tree->style & TVS_DISABLEDRAGDROP, 0u);
    // The toolbar's carrier paints nothing of its own.
    const ControlTemplate* host = Control(dialog, IDC_TOOLBAR_HOST);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->style & 0xF, BS_OWNERDRAW);
    // Enter in the name field reaches OK, not a new line.
    const ControlTemplate* name = Control(dialog, IDC_NAME_EDIT);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->style & ES_MULTILINE, 0u);
}

TEST(ResourcesDialogTemplates, ExplorerHasOneDefaultButtonAndUniqueIds) {
    const DialogTemplate& dialog = Template(IDD_EXPLORER);
    std::set<UINT> ids;
    std::vector<UINT> defaults;
    for (const ControlTemplate& control : dialog.controls) {
        EXPECT_TRUE(ids.insert(control.id).second) << "id " << control.id << " twice";
        if (control.controlClass == ControlClass::Button &&
            (control.style & 0xF) == BS_DEFPUSHBUTTON) {
            defaults.push_back(control.id);
        }
    }
    EXPECT_EQ(defaults, std::vector<UINT>{IDOK});
}

TEST(ResourcesDialogTemplates, ExplorerControlsLieInsideTheDialog) {
    const DialogTemplate& dialog = Template(IDD_EXPLORER);
    for (const ControlTemplate& control : dialog.controls) {
        SCOPED_TRACE("id " + std::to_string(control.id));
        EXPECT_GE(control.x, 0);
        EXPECT_GE(control.y, 0);
        EXPECT_GT(control.cx, 0);
        EXPECT_GT(control.cy, 0);
        EXPECT_LE(control.x + control.cx, dialog.cx);
        EXPECT_LE(control.y + control.cy, dialog.cy);
    }
}

TEST(ResourcesDialogTemplates, CellEditor) {
    const DialogTemplate& dialog = Template(IDD_CELL_EDIT);
    EXPECT_EQ(dialog.id, 137u);
    EXPECT_EQ(dialog.style, WS_POPUP | DS_SETFONT);
    EXPECT_EQ(dialog.style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME), 0u);
    EXPECT_EQ(dialog.exStyle, 0u);
    ASSERT_NE(dialog.fontName, nullptr);
    EXPECT_STREQ(dialog.fontName, "Small Fonts");
    EXPECT_EQ(dialog.pointSize, 7);
    EXPECT_EQ(dialog.cx, 113);
    EXPECT_EQ(dialog.cy, 14);
    ExpectControls(
        dialog, {
                    {1001, ControlClass::Edit, "", 0, 0, 113, 14,
                     WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
                    {1, ControlClass::Button, "OK", 99, 16, 7, 6, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
                });
}

TEST(ResourcesDialogTemplates, CellEditorHidesItsButtonBelowTheEdit) {
    const DialogTemplate& dialog = Template(IDD_CELL_EDIT);
    const ControlTemplate* edit = Control(dialog, IDC_CELL_EDIT);
    const ControlTemplate* ok = Control(dialog, IDOK);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(edit->x, 0);
    EXPECT_EQ(edit->y, 0);
    EXPECT_EQ(edit->cx, dialog.cx);
    EXPECT_EQ(edit->cy, dialog.cy);
    EXPECT_GE(ok->y, dialog.cy); // out of sight, still the default for Enter
}

TEST(ResourcesDialogTemplates, UnknownIdsHaveNoTemplate) {
    for (UINT id : {0u, 1u, 128u, 136u, 138u, 149u, 151u, 26019u}) {
        EXPECT_EQ(FindDialogTemplate(id), nullptr) << id;
    }
}

} // namespace
