// Multi-line edits: their text as lines, shown from a first line on, scrolled by the bar and the
// wheel; the keys that move the caret from line to line; and where a click lands in a line. Also
// how any edit's text follows its caret, and where its characters are drawn.
#include "platform/control_classes.h"

#include "platform/font_metrics.h"
#include "platform/gdi.h"
#include "platform/scroll_bar.h"
#include "platform/utf8.h"
#include "platform/win_styles.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// One line of a multi-line text: where it starts, and its text without the line end.
struct TextLine {
    std::size_t start;
    std::string_view text;
};

// Lines end at newlines; a carriage return before one belongs to the line end.
std::vector<TextLine> SplitLines(std::string_view text) {
    std::vector<TextLine> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back({start, line});
        if (end == text.size())
            return lines;
        start = end + 1;
    }
}

// A one-line edit's text is a single line, whatever characters it holds.
std::vector<TextLine> LinesOf(std::string_view text, bool multiLine) {
    return multiLine ? SplitLines(text) : std::vector<TextLine>{{0, text}};
}

constexpr int kTopMargin = 1;
constexpr int kLeftMargin = 2;

int PageLines(HWND window) {
    const int lineHeight = std::max(1, winsys::MetricsOf(window).LineHeight());
    return std::max(1, (static_cast<int>(winsys::ClientRect(window).Height()) - kTopMargin) /
                           lineHeight);
}

// The line holding the caret at `offset`: a caret at a line's end belongs to that line.
std::size_t LineOf(const std::vector<TextLine>& lines, int offset) {
    const auto after =
        std::upper_bound(lines.begin(), lines.end(), offset, [](int at, const TextLine& line) {
            return at < static_cast<int>(line.start);
        });
    return static_cast<std::size_t>(std::max<std::ptrdiff_t>(1, after - lines.begin()) - 1);
}

// How far from the line's start, in pixels, the caret at `offset` of `line` stands.
int XInLine(const TextLine& line, int offset, const FontMetrics& metrics) {
    const auto length =
        static_cast<std::size_t>(std::max(0, offset - static_cast<int>(line.start)));
    return metrics.TextWidth(line.text.substr(0, std::min(length, line.text.size())));
}

} // namespace

int OffsetAtX(std::string_view line, int x, const FontMetrics& metrics) {
    // The character boundaries; the answer is the first whose midpoint to the next lies right of
    // x. Widths grow with the prefix, so a binary search finds it measuring a few prefixes only.
    const std::vector<std::size_t> boundaries = CharacterBoundaries(line);
    auto width = [&](std::size_t index) {
        return metrics.TextWidth(line.substr(0, boundaries[index]));
    };
    std::size_t low = 0;                      // boundaries before low have their midpoint <= x
    std::size_t high = boundaries.size() - 1; // the last boundary has no midpoint
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (x < (width(middle) + width(middle + 1)) / 2)
            high = middle;
        else
            low = middle + 1;
    }
    return static_cast<int>(boundaries[low]);
}

void EditClass::UpdateLineBar(HWND window) {
    WindowData* data = winsys::Live(window);
    if (!data)
        return;
    const int count = static_cast<int>(SplitLines(data->text.str()).size());
    const int page = PageLines(window);
    firstLine = std::clamp(firstLine, 0, std::max(0, count - page));
    if (data->style & WS_VSCROLL)
        winsys::SetScrollState(window, SB_VERT, {0, count - 1, page, firstLine});
}

void EditClass::ScrollToLine(HWND window, long long line) {
    const int before = firstLine;
    firstLine = static_cast<int>(std::clamp<long long>(line, 0, std::numeric_limits<int>::max()));
    UpdateLineBar(window);
    if (firstLine != before)
        winsys::Invalidate(window, nullptr);
}

