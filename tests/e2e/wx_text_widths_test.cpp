// The real font's answer for the widest of many texts, which skips measuring most of them, against
// measuring every one.
#include "platform/font_metrics.h"
#include "platform/utf8.h"
#include "platform/wx/wx_backend.h"
#include "tests/e2e/wx_test_environment.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

int MeasuringEach(const FontMetrics& metrics, const std::vector<std::string>& texts) {
    int widest = 0;
    for (const std::string& text : texts)
        widest = std::max(widest, metrics.TextWidth(text));
    return widest;
}

int Widest(const FontMetrics& metrics, const std::vector<std::string>& texts) {
    return metrics.WidestTextWidth(std::vector<std::string_view>(texts.begin(), texts.end()));
}

TEST(WxTextWidths, TheWidestOfManyTextsIsTheWidestMeasured) {
    wxui::WxInstallation* toolkit = WxToolkit();
    if (!toolkit)
        GTEST_SKIP() << "no display";
    const FontMetrics& metrics = toolkit->Backend().Metrics("MS Sans Serif", 8);

    // Names of one pattern whose widths lie a pixel or two apart, with kerning pairs (AV, To, Wa),
    // ligature candidates (ff, fi) and umlauts; the widest is not the longest.
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i)
        names.push_back(std::string(i % 3 ? "Standbild " : "AVATAR Tower ") +
                        (i % 5 ? "Nr. " : "Schiff Effi ") + std::to_string(i * 37 % 1000));
    names.push_back("WWWWWWWWWWWWWWWWWWWW");
    names.push_back("iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii");
    names.push_back("Ärger über Größe");
    EXPECT_EQ(Widest(metrics, names), MeasuringEach(metrics, names));

    // The widest written in a script the estimate leaves alone.
    std::vector<std::string> mixed(names.begin(), names.begin() + 100);
    mixed.push_back("Ελληνικά και 日本語の名前がとても長い");
    EXPECT_EQ(Widest(metrics, mixed), MeasuringEach(metrics, mixed));
    EXPECT_EQ(Widest(metrics, mixed), metrics.TextWidth(mixed.back()));

    // Random texts of Latin-1 and Latin Extended-A letters, digits, blanks and signs.
    std::mt19937 random(20261206);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> texts;
        for (int i = 0; i < 200; ++i) {
            std::string text;
            const int length = 1 + static_cast<int>(random() % 24);
            for (int k = 0; k < length; ++k) {
                unsigned ch = 0x20 + random() % (0x180 - 0x20);
                if (ch >= 0x7F && ch < 0xA0)
                    ch = 'a' + ch % 26;
                text += EncodeUtf8(ch);
            }
            texts.push_back(text);
        }
        EXPECT_EQ(Widest(metrics, texts), MeasuringEach(metrics, texts)) << "round " << round;
    }
    EXPECT_EQ(Widest(metrics, {}), 0);
}

} // namespace
