#include "platform/dialog_template.h"

#include "platform/win_styles.h"
#include "resources/resource_ids.h"

#include <array>

namespace {

// The browser dialog. The panes' real places are set by the layout once the dialog is up; these
// are the positions it starts from.
constexpr std::array<ControlTemplate, 10> kExplorerControls{{
    {IDC_TREE, ControlClass::TreeView, "", 1, 17, 141, 139,
     WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_DISABLEDRAGDROP,
     WS_EX_CLIENTEDGE},
    {IDC_LIST, ControlClass::ListView, "", 193, 17, 118, 140,
     WS_BORDER | WS_TABSTOP | LVS_ICON | LVS_AUTOARRANGE, WS_EX_CLIENTEDGE},
    {IDC_NAME_EDIT, ControlClass::Edit, "", 31, 162, 169, 13,
     WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_WANTRETURN, 0},
    {IDOK, ControlClass::Button, "OK", 207, 162, 45, 13, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
    {IDCANCEL, ControlClass::Button, "Abbrechen", 258, 162, 45, 13, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_CAPTION, ControlClass::Static, "", 148, 1, 163, 14, SS_CENTER | SS_CENTERIMAGE,
     WS_EX_STATICEDGE},
    {IDC_TOOLBAR_HOST, ControlClass::Button, "", 2, 0, 140, 16, BS_OWNERDRAW, 0},
    {IDC_NAME_LABEL, ControlClass::Static, "Name:", 5, 167, 22, 8, SS_LEFT, 0},
    {IDC_INFO_EDIT, ControlClass::Edit, "", 146, 17, 40, 140,
     WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0},
    {IDC_READ_ONLY, ControlClass::Button, "Nur lesen", 6, 165, 46, 10, BS_AUTOCHECKBOX | WS_TABSTOP,
     0},
}};

// The cell editor: the edit fills the popup; the default button lies below the visible area so
// that Enter commits.
constexpr std::array<ControlTemplate, 2> kCellEditControls{{
    {IDC_CELL_EDIT, ControlClass::Edit, "", 0, 0, 113, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
     0},
    {IDOK, ControlClass::Button, "OK", 99, 16, 7, 6, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
}};

// A template that names a font carries DS_SETFONT, as the resource compiler sets it.
constexpr DialogTemplate kExplorer{
    .id = IDD_EXPLORER,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | DS_CENTER |
             DS_SETFONT,
    .exStyle = 0,
    .title = "", // set from the entry point's title
    .fontName = "MS Sans Serif",
    .pointSize = 8,
    .x = 0,
    .y = 0,
    .cx = 312,
    .cy = 177,
    .controls = kExplorerControls,
};

constexpr DialogTemplate kCellEdit{
    .id = IDD_CELL_EDIT,
    .style = WS_POPUP | DS_SETFONT, // no caption, no border
    .exStyle = 0,
    .title = "",
    .fontName = "Small Fonts",
    .pointSize = 7,
    .x = 0,
    .y = 0,
    .cx = 113,
    .cy = 14,
    .controls = kCellEditControls,
};

} // namespace

const DialogTemplate* FindDialogTemplate(UINT id) {
    switch (id) {
    case IDD_EXPLORER:
        return &kExplorer;
    case IDD_CELL_EDIT:
        return &kCellEdit;
    default:
        return nullptr;
    }
}
