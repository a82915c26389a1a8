#include "platform/dialog_template.h"
#include "platform/win_styles.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const DialogTemplate& Template(UINT id) {
    const DialogTemplate* found = FindDialogTemplate(id);
    if (found == nullptr) {
        throw std::runtime_error("no dialog template " + std::to_string(id));
    }
    return *found;
}

const ControlTemplate* Control(const DialogTemplate& dialog, UINT id) {
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
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

TEST(ResourcesDialogTemplates, UnknownIdsHaveNoTemplate) {
    for (UINT id : {0u, 1u, 128u, 136u, 138u, 149u, 151u, 26019u}) {
        EXPECT_EQ(FindDialogTemplate(id), nullptr) << id;
    }
}

} // namespace
