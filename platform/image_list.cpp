#include "platform/image_list.h"

#include "platform/app.h"
#include "platform/image_list_data.h"
#include "platform/pixel_surface.h"
#include "platform/resource_access.h"
#include "platform/window.h"
#include "platform/window_backend.h"
#include "platform/window_system.h"

#include <unordered_set>
#include <utility>

namespace {

std::unordered_set<const ImageListData*>& LiveLists() {
    static auto* live = new std::unordered_set<const ImageListData*>;
    return *live;
}

// The one drag image of the process, as the common controls keep it.
DragImageState& Drag() {
    static auto* state = new DragImageState;
    return *state;
}

void DragChanged() {
    CurrentWindowBackend().DragImageChanged(Drag());
}

PixelImage Cut(const PixelImage& strip, int left, int width, int height, COLORREF mask) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    if (mask != CLR_NONE || !strip.transparent.empty())
        image.transparent.assign(image.pixels.size(), 0);
    const std::uint32_t maskRgb = ColorToRgb(mask);
    for (int y = 0; y < height && y < strip.height; ++y) {
        for (int x = 0; x < width && left + x < strip.width; ++x) {
            const std::uint32_t pixel =
                strip.pixels[static_cast<std::size_t>(y) * strip.width + left + x] & 0xFFFFFF;
            const std::size_t index = static_cast<std::size_t>(y) * width + x;
            image.pixels[index] = pixel;
            if ((mask != CLR_NONE && pixel == maskRgb) || strip.IsTransparent(left + x, y))
                image.transparent[index] = 1;
        }
    }
    return image;
}

// Mixes `percent` of `color` into every opaque pixel, as ILD_BLEND draws a selected image.
PixelImage Blend(const PixelImage& image, COLORREF color, int percent) {
    PixelImage blended = image;
    const std::uint32_t rgb = ColorToRgb(color);
    for (std::size_t i = 0; i < blended.pixels.size(); ++i) {
        std::uint32_t out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int a = static_cast<int>((blended.pixels[i] >> shift) & 0xFF);
            const int b = static_cast<int>((rgb >> shift) & 0xFF);
            out |= static_cast<std::uint32_t>((a * (100 - percent) + b * percent) / 100) << shift;
        }
        blended.pixels[i] = out;
    }
    return blended;
}

} // namespace

ImageListData::ImageListData() {
    LiveLists().insert(this);
}
ImageListData::~ImageListData() {
    LiveLists().erase(this);
}

ImageListData* LiveImageList(HIMAGELIST list) {
    return list && LiveLists().count(list) ? list : nullptr;
}

std::shared_ptr<ImageListData> ShareImageList(HIMAGELIST list) {
    ImageListData* data = LiveImageList(list);
    return data ? data->shared_from_this() : nullptr;
}

void DrawImageListImage(CDC& dc, const ImageListData& list, int index, CPoint point, UINT style) {
    if (index < 0 || index >= static_cast<int>(list.images.size()))
        return;
    const PixelImage& image = list.images[static_cast<std::size_t>(index)];
    const CRect dest(point, CSize(image.width, image.height));
    if (list.background != CLR_NONE && !(style & ILD_TRANSPARENT))
        dc.FillSolidRect(&dest, list.background);
    const CRect source(0, 0, image.width, image.height);
    if (style & ILD_BLEND50)
        dc.DrawImage(dest, Blend(image, GetSysColor(COLOR_HIGHLIGHT), 50), source);
    else if (style & ILD_BLEND25)
        dc.DrawImage(dest, Blend(image, GetSysColor(COLOR_HIGHLIGHT), 25), source);
    else
        dc.DrawImage(dest, image, source);
}

const DragImageState& CurrentDragImage() {
    return Drag();
}

CImageList::~CImageList() {
    DeleteImageList();
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int, int) {
    if (m_hImageList || cx <= 0 || cy <= 0)
        return FALSE;
    m_owned = std::make_shared<ImageListData>();
    m_owned->cx = cx;
    m_owned->cy = cy;
    m_owned->flags = flags;
    m_hImageList = m_owned.get();
    return TRUE;
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
    const PixelImage* strip = FindBitmapPixels(bitmapId);
    if (!strip || cx <= 0 || !Create(cx, strip->height, ILC_COLOR24 | ILC_MASK, 0, grow))
        return FALSE;
    for (int left = 0; left + cx <= strip->width; left += cx)
        m_owned->images.push_back(Cut(*strip, left, cx, strip->height, mask));
    return TRUE;
}

