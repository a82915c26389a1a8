// The widest of many texts without laying each one out: the list view's column width in its list
// views needs the widest of all its labels, and the toolkit takes microseconds a text. Most texts
// are laid out as their characters side by side, moved closer or apart pair by pair (kerning), so
// their width is the sum of their characters' widths and their pairs' shifts; only the others, and
// the few that could be the widest, are measured.
#include "platform/utf8.h"
#include "platform/wx/wx_internal.h"

#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace wxui {

namespace {

// Characters whose advance and pairs are kept: Latin-1 and Latin Extended-A.
constexpr unsigned kEstimatedCharacters = 0x180;
// Below this many texts each one is measured.
constexpr std::size_t kFewTexts = 32;
// A text's width is its estimate rounded to whole pixels, unless the estimate lies this close to
// half a pixel, where the sums' own rounding may tip it either way: such a text is measured when
// it could be the widest.
constexpr double kRoundingDoubt = 0.02;
// The texts with the highest estimates are measured all the same. One whose width is not its
// estimate rounded shows that the font joins or moves characters beyond what their pairs show;
// then every text is measured.
constexpr std::size_t kCheckedTexts = 16;

// A character the estimate can place: Latin-1 and Latin Extended-A without the controls and the
// soft hyphen, which takes no room and lets its neighbours kern as if it were not there.
bool Estimable(unsigned ch) {
    return ch >= 0x20 && ch < kEstimatedCharacters && !(ch >= 0x7F && ch < 0xA0) && ch != 0xAD;
}

bool IsLetter(unsigned ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch >= 0xC0;
}

float Unknown() {
    return std::numeric_limits<float>::quiet_NaN();
}

} // namespace

double WxFont::FractionalWidth(std::string_view text) const {
    wxGraphicsContext* context = m_measure.GetGraphicsContext();
    if (!context)
        return TextWidth(text);
    wxDouble width = 0;
    wxDouble height = 0;
    context->GetTextExtent(LineText(text), &width, &height);
    return width;
}

double WxFont::Advance(unsigned ch) const {
    if (m_advances.empty())
        m_advances.assign(kEstimatedCharacters, Unknown());
    float& advance = m_advances[ch];
    if (std::isnan(advance))
        advance = static_cast<float>(FractionalWidth(EncodeUtf8(ch)));
    return advance;
}

double WxFont::PairShift(unsigned first, unsigned second) const {
    if (m_pairShifts.empty())
        m_pairShifts.assign(kEstimatedCharacters * kEstimatedCharacters, Unknown());
    float& shift = m_pairShifts[first * kEstimatedCharacters + second];
    if (std::isnan(shift))
        shift = static_cast<float>(FractionalWidth(EncodeUtf8(first) + EncodeUtf8(second)) -
                                   Advance(first) - Advance(second));
    return shift;
}

std::optional<double> WxFont::EstimatedWidth(std::string_view text) const {
    double width = 0;
    unsigned previous = 0;
    bool first = true;
    while (!text.empty()) {
        // Bytes that are no UTF-8 are read as the toolkit is given them (LineText).
        const unsigned ch = TakeUtf8(text);
        if (!Estimable(ch))
            return std::nullopt;
        if (!first && previous == 'f' && IsLetter(ch))
            return std::nullopt;
        width += Advance(ch);
        if (!first)
            width += PairShift(previous, ch);
        previous = ch;
        first = false;
    }
    return width;
}

int WxFont::WidestTextWidth(const std::vector<std::string_view>& texts) const {
    if (texts.size() < kFewTexts || !m_measure.GetGraphicsContext())
        return FontMetrics::WidestTextWidth(texts);
    struct Estimate {
        std::size_t index;
        double width;
    };
    std::vector<Estimate> estimates;
    estimates.reserve(texts.size());
    int widest = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (const std::optional<double> width = EstimatedWidth(texts[i]))
            estimates.push_back({i, *width});
        else
            widest = std::max(widest, TextWidth(texts[i]));
    }
    if (estimates.empty())
        return widest;
    const auto checked = estimates.begin() + std::min(kCheckedTexts, estimates.size());
    std::partial_sort(estimates.begin(), checked, estimates.end(),
                      [](const Estimate& a, const Estimate& b) { return a.width > b.width; });
    auto doubtful = [](double width) {
        return std::abs(width - std::floor(width) - 0.5) < kRoundingDoubt;
    };
    auto rounded = [](double width) { return static_cast<int>(std::floor(width + 0.5)); };
    for (auto it = estimates.begin(); it != checked; ++it) {
        const int width = TextWidth(texts[it->index]);
        if (!doubtful(it->width) && width != rounded(it->width))
            return FontMetrics::WidestTextWidth(texts);
        widest = std::max(widest, width);
    }
    // A doubtful text below the highest estimate by a pixel or more cannot be the widest.
    const double highest = estimates.front().width;
    for (auto it = checked; it != estimates.end(); ++it) {
        if (!doubtful(it->width))
            widest = std::max(widest, rounded(it->width));
        else if (it->width > highest - 1.0 - kRoundingDoubt)
            widest = std::max(widest, TextWidth(texts[it->index]));
    }
    return widest;
}

} // namespace wxui
