#include "platform/resource_access.h"

#include "resources/artwork.h"

#include <map>
#include <memory>

namespace {

enum class Kind { Bitmap, Icon, Cursor };

const PixelImage* Convert(Kind kind, UINT id, const ResourceImage* image) {
    static std::map<std::pair<Kind, UINT>, std::unique_ptr<PixelImage>> cache;
    if (!image)
        return nullptr;
    auto& slot = cache[{kind, id}];
    if (!slot) {
        slot = std::make_unique<PixelImage>();
        slot->width = image->width;
        slot->height = image->height;
        slot->pixels = image->pixels;
        if (kind != Kind::Bitmap) {
            slot->transparent.resize(slot->pixels.size());
            for (std::size_t i = 0; i < slot->pixels.size(); ++i)
                slot->transparent[i] = (slot->pixels[i] & 0xFFFFFF) == kTransparentColour;
        }
    }
    return slot.get();
}

} // namespace

const PixelImage* FindBitmapPixels(UINT id) {
    return Convert(Kind::Bitmap, id, FindBitmapResource(id));
}

const PixelImage* FindIconPixels(UINT id) {
    return Convert(Kind::Icon, id, FindIconResource(id));
}

const PixelImage* FindCursorPixels(UINT id, CPoint* hotspot) {
    const ResourceImage* resource = FindCursorResource(id);
    if (resource && hotspot)
        *hotspot = CPoint(resource->hotX, resource->hotY);
    return Convert(Kind::Cursor, id, resource);
}