BOOL CImageList::DeleteImageList() {
    const bool had = m_hImageList != nullptr;
    m_owned.reset();
    m_hImageList = nullptr;
    return had ? TRUE : FALSE;
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (m_hImageList || !LiveImageList(list))
        return FALSE;
    m_owned = ShareImageList(list);
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST list = m_hImageList;
    m_owned.reset();
    m_hImageList = nullptr;
    return list;
}

int CImageList::GetImageCount() const {
    ImageListData* data = LiveImageList(m_hImageList);
    return data ? static_cast<int>(data->images.size()) : 0;
}

BOOL CImageList::GetImageInfo(int image, IMAGEINFO* info) const {
    ImageListData* data = LiveImageList(m_hImageList);
    if (!data || !info || image < 0 || image >= static_cast<int>(data->images.size()))
        return FALSE;
    *info = IMAGEINFO{nullptr, nullptr, 0, 0, CRect(0, 0, data->cx, data->cy)};
    return TRUE;
}

CSize CImageList::GetImageSize() const {
    ImageListData* data = LiveImageList(m_hImageList);
    return data ? CSize(data->cx, data->cy) : CSize();
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask) {
    ImageListData* data = LiveImageList(m_hImageList);
    const PixelImage* pixels = bitmap ? bitmap->Pixels() : nullptr;
    if (!data || !pixels)
        return -1;
    const PixelImage* maskPixels = mask ? mask->Pixels() : nullptr;
    const int first = static_cast<int>(data->images.size());
    for (int left = 0; left + data->cx <= pixels->width; left += data->cx) {
        PixelImage image = Cut(*pixels, left, data->cx, data->cy, CLR_NONE);
        if (maskPixels) {
            image.transparent.assign(image.pixels.size(), 0);
            for (int y = 0; y < data->cy && y < maskPixels->height; ++y)
                for (int x = 0; x < data->cx && left + x < maskPixels->width; ++x)
                    image.transparent[static_cast<std::size_t>(y) * data->cx + x] =
                        (maskPixels
                             ->pixels[static_cast<std::size_t>(y) * maskPixels->width + left + x] &
                         0xFFFFFF) != 0;
        }
        data->images.push_back(std::move(image));
    }
    return first;
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask) {
    ImageListData* data = LiveImageList(m_hImageList);
    const PixelImage* pixels = bitmap ? bitmap->Pixels() : nullptr;
    if (!data || !pixels)
        return -1;
    const int first = static_cast<int>(data->images.size());
    for (int left = 0; left + data->cx <= pixels->width; left += data->cx)
        data->images.push_back(Cut(*pixels, left, data->cx, data->cy, mask));
    return first;
}

int CImageList::Add(HICON icon) {
    ImageListData* data = LiveImageList(m_hImageList);
    const CursorInfoView view = DescribeCursor(icon);
    if (!data || !view.image)
        return -1;
    // Scaled to the list's size, nearest pixel.
    PixelImage image;
    image.width = data->cx;
    image.height = data->cy;
    image.pixels.resize(static_cast<std::size_t>(data->cx) * data->cy);
    image.transparent.resize(image.pixels.size());
    for (int y = 0; y < data->cy; ++y)
        for (int x = 0; x < data->cx; ++x) {
            const int sx = x * view.image->width / data->cx;
            const int sy = y * view.image->height / data->cy;
            const std::size_t index = static_cast<std::size_t>(y) * data->cx + x;
            image.pixels[index] =
                view.image->pixels[static_cast<std::size_t>(sy) * view.image->width + sx];
            image.transparent[index] = view.image->IsTransparent(sx, sy);
        }
    data->images.push_back(std::move(image));
    return static_cast<int>(data->images.size()) - 1;
}

BOOL CImageList::Remove(int image) {
    ImageListData* data = LiveImageList(m_hImageList);
    if (!data)
        return FALSE;
    if (image == -1) {
        data->images.clear();
        return TRUE;
    }
    if (image < 0 || image >= static_cast<int>(data->images.size()))
        return FALSE;
    data->images.erase(data->images.begin() + image);
    return TRUE;
}

