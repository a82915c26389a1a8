#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Sorted by id.
constexpr std::array<std::pair<UINT, const char*>, 33> kStrings{{
    {1, "Name"},
    {2, "Typ"},
    {3, "Geändert"},
    {4, "ID"},
    {5, "Verzeichnis"},
    {6, "Standbild"},
    {7, "Sammlung"},
    {8, "Standbild mit diesem Namen existiert bereits. Vorhandenes Lesezeichen ersetzen ?"},
    {9, "Verzeichnis enthält schon das Standbild."},
    {10, "Sie müssen den namen eingeben."},
    {11, "Fehler beim Umbenennen."},
    {32783, "Bildet die Listeneinträge ab, indem große Icons verwendet werden."},
    {32787, "Bildet die Information befüglich jedes Listeneintrags ab."},
    {32789, "Bildet die Listeneinträge ab."},
    {32790, "Bildet die Listeneinträge ab, indem kleine Icons verwendet werden."},
    {57344, "Tarvosil"},
    {57345, "Erzeugen"},
    {57346, "&Verzeichnis"},
    {57347, "&Standbild"},
    {57348, "&Öffnen"},
    {57349, "&Ausschneiden"},
    {57350, "Ein&fügen"},
    {57351, "&Entfernen"},
    {57352, "&Umbenennen"},
    {57353, "&Wählen"},
    {57354, "Ansicht"},
    {57355, "Neuer Verzeichnis"},
    {57356, "Neuer Verzeichnis (%1)"},
    {57357, "Fehler beim Erzeugen."},
    {57358, "Neuer Standbild"},
    {57359, "Neuer Standbild (%1)"},
    {57360, "&UP"},        // toolbar only, never shown
    {57361, "&Entfernen"}, // toolbar only, never shown
}};

} // namespace

const char* FindLibraryString(UINT id) {
    const auto* found =
        std::lower_bound(kStrings.begin(), kStrings.end(), id,
                         [](const auto& entry, UINT key) { return entry.first < key; });
    return found != kStrings.end() && found->first == id ? found->second : nullptr;
}
