// A selection drawn out with the mouse in an edit. Inside the text the selection reaches the
// pointer; past an edge it reaches the edge, and while the pointer stays out there a timer moves
// the caret on towards it, a line up or down or a character sideways each time, and the text
// follows the caret as Windows' edits do.
#include "platform/control_classes.h"

#include "platform/edit_words.h"

#include <algorithm>

namespace {

constexpr UINT kDragInterval = 100; // milliseconds a step

// -1 before [low, high), 1 after it, 0 inside.
long Side(long value, long low, long high) {
    return value < low ? -1 : value >= high ? 1 : 0;
}

} // namespace

void EditClass::DragTo(HWND window, CPoint point) {
    const WindowData* data = winsys::Live(window);
    if (!data)
        return;
    const CRect area = TextArea(window);
    const bool multiLine = data->style & ES_MULTILINE;
    dragSide = CSize(Side(point.x, area.left, area.right),
                     multiLine ? Side(point.y, area.top, area.bottom) : 0);
    dragPoint = CPoint(std::clamp(point.x, area.left, area.right - 1),
                       std::clamp(point.y, area.top, area.bottom - 1));
    SelectDraggedTo(window, OffsetAtPoint(window, dragPoint));
    const bool outside = dragSide != CSize(0, 0);
    if (outside && !dragTimer)
        winsys::SetTimer(window, kDragTimer, kDragInterval);
    else if (!outside && dragTimer)
        winsys::KillTimer(window, kDragTimer);
    dragTimer = outside;
}

void EditClass::DragStep(HWND window) {
    const WindowData* data = winsys::Live(window);
    // A drag whose capture another window took is over.
    if (!data || !dragging || winsys::Capture() != window) {
        EndDrag(window);
        return;
    }
    if (dragSide.cy != 0) {
        ScrollToLine(window, firstLine + static_cast<long long>(dragSide.cy));
        SelectDraggedTo(window, OffsetAtPoint(window, dragPoint));
    } else if (dragSide.cx != 0) {
        // A character on, not over a line's end.
        const std::string text = data->text.str();
        const int next =
            dragSide.cx < 0 ? PreviousBoundary(text, selEnd) : NextBoundary(text, selEnd);
        const auto [from, to] = std::minmax(next, selEnd);
        const std::string_view passed = std::string_view(text).substr(
            static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
        if (passed.find_first_of("\r\n") == std::string_view::npos)
            SelectDraggedTo(window, next);
    }
    ScrollCaretIntoView(window);
}

void EditClass::SelectDraggedTo(HWND window, int offset) {
    const WindowData* data = winsys::Live(window);
    if (!data)
        return;
    int start = selStart;
    int end = offset;
    if (draggedWord) {
        // From the first word to the far end of the word under the pointer.
        const auto [wordStart, wordEnd] = WordAt(data->text.str(), offset);
        const bool backwards = wordStart < draggedWord->first;
        start = backwards ? draggedWord->second : draggedWord->first;
        end = backwards ? wordStart : std::max(wordEnd, draggedWord->second);
    }
    if (start != selStart || end != selEnd) {
        selStart = start;
        selEnd = end;
        winsys::Invalidate(window, nullptr);
    }
}

void EditClass::EndDrag(HWND window) {
    if (std::exchange(dragTimer, false))
        winsys::KillTimer(window, kDragTimer);
    dragging.reset();
    draggedWord.reset();
}