COLORREF CImageList::SetBkColor(COLORREF color) {
    ImageListData* data = LiveImageList(m_hImageList);
    return data ? std::exchange(data->background, color) : CLR_NONE;
}

COLORREF CImageList::GetBkColor() const {
    ImageListData* data = LiveImageList(m_hImageList);
    return data ? data->background : CLR_NONE;
}

BOOL CImageList::Draw(CDC* dc, int image, POINT point, UINT style) {
    ImageListData* data = LiveImageList(m_hImageList);
    if (!data || !dc || image < 0 || image >= static_cast<int>(data->images.size()))
        return FALSE;
    DrawImageListImage(*dc, *data, image, point, style);
    return TRUE;
}

const PixelImage* CImageList::ImagePixels(int image) const {
    ImageListData* data = LiveImageList(m_hImageList);
    if (!data || image < 0 || image >= static_cast<int>(data->images.size()))
        return nullptr;
    return &data->images[static_cast<std::size_t>(image)];
}

BOOL CImageList::BeginDrag(int image, CPoint hotspot) {
    return ImageList_BeginDrag(m_hImageList, image, hotspot.x, hotspot.y);
}

BOOL CImageList::DragEnter(CWnd* lockWindow, CPoint point) {
    return ImageList_DragEnter(lockWindow ? lockWindow->m_hWnd : nullptr, point.x, point.y);
}

BOOL CImageList::DragMove(CPoint point) {
    return ImageList_DragMove(point.x, point.y);
}

BOOL CImageList::DragLeave(CWnd* lockWindow) {
    return ImageList_DragLeave(lockWindow ? lockWindow->m_hWnd : nullptr);
}

void CImageList::EndDrag() {
    ImageList_EndDrag();
}

BOOL CImageList::DragShowNolock(BOOL show) {
    return ImageList_DragShowNolock(show);
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
    if (cx <= 0 || cy <= 0)
        return nullptr;
    // Owned by whoever destroys it with ImageList_Destroy.
    auto* holder = new std::shared_ptr<ImageListData>(std::make_shared<ImageListData>());
    (*holder)->cx = cx;
    (*holder)->cy = cy;
    (*holder)->flags = flags;
    (*holder)->handleHolder = holder;
    return holder->get();
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    ImageListData* data = LiveImageList(list);
    if (!data || !data->handleHolder)
        return FALSE;
    delete std::exchange(data->handleHolder, nullptr);
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    ImageListData* data = LiveImageList(list);
    return data ? static_cast<int>(data->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    ImageListData* data = LiveImageList(list);
    if (!data)
        return FALSE;
    if (cx)
        *cx = data->cx;
    if (cy)
        *cy = data->cy;
    return TRUE;
}

BOOL ImageList_BeginDrag(HIMAGELIST list, int image, int hotspotX, int hotspotY) {
    ImageListData* data = LiveImageList(list);
    if (!data || image < 0 || image >= static_cast<int>(data->images.size()))
        return FALSE;
    DragImageState& drag = Drag();
    drag = DragImageState{};
    drag.dragging = true;
    drag.image = data->images[static_cast<std::size_t>(image)];
    drag.hotspot = CPoint(hotspotX, hotspotY);
    DragChanged();
    return TRUE;
}

BOOL ImageList_DragEnter(HWND lockWindow, int x, int y) {
    DragImageState& drag = Drag();
    if (!drag.dragging)
        return FALSE;
    drag.lockWindow = lockWindow;
    drag.position = CPoint(x, y);
    drag.visible = true;
    DragChanged();
    return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
    DragImageState& drag = Drag();
    if (!drag.dragging)
        return FALSE;
    drag.position = CPoint(x, y);
    DragChanged();
    return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
    DragImageState& drag = Drag();
    drag.visible = false;
    DragChanged();
    return TRUE;
}

void ImageList_EndDrag() {
    Drag() = DragImageState{};
    DragChanged();
}

BOOL ImageList_DragShowNolock(BOOL show) {
    DragImageState& drag = Drag();
    if (!drag.dragging)
        return FALSE;
    drag.visible = show != FALSE;
    DragChanged();
    return TRUE;
}
