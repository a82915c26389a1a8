#include "resources/resource_ids.h"
#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Expected {
    UINT id;
    const char* text;
};

// Word for word as the users know them, typos and grammar included; umlauts in UTF-8.
const Expected kTexts[] = {
    {IDS_ASK_REPLACE,
     "Standbild mit diesem Namen existiert bereits. Vorhandenes Lesezeichen ersetzen ?"},
    {IDS_ALREADY_IN_FOLDER, "Verzeichnis enth\xC3\xA4lt schon das Standbild."},
    {IDS_NAME_REQUIRED, "Sie m\xC3\xBCssen den namen eingeben."},
    {IDS_RENAME_FAILED, "Fehler beim Umbenennen."},
    {IDS_CREATE_FAILED, "Fehler beim Erzeugen."},
    {AFX_IDS_APP_TITLE, "Tarvosil"},
    {IDS_COLUMN_NAME, "Name"},
    {IDS_COLUMN_TYPE, "Typ"},
    {IDS_COLUMN_CHANGED, "Ge\xC3\xA4ndert"},
    {IDS_COLUMN_ID, "ID"},
    {IDS_KIND_FOLDER, "Verzeichnis"},
    {IDS_KIND_CHUNK, "Standbild"},
    {IDS_ROOT_NAME, "Sammlung"},
    {IDS_NEW_FOLDER_NAME, "Neuer Verzeichnis"},
    {IDS_NEW_FOLDER_NAME_NUMBERED, "Neuer Verzeichnis (%1)"},
    {IDS_NEW_CHUNK_NAME, "Neuer Standbild"},
    {IDS_NEW_CHUNK_NAME_NUMBERED, "Neuer Standbild (%1)"},
    {IDS_MENU_CREATE, "Erzeugen"},
    {IDS_MENU_VIEW, "Ansicht"},
    {ID_OPEN, "&\xC3\x96"
              "ffnen"},
    {ID_SELECT, "&W\xC3\xA4hlen"},
    {ID_PASTE, "Ein&f\xC3\xBCgen"},
    {ID_NEW_FOLDER, "&Verzeichnis"},
    {ID_NEW_CHUNK, "&Standbild"},
    {ID_CUT, "&Ausschneiden"},
    {ID_REMOVE, "&Entfernen"},
    {ID_RENAME, "&Umbenennen"},
    {ID_UP, "&UP"},
    {ID_REMOVE_CHECKED, "&Entfernen"},
    {ID_VIEW_LARGE_ICONS, "Bildet die Listeneintr\xC3\xA4ge ab, indem gro\xC3\x9F"
                          "e Icons verwendet werden."},
    {ID_VIEW_SMALL_ICONS,
     "Bildet die Listeneintr\xC3\xA4ge ab, indem kleine Icons verwendet werden."},
    {ID_VIEW_LIST, "Bildet die Listeneintr\xC3\xA4ge ab."},
    {ID_VIEW_DETAILS, "Bildet die Information bef\xC3\xBCglich jedes Listeneintrags ab."},
};

TEST(ResourcesStringTable, EveryTextIsExact) {
    for (const Expected& expected : kTexts) {
        const char* text = FindLibraryString(expected.id);
        ASSERT_NE(text, nullptr) << expected.id;
        EXPECT_EQ(std::string(text), expected.text) << expected.id;
    }
}

TEST(ResourcesStringTable, TheInfoPaneCommandAndUnknownIdsHaveNoText) {
    for (UINT id : {UINT(ID_INFO_PANE), 0u, 12u, 150u, 32782u, 32788u, 57343u, 57362u, 0xFFFFFFFFu})
        EXPECT_EQ(FindLibraryString(id), nullptr) << id;
}

} // namespace
