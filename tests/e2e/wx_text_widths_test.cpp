// The real font's answer for the widest of many texts, which skips measuring most of them, against
// measuring every one.
#include "platform/font_metrics.h"
#include "platform/utf8.h"
#include "platform/wx/wx_backend.h"
#include "tests/e2e/wx_test_environment.h"

#include <gtest/gtest.h>

#include <map>
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

class WxTextWidths : public ::testing::Test {
protected:
    void SetUp() override {
        wxui::WxInstallation* toolkit = WxToolkit();
        if (!toolkit)
            GTEST_SKIP() << "no display";
        metrics = &toolkit->Backend().Metrics("MS Sans Serif", 8);
        // Plain names of (almost) every width up to 300 pixels, to stand next to a text a pixel
        // narrower or wider than it.
        const char* words[] = {"Rathaus", "Bild", "im", "l", ".", "Tal", "Haus", "See", "1", "22"};
        std::mt19937 random(7);
        for (int i = 0; i < 20000; ++i) {
            std::string name = words[random() % 10];
            for (int w = static_cast<int>(random() % 12); w > 0; --w)
                name += std::string(" ") + words[random() % 10];
            fillers.emplace(metrics->TextWidth(name), name);
        }
    }

    // The text among 40 names one pixel narrower, and among 40 one pixel wider: the answer must be
    // the text's own width, and the names' width.
    void ExpectTold(const std::string& text) {
        const int width = metrics->TextWidth(text);
        for (const int other : {width - 1, width + 1}) {
            const auto filler = fillers.find(other);
            if (filler == fillers.end())
                continue;
            std::vector<std::string> texts(40, filler->second);
            texts.push_back(text);
            ++checks;
            EXPECT_EQ(Widest(*metrics, texts), std::max(width, other))
                << text << " among " << other;
        }
    }

    const FontMetrics* metrics = nullptr;
    std::map<int, std::string> fillers;
    int checks = 0;
};

TEST_F(WxTextWidths, EachTextIsToldItsOwnWidth) {
    // Kerned pairs (AV, To, We, Fä), umlauts, texts the font lays out otherwise than their
    // characters side by side (three f joined, an f-ligature before a full stop, a soft hyphen
    // the font kerns across) and bytes that are not UTF-8.
    for (const char* text : {"AVATAR Tower", "Weinberg 2", "Fähre 1", "Ärger über Größe",
                             "Stofffetzen Schiff-", "Effffffffff", "Schifffahrt 1", "Kaffee.",
                             "T\xC5\xA4\xC2\xAD"
                             "y",
                             "Bild\xB0\xC3"
                             "a\xC1\x81",
                             "WWWWWWWWWWWWWWWWWWWW", "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiii"})
        ExpectTold(text);

    // Random texts of Latin-1 and Latin Extended-A characters, heavy on letters that kern or join.
    const std::string often = "fiflAVTWYaeo .,-'\"LPrykvwxF()[]/0123456789";
    std::mt19937 random(20261206);
    for (int i = 0; i < 600; ++i) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 30);
        for (int k = 0; k < length; ++k) {
            unsigned ch = static_cast<unsigned char>(often[random() % often.size()]);
            if (random() % 2) {
                ch = 0x20 + random() % (0x180 - 0x20);
                if (ch >= 0x7F && ch < 0xA0)
                    ch = 'f';
            }
            text += EncodeUtf8(ch);
        }
        ExpectTold(text);
    }
    EXPECT_GT(checks, 1100) << "names of almost every width"; // two for each of 612 texts
}

TEST_F(WxTextWidths, NamesOtherProgramsWroteAreMeasuredAsTheyAreDrawn) {
    // Bytes that are no UTF-8 are Windows-1252 characters, which the toolkit would otherwise take
    // for nothing.
    EXPECT_EQ(metrics->TextWidth("Gr\xF6\xDF"
                                 "e \x80 5"),
              metrics->TextWidth("Größe € 5"));
    EXPECT_GT(metrics->TextWidth("Gr\xF6\xDF"
                                 "e"),
              metrics->TextWidth("Gre"));
    // A label is one line: a newline or a tab in it is a blank, as the label is drawn.
    EXPECT_EQ(metrics->TextWidth("Zeile eins\nZeile zwei\tdrei"),
              metrics->TextWidth("Zeile eins Zeile zwei drei"));
    std::vector<std::string> names(40, "Zeile eins Zeile");
    names.push_back("Zeile\neins\rZeile\tzwei");
    EXPECT_EQ(Widest(*metrics, names), metrics->TextWidth("Zeile eins Zeile zwei"));
}

TEST_F(WxTextWidths, TheWidestOfManyTextsIsTheWidestMeasured) {
    // Names of one pattern whose widths lie a pixel or two apart; the widest is not the longest.
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i)
        names.push_back(std::string(i % 3 ? "Standbild " : "AVATAR Tower ") +
                        (i % 5 ? "Nr. " : "Schiff Effi ") + std::to_string(i * 37 % 1000));
    names.push_back("WWWWWWWWWWWWWWWWWWWW");
    names.push_back("iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii");
    EXPECT_EQ(Widest(*metrics, names), MeasuringEach(*metrics, names));

    // The widest written in a script the estimate leaves alone.
    std::vector<std::string> mixed(names.begin(), names.begin() + 100);
    mixed.push_back("Ελληνικά και 日本語の名前がとても長い");
    EXPECT_EQ(Widest(*metrics, mixed), metrics->TextWidth(mixed.back()));
    EXPECT_EQ(Widest(*metrics, {}), 0);
}

} // namespace