bool EditClass::HandleLineMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result) {
    WindowData* data = winsys::Live(window);
    if (!data || !(data->style & ES_MULTILINE))
        return false;
    result = 0;
    switch (message) {
    case WM_VSCROLL:
        if (const std::optional<int> line =
                scroll_bar::Target(winsys::ScrollState(window, SB_VERT), LOWORD(wParam), 1))
            ScrollToLine(window, *line);
        return true;
    case WM_MOUSEWHEEL:
        ScrollToLine(window,
                     firstLine - wheel.Notches(GET_WHEEL_DELTA_WPARAM(wParam)) * kWheelScrollLines);
        return true;
    case WM_KEYDOWN:
        return MoveByLineKey(window, static_cast<UINT>(wParam));
    case WM_SIZE:
    case WM_STYLECHANGED:
        UpdateLineBar(window);
        return false;
    case EM_GETLINECOUNT:
        result = static_cast<LRESULT>(SplitLines(data->text.str()).size());
        return true;
    case EM_GETFIRSTVISIBLELINE:
        result = firstLine;
        return true;
    case EM_LINESCROLL:
        ScrollToLine(window, firstLine + static_cast<long long>(lParam));
        result = TRUE;
        return true;
    default:
        return false;
    }
}

CRect EditClass::TextArea(HWND window) const {
    const WindowData* data = winsys::Live(window);
    CRect area = winsys::ClientRect(window);
    area.left += kLeftMargin;
    area.right = std::max(area.left + 1, area.right - kLeftMargin);
    if (data && (data->style & ES_MULTILINE))
        area.bottom = kTopMargin + PageLines(window) * winsys::MetricsOf(window).LineHeight();
    return area;
}

void EditClass::ScrollCaretIntoView(HWND window) {
    WindowData* data = winsys::Live(window);
    if (!data)
        return;
    const bool multiLine = data->style & ES_MULTILINE;
    const FontMetrics& metrics = winsys::MetricsOf(window);
    const int width = static_cast<int>(TextArea(window).Width());
    const std::string text = data->text.str();
    const std::vector<TextLine> lines = LinesOf(text, multiLine);
    const std::size_t row = LineOf(lines, selEnd);
    const int caretX = XInLine(lines[row], selEnd, metrics);
    // Past an edge the caret comes to stand a third of the width inside, as in Windows' edits;
    // a one-line edit shows no more than its text's end at the right.
    const int inside = width / 3;
    int left = scrollX;
    if (caretX < scrollX)
        left = std::max(0, caretX - inside);
    else if (caretX > scrollX + width)
        left = multiLine ? caretX - inside
                         : std::min(caretX - width + inside, metrics.TextWidth(text) - width);
    if (left != scrollX) {
        scrollX = left;
        winsys::Invalidate(window, nullptr);
    }
    if (multiLine) {
        const int lastTop = static_cast<int>(row) - PageLines(window) + 1;
        ScrollToLine(window, std::clamp(firstLine, std::max(0, lastTop), static_cast<int>(row)));
    }
}

std::optional<CPoint> EditClass::PointOfOffset(HWND window, int offset) const {
    const WindowData* data = winsys::Live(window);
    const std::string text = data ? data->text.str() : std::string();
    if (offset < 0 || offset >= static_cast<int>(text.size()))
        return std::nullopt;
    const bool multiLine = data->style & ES_MULTILINE;
    const FontMetrics& metrics = winsys::MetricsOf(window);
    const std::vector<TextLine> lines = LinesOf(text, multiLine);
    const std::size_t row = LineOf(lines, offset);
    // A one-line edit's text stands in the middle of its height.
    const int y =
        multiLine
            ? kTopMargin + (static_cast<int>(row) - firstLine) * metrics.LineHeight()
            : (static_cast<int>(winsys::ClientRect(window).Height()) - metrics.LineHeight()) / 2;
    return CPoint(kLeftMargin - scrollX + XInLine(lines[row], offset, metrics), y);
}

