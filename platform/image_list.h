// CImageList and the image-list drag functions.
#pragma once

#include "platform/commctrl.h"
#include "platform/gdi.h"

#include <memory>

class CWnd;

class CImageList : public CObject {
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    // An empty list of `cx` x `cy` images.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // The library's bitmap `bitmapId` cut into images `cx` pixels wide; pixels of `mask` colour
    // are transparent.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL DeleteImageList();
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();

    int GetImageCount() const;
    BOOL GetImageInfo(int image, IMAGEINFO* info) const;
    CSize GetImageSize() const;
    // Appends the images of `bitmap` (cut by the list's width); the index of the first.
    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(CBitmap* bitmap, COLORREF mask);
    int Add(HICON icon);
    BOOL Remove(int image);
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;

    BOOL Draw(CDC* dc, int image, POINT point, UINT style);

    // Starts a drag with `image`, grabbed at `hotspot` inside it.
    BOOL BeginDrag(int image, CPoint hotspot);
    // Shows the drag image over `lockWindow` at `point` (relative to its window rectangle).
    static BOOL DragEnter(CWnd* lockWindow, CPoint point);
    static BOOL DragMove(CPoint point);
    static BOOL DragLeave(CWnd* lockWindow);
    static void EndDrag();
    static BOOL DragShowNolock(BOOL show);

    // The pixels of image `image` (null when out of range); the list's own layer-level view.
    const PixelImage* ImagePixels(int image) const;

private:
    std::shared_ptr<ImageListData> m_owned;
};

// The same operations on handles, as the common controls export them.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
BOOL ImageList_BeginDrag(HIMAGELIST list, int image, int hotspotX, int hotspotY);
BOOL ImageList_DragEnter(HWND lockWindow, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragLeave(HWND lockWindow);
void ImageList_EndDrag();
BOOL ImageList_DragShowNolock(BOOL show);
