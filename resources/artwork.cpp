#include "resources/artwork.h"

#include "resources/artwork/icon_and_cursor.h"
#include "resources/artwork/large_items.h"
#include "resources/artwork/small_items.h"
#include "resources/artwork/toolbar.h"
#include "resources/resource_ids.h"

namespace {

// Every image, decoded once on first use and kept for the life of the library.
struct Catalogue {
    ResourceImage toolbar = pixel_art::MakeStrip(artwork::kToolbarArt);
    ResourceImage smallItems = pixel_art::MakeStrip(artwork::kSmallItemArt);
    ResourceImage largeItems = pixel_art::MakeStrip(artwork::kLargeItemArt);
    ResourceImage icon = pixel_art::MakeImage(artwork::kIconArt);
    ResourceImage splitter =
        pixel_art::MakeImage(artwork::kSplitterArt, artwork::kSplitterHotX, artwork::kSplitterHotY);
};

const Catalogue& Images() {
    static const Catalogue catalogue;
    return catalogue;
}

} // namespace

const ResourceImage* FindBitmapResource(UINT id) {
    switch (id) {
    case IDB_TOOLBAR:
        return &Images().toolbar;
    case IDB_SMALL_IMAGES:
        return &Images().smallItems;
    case IDB_LARGE_IMAGES:
        return &Images().largeItems;
    default:
        return nullptr;
    }
}

const ResourceImage* FindIconResource(UINT id) {
    return id == IDI_EXPLORER ? &Images().icon : nullptr;
}

const ResourceImage* FindCursorResource(UINT id) {
    return id == IDC_SPLITTER ? &Images().splitter : nullptr;
}