bool EditClass::MoveByLineKey(HWND window, UINT key) {
    WindowData* data = winsys::Live(window);
    if (!data || (key != VK_UP && key != VK_DOWN && key != VK_PRIOR && key != VK_NEXT &&
                  key != VK_HOME && key != VK_END))
        return false;
    const std::string text = data->text.str();
    const std::vector<TextLine> lines = SplitLines(text);
    const FontMetrics& metrics = winsys::MetricsOf(window);
    const std::size_t row = LineOf(lines, selEnd);
    const TextLine& line = lines[row];
    if (key == VK_HOME || key == VK_END) {
        if (winsys::KeyDown(VK_CONTROL))
            selEnd = key == VK_HOME ? 0 : static_cast<int>(text.size());
        else
            selEnd = static_cast<int>(line.start + (key == VK_HOME ? 0 : line.text.size()));
        lineKeyColumn.reset();
    } else {
        const int x = lineKeyColumn && lineKeyColumn->first == selEnd
                          ? lineKeyColumn->second
                          : XInLine(line, selEnd, metrics);
        const int page = PageLines(window);
        const long long step = key == VK_UP      ? -1
                               : key == VK_DOWN  ? 1
                               : key == VK_PRIOR ? -page
                                                 : page;
        // A page key turns the view by a page as well.
        if (key == VK_PRIOR || key == VK_NEXT)
            ScrollToLine(window, firstLine + step);
        const TextLine& to = lines[static_cast<std::size_t>(std::clamp<long long>(
            static_cast<long long>(row) + step, 0, static_cast<long long>(lines.size()) - 1))];
        selEnd = static_cast<int>(to.start) + OffsetAtX(to.text, x, metrics);
        lineKeyColumn = std::pair{selEnd, x};
    }
    if (!winsys::KeyDown(VK_SHIFT))
        selStart = selEnd;
    ScrollCaretIntoView(window);
    winsys::Invalidate(window, nullptr);
    return true;
}

void EditClass::PaintLines(HWND window, CDC& dc, const std::string& text, bool focused) {
    const FontMetrics& metrics = winsys::MetricsOf(window);
    // Only lines that show whole are drawn, as in Windows' edits; below them the edge is blank.
    const std::size_t wholeLinesEnd =
        static_cast<std::size_t>(std::max(0, firstLine) + PageLines(window));
    const std::vector<TextLine> lines = SplitLines(text);
    const int from = std::min(selStart, selEnd);
    const int to = std::max(selStart, selEnd);
    const int left = kLeftMargin - scrollX;
    int y = kTopMargin;
    for (std::size_t i = static_cast<std::size_t>(std::max(0, firstLine));
         i < lines.size() && i < wholeLinesEnd; ++i, y += metrics.LineHeight()) {
        const TextLine& line = lines[i];
        const int lineStart = static_cast<int>(line.start);
        const int lineEnd = lineStart + static_cast<int>(line.text.size());
        // The caret when it stands in this line, or the part of the selection the line holds.
        const bool caretHere = from == to && from >= lineStart && from <= lineEnd;
        const int start = std::max(from, lineStart);
        const int end = std::min(to, lineEnd);
        const bool shown = focused && (caretHere || (from != to && start < end));
        PaintEditLine(dc, left, y, line.text, shown ? start - lineStart : -1, end - lineStart,
                      metrics);
    }
}

int EditClass::LineOffsetAt(HWND window, CPoint point) const {
    const WindowData* data = winsys::Live(window);
    if (!data)
        return 0;
    const std::string text = data->text.str();
    const std::vector<TextLine> lines = SplitLines(text);
    const FontMetrics& metrics = winsys::MetricsOf(window);
    const int row = (static_cast<int>(point.y) - kTopMargin) / std::max(1, metrics.LineHeight());
    const TextLine& line = lines[static_cast<std::size_t>(
        std::clamp(firstLine + std::max(0, row), 0, static_cast<int>(lines.size()) - 1))];
    return static_cast<int>(line.start) +
           OffsetAtX(line.text, static_cast<int>(point.x) - kLeftMargin + scrollX, metrics);
}
