#include "resources/resource_ids.h"
#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(UINT id) {
    const char* text = FindLibraryString(id);
    return text != nullptr ? text : "<none " + std::to_string(id) + ">";
}

TEST(ResourcesStringTable, MessagesAreExact) {
    EXPECT_EQ(Text(IDS_ASK_REPLACE),
              "Standbild mit diesem Namen existiert bereits. Vorhandenes Lesezeichen ersetzen ?");
    EXPECT_EQ(Text(IDS_ALREADY_IN_FOLDER), "Verzeichnis enthält schon das Standbild.");
    EXPECT_EQ(Text(IDS_NAME_REQUIRED), "Sie müssen den namen eingeben.");
    EXPECT_EQ(Text(IDS_RENAME_FAILED), "Fehler beim Umbenennen.");
    EXPECT_EQ(Text(IDS_CREATE_FAILED), "Fehler beim Erzeugen.");
    EXPECT_EQ(Text(AFX_IDS_APP_TITLE), "Tarvosil");
}

TEST(ResourcesStringTable, UmlautsAreUtf8) {
    EXPECT_EQ(Text(IDS_COLUMN_CHANGED), "Ge\xC3\xA4ndert");
    EXPECT_EQ(Text(ID_OPEN), "&\xC3\x96"
                             "ffnen");
    EXPECT_EQ(Text(ID_SELECT), "&W\xC3\xA4hlen");
    EXPECT_EQ(Text(ID_PASTE), "Ein&f\xC3\xBCgen");
}

TEST(ResourcesStringTable, ColumnsKindsAndRoot) {
    EXPECT_EQ(Text(IDS_COLUMN_NAME), "Name");
    EXPECT_EQ(Text(IDS_COLUMN_TYPE), "Typ");
    EXPECT_EQ(Text(IDS_COLUMN_ID), "ID");
    EXPECT_EQ(Text(IDS_KIND_FOLDER), "Verzeichnis");
    EXPECT_EQ(Text(IDS_KIND_CHUNK), "Standbild");
    EXPECT_EQ(Text(IDS_ROOT_NAME), "Sammlung");
}

// The default names keep their grammar as the users know it.
TEST(ResourcesStringTable, DefaultNames) {
    EXPECT_EQ(Text(IDS_NEW_FOLDER_NAME), "Neuer Verzeichnis");
    EXPECT_EQ(Text(IDS_NEW_FOLDER_NAME_NUMBERED), "Neuer Verzeichnis (%1)");
    EXPECT_EQ(Text(IDS_NEW_CHUNK_NAME), "Neuer Standbild");
    EXPECT_EQ(Text(IDS_NEW_CHUNK_NAME_NUMBERED), "Neuer Standbild (%1)");
}

TEST(ResourcesStringTable, MenuTexts) {
    EXPECT_EQ(Text(IDS_MENU_CREATE), "Erzeugen");
    EXPECT_EQ(Text(IDS_MENU_VIEW), "Ansicht");
    EXPECT_EQ(Text(ID_NEW_FOLDER), "&Verzeichnis");
    EXPECT_EQ(Text(ID_NEW_CHUNK), "&Standbild");
    EXPECT_EQ(Text(ID_CUT), "&Ausschneiden");
    EXPECT_EQ(Text(ID_REMOVE), "&Entfernen");
    EXPECT_EQ(Text(ID_RENAME), "&Umbenennen");
    EXPECT_EQ(Text(ID_UP), "&UP");
    EXPECT_EQ(Text(ID_REMOVE_CHECKED), "&Entfernen");
    EXPECT_EQ(Text(ID_VIEW_LARGE_ICONS),
              "Bildet die Listeneinträge ab, indem große Icons verwendet werden.");
    EXPECT_EQ(Text(ID_VIEW_SMALL_ICONS),
              "Bildet die Listeneinträge ab, indem kleine Icons verwendet werden.");
    EXPECT_EQ(Text(ID_VIEW_LIST), "Bildet die Listeneinträge ab.");
    EXPECT_EQ(Text(ID_VIEW_DETAILS), "Bildet die Information befüglich jedes Listeneintrags ab.");
}

TEST(ResourcesStringTable, InfoPaneCommandHasNoText) {
    EXPECT_EQ(FindLibraryString(ID_INFO_PANE), nullptr);
}

TEST(ResourcesStringTable, UnknownIdsHaveNoText) {
    for (UINT id : {0u, 12u, 150u, 32782u, 32788u, 57343u, 57362u, 0xFFFFFFFFu}) {
        EXPECT_EQ(FindLibraryString(id), nullptr) << id;
    }
}

} // namespace
