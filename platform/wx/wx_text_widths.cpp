// The widest of many texts without laying each one out: the list view's column width in its list
// views needs the widest of all its labels, and the toolkit takes microseconds a text.
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
// An estimate adds up what the layout adds up, so a text's width is its estimate rounded to whole
// pixels: only texts estimated within a pixel of the widest estimate can be the widest, and only
// those are measured.
constexpr double kCandidateMargin = 1.05;
// A measured width further than rounding from its estimate shows that the font shapes beyond
// pairs of neighbours; then every text is measured.
constexpr double kTrustedError = 0.55;

bool Estimable(unsigned ch) {
    return ch >= 0x20 && ch < kEstimatedCharacters && !(ch >= 0x7F && ch < 0xA0);
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
    context->GetTextExtent(wxString::FromUTF8(text.data(), text.size()), &width, &height);
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
        const unsigned ch = TakeUtf8(text);
        if (!Estimable(ch))
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
    std::vector<std::optional<double>> estimates;
    estimates.reserve(texts.size());
    double widestEstimate = 0;
    for (std::string_view text : texts) {
        estimates.push_back(EstimatedWidth(text));
        if (estimates.back())
            widestEstimate = std::max(widestEstimate, *estimates.back());
    }
    int widest = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::optional<double>& estimate = estimates[i];
        if (estimate && *estimate < widestEstimate - kCandidateMargin)
            continue;
        const int width = TextWidth(texts[i]);
        if (estimate && std::abs(width - *estimate) > kTrustedError)
            return FontMetrics::WidestTextWidth(texts);
        widest = std::max(widest, width);
    }
    return widest;
}

} // namespace wxui
