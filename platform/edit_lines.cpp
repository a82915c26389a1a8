// Multi-line edits: their text as lines, shown from a first line on, scrolled by the bar, the
// wheel and the keys; and where a click lands in a line.
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

constexpr int kTopMargin = 1;
constexpr int kLeftMargin = 2;

int PageLines(HWND window) {
    const int lineHeight = std::max(1, winsys::MetricsOf(window).LineHeight());
    return std::max(1, (static_cast<int>(winsys::ClientRect(window).Height()) - kTopMargin) /
                           lineHeight);
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
        switch (wParam) {
        case VK_UP:
        case VK_DOWN:
            ScrollToLine(window, firstLine + (wParam == VK_UP ? -1LL : 1LL));
            return true;
        case VK_PRIOR:
        case VK_NEXT:
            ScrollToLine(window, firstLine + (wParam == VK_PRIOR ? -1 : 1) * PageLines(window));
            return true;
        case VK_HOME: // the caret goes to the start or the end of the text, and the view with it
        case VK_END:
            ScrollToLine(window, wParam == VK_HOME ? 0 : std::numeric_limits<int>::max());
            return false;
        default:
            return false;
        }
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

void EditClass::PaintLines(HWND window, CDC& dc, const std::string& text) {
    const FontMetrics& metrics = winsys::MetricsOf(window);
    const long bottom = winsys::ClientRect(window).bottom;
    const std::vector<TextLine> lines = SplitLines(text);
    int y = kTopMargin;
    for (std::size_t i = static_cast<std::size_t>(std::max(0, firstLine));
         i < lines.size() && y < bottom; ++i, y += metrics.LineHeight())
        dc.TextOut(kLeftMargin, y, lines[i].text.data(), static_cast<int>(lines[i].text.size()));
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
           OffsetAtX(line.text, static_cast<int>(point.x) - kLeftMargin, metrics);
}
