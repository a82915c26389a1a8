// Identifiers of the library's resources: dialog templates and their controls, bitmaps, the icon,
// the splitter cursor, command ids and string ids.
#pragma once

#include "platform/win_types.h"

// Dialog templates.
constexpr UINT IDD_EXPLORER = 150;  // the browser dialog
constexpr UINT IDD_CELL_EDIT = 137; // the borderless editor over a list cell

// Controls of the browser dialog (template 150). OK and "Abbrechen" are IDOK and IDCANCEL.
constexpr UINT IDC_NAME_EDIT = 1000;    // name field of the save-as mode
constexpr UINT IDC_INFO_EDIT = 1001;    // info pane, shown in the tree's place
constexpr UINT IDC_NAME_LABEL = 1002;   // "Name:"
constexpr UINT IDC_READ_ONLY = 1003;    // "Nur lesen", always hidden
constexpr UINT IDC_TREE = 1012;         // folder tree
constexpr UINT IDC_LIST = 1013;         // item list
constexpr UINT IDC_TOOLBAR_HOST = 1017; // owner-drawn button that carries the toolbar
constexpr UINT IDC_CAPTION = 1018;      // caption above the list
constexpr UINT IDC_TOOLBAR = 1117;      // the toolbar, created at run time

// Control of the cell editor (template 137).
constexpr UINT IDC_CELL_EDIT = 1001;

// Bitmaps, icon and cursor.
constexpr UINT IDB_TOOLBAR = 128;        // toolbar strip, ten 16 x 15 images
constexpr UINT IDB_SMALL_IMAGES = 132;   // item images, 16 x 16
constexpr UINT IDB_LARGE_IMAGES = 26019; // item images, 32 x 32
constexpr UINT IDI_EXPLORER = 128;       // the dialog's icon
constexpr UINT IDC_SPLITTER = 130;       // cursor over the splitter bar

// Commands. Each command's menu text is the string with the same id.
constexpr UINT ID_INFO_PANE = 32775;
constexpr UINT ID_VIEW_LARGE_ICONS = 32783;
constexpr UINT ID_VIEW_DETAILS = 32787;
constexpr UINT ID_VIEW_LIST = 32789;
constexpr UINT ID_VIEW_SMALL_ICONS = 32790;
constexpr UINT ID_NEW_FOLDER = 57346;
constexpr UINT ID_NEW_CHUNK = 57347;
constexpr UINT ID_OPEN = 57348;
constexpr UINT ID_CUT = 57349;
constexpr UINT ID_PASTE = 57350;
constexpr UINT ID_REMOVE = 57351;
constexpr UINT ID_RENAME = 57352;
constexpr UINT ID_SELECT = 57353;
constexpr UINT ID_UP = 57360;
constexpr UINT ID_REMOVE_CHECKED = 57361; // toolbar and Delete key

// Strings. AFX_IDS_APP_TITLE (57344) is declared with the platform types.
constexpr UINT IDS_COLUMN_NAME = 1;
constexpr UINT IDS_COLUMN_TYPE = 2;
constexpr UINT IDS_COLUMN_CHANGED = 3;
constexpr UINT IDS_COLUMN_ID = 4;
constexpr UINT IDS_KIND_FOLDER = 5;
constexpr UINT IDS_KIND_CHUNK = 6;
constexpr UINT IDS_ROOT_NAME = 7;
constexpr UINT IDS_ASK_REPLACE = 8;
constexpr UINT IDS_ALREADY_IN_FOLDER = 9;
constexpr UINT IDS_NAME_REQUIRED = 10;
constexpr UINT IDS_RENAME_FAILED = 11;
constexpr UINT IDS_MENU_CREATE = 57345;
constexpr UINT IDS_MENU_VIEW = 57354;
constexpr UINT IDS_NEW_FOLDER_NAME = 57355;
constexpr UINT IDS_NEW_FOLDER_NAME_NUMBERED = 57356;
constexpr UINT IDS_CREATE_FAILED = 57357;
constexpr UINT IDS_NEW_CHUNK_NAME = 57358;
constexpr UINT IDS_NEW_CHUNK_NAME_NUMBERED = 57359;
