// The images of an image list. Layer-internal.
#pragma once

#include "platform/commctrl.h"
#include "platform/window_backend.h"

#include <memory>
#include <vector>

class CDC;

// Shared by the CImageList that made it and every control it was given to, so that neither
// outliving the other leaves a dangling list.
struct ImageListData : std::enable_shared_from_this<ImageListData> {
    ImageListData();
    ~ImageListData();
    ImageListData(const ImageListData&) = delete;
    ImageListData& operator=(const ImageListData&) = delete;

    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    COLORREF background = CLR_NONE;
    std::vector<PixelImage> images;
    // The reference ImageList_Create hands out until ImageList_Destroy.
    std::shared_ptr<ImageListData>* handleHolder = nullptr;
};

ImageListData* LiveImageList(HIMAGELIST list);
std::shared_ptr<ImageListData> ShareImageList(HIMAGELIST list);
void DrawImageListImage(CDC& dc, const ImageListData& list, int index, CPoint point, UINT style);
const DragImageState& CurrentDragImage();
