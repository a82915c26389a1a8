// Drawing through CDC on the headless framebuffer, image lists from the library's bitmaps, the
// application object's resources.
#include "platform/afxwin.h"
#include "platform/headless/test_driver.h"
#include "platform/window_backend.h"
#include "resources/artwork.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

class HeadlessGdi : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(CRect(0, 0, 300, 200)));
        driver.Flush();
    }
    COLORREF At(int x, int y) { return driver.PixelAt(host, CPoint(x, y)); }
    // Black text on what is there, six pixels a character.
    void DrawText(const char* text, CRect box, UINT format) {
        CClientDC dc(&host);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.DrawText(text, &box, format);
    }

    headless::TestDriver driver;
    RecordingWindow host;
};

TEST_F(HeadlessGdi, RectangleUsesThePenAndBrushSelected) {
    {
        CClientDC dc(&host);
        CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
        CBrush brush(RGB(0, 255, 0));
        CDCObjectSelection usePen(dc, &pen);
        CDCObjectSelection useBrush(dc, &brush);
        dc.Rectangle(10, 10, 20, 20);
        dc.SelectStockObject(NULL_BRUSH);
        dc.Rectangle(30, 10, 40, 20);
    }
    EXPECT_EQ(At(10, 10), RGB(0, 0, 255));
    EXPECT_EQ(At(19, 19), RGB(0, 0, 255));
    EXPECT_EQ(At(15, 15), RGB(0, 255, 0));
    EXPECT_EQ(At(30, 15), RGB(0, 0, 255));
    EXPECT_EQ(At(35, 15), GetSysColor(COLOR_BTNFACE)); // hollow inside
}

TEST_F(HeadlessGdi, TextIsOneBlockPerCharacterWhereTheFormatPutsIt) {
    DrawText("ab", CRect(0, 100, 100, 130), DT_CENTER | DT_VCENTER | DT_SINGLELINE); // 12 x 13
    EXPECT_EQ(CClientDC(&host).GetTextExtent("abc"), CSize(18, 13));
    // Centred: text from x 44 to 56, y 108 to 121; a character fills x+1..x+4, y+3..y+9.
    EXPECT_EQ(At(45, 111), RGB(0, 0, 0));
    EXPECT_EQ(At(51, 111), RGB(0, 0, 0));
    EXPECT_EQ(At(44, 111), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(50, 111), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(45, 110), GetSysColor(COLOR_BTNFACE));
}

TEST(TextFitting, EndEllipsisKeepsWholeCharactersBeforeTheDots) {
    const FixedFontMetrics metrics; // six pixels a character
    EXPECT_EQ(FitWithEndEllipsis(metrics, "abcdefgh", 48), "abcdefgh");
    EXPECT_EQ(FitWithEndEllipsis(metrics, "abcdefgh", 47), "abcd...");
    EXPECT_EQ(FitWithEndEllipsis(metrics, "abcdefgh", 30), "ab...");
    EXPECT_EQ(FitWithEndEllipsis(metrics, "abcdefgh", 10), "...");
    // Umlauts are one character of two bytes: never cut in half.
    EXPECT_EQ(FitWithEndEllipsis(metrics, "Größenwahn", 36), "Grö...");
    EXPECT_EQ(FitWithEndEllipsis(metrics, "", 0), "");
}

TEST_F(HeadlessGdi, EndEllipsisDrawsTheDotsInsteadOfACutCharacter) {
    DrawText("abcdefgh", CRect(0, 0, 33, 20), DT_LEFT | DT_TOP | DT_SINGLELINE);
    DrawText("abcdefgh", CRect(0, 40, 33, 60), DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
    // Without: a sixth character begins at x 30 and is clipped at 33. With: five blocks ("ab...").
    EXPECT_EQ(At(31, 5), RGB(0, 0, 0));
    EXPECT_EQ(At(25, 45), RGB(0, 0, 0));
    EXPECT_EQ(At(31, 45), GetSysColor(COLOR_BTNFACE));
}

// The headless font, counting the characters it is asked to measure.
class CountingMetrics : public FixedFontMetrics {
public:
    int TextWidth(std::string_view text) const override {
        measured += text.size();
        return FixedFontMetrics::TextWidth(text);
    }
    mutable std::size_t measured = 0;
};

TEST(HeadlessGdiWrapping, WordsWrapLineByLineMeasuringOnlyWhatEachLineMayTake) {
    CountingMetrics metrics;
    CDC dc;
    dc.AttachSurface(nullptr, CPoint(), CRect(), &metrics);
    auto lines = [&](const std::string& text, long width) {
        CRect box(0, 0, width, 0);
        return dc.DrawText(text.c_str(), -1, &box, DT_LEFT | DT_WORDBREAK | DT_CALCRECT) /
               metrics.LineHeight();
    };
    // Five characters to a line: "Lang" on each, the blank between them taken out.
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "Lang ";
    text.pop_back();
    EXPECT_EQ(lines(text, 30), 400);
    // Measuring every remaining text again for each line would take 400 times the text.
    EXPECT_LT(metrics.measured, 10 * text.size());

    // A word wider than the line has one of its own; the words after it wrap as before.
    EXPECT_EQ(lines("Superlangeswort a b", 24), 2);
    EXPECT_EQ(lines("a b Superlangeswort c", 24), 3);
    EXPECT_EQ(lines("aaa bbb\nccc", 24), 3);
    EXPECT_EQ(lines("aaaa", 24), 1);
    EXPECT_EQ(lines("", 24), 1);
}

TEST_F(HeadlessGdi, ImageListsCutTheLibraryBitmapsAndDrawThemTransparent) {
    CImageList small;
    ASSERT_TRUE(small.Create(132u, 16, 0, kMagenta));
    EXPECT_EQ(small.GetImageCount(), kItemImageCount);
    EXPECT_EQ(small.GetImageSize(), CSize(16, 16));
    CImageList large;
    ASSERT_TRUE(large.Create(26019u, 32, 1, kMagenta));
    EXPECT_EQ(large.GetImageCount(), kItemImageCount);
    EXPECT_EQ(large.GetBkColor(), CLR_NONE);
    const ResourceImage* strip = FindBitmapResource(132);
    ASSERT_NE(strip, nullptr);
    // The first magenta pixel of the folder image stays what was under it.
    auto first = [&](bool transparent) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (((strip->pixels[static_cast<std::size_t>(y) * strip->width + x] & 0xFFFFFF) ==
                     kTransparentColour) == transparent)
                    return CPoint(x, y);
        return CPoint(-1, -1);
    };
    const CPoint magenta = first(true);
    const CPoint opaque = first(false);
    ASSERT_GE(magenta.x, 0);
    ASSERT_GE(opaque.x, 0);
    {
        CClientDC dc(&host);
        small.Draw(&dc, 0, CPoint(50, 50), ILD_TRANSPARENT);
        small.SetBkColor(RGB(0, 0, 0));
        small.Draw(&dc, 0, CPoint(80, 50), ILD_NORMAL);
    }
    const std::uint32_t colour =
        strip->pixels[static_cast<std::size_t>(opaque.y) * strip->width + opaque.x];
    EXPECT_EQ(At(50 + opaque.x, 50 + opaque.y),
              RGB(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF));
    EXPECT_EQ(At(50 + magenta.x, 50 + magenta.y), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(80 + magenta.x, 50 + magenta.y), RGB(0, 0, 0)) << "the background shows through";
    EXPECT_TRUE(small.Remove(1));
    EXPECT_EQ(small.GetImageCount(), kItemImageCount - 1);
    IMAGEINFO info{};
    EXPECT_TRUE(small.GetImageInfo(kItemImageCount - 2, &info));
    EXPECT_EQ(CRect(info.rcImage), CRect(0, 0, 16, 16));
    EXPECT_FALSE(small.GetImageInfo(kItemImageCount - 1, &info)) << "one past the last";
    EXPECT_FALSE(small.Create(16, 16, ILC_COLOR24, 1, 0)) << "a list is made once";
    EXPECT_FALSE(CImageList().Create(4242u, 16, 0, kMagenta));
}

TEST_F(HeadlessGdi, ToolbarShowsTheLibraryStrip) {
    CToolBarCtrl toolbar;
    ASSERT_TRUE(toolbar.Create(WS_CHILD | WS_VISIBLE | CCS_TOP | CCS_NODIVIDER, CRect(0, 0, 50, 50),
                               &host, 1117));
    EXPECT_EQ(toolbar.AddBitmap(10, 128u), 0);
    TBBUTTON button{kToolbarUp, 57360, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0};
    ASSERT_TRUE(toolbar.AddButtons(1, &button));
    CRect rect;
    ASSERT_TRUE(toolbar.GetItemRect(0, &rect));
    EXPECT_EQ(rect, CRect(0, 2, 23, 24));
    CRect window;
    toolbar.GetWindowRect(&window);
    EXPECT_EQ(window.Height(), 26);
    driver.Flush();
    const ResourceImage* strip = FindBitmapResource(128);
    ASSERT_NE(strip, nullptr);
    // The image sits centred in the button: (23 - 16) / 2, 2 + (22 - 15) / 2.
    int checked = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t pixel =
                strip->pixels[static_cast<std::size_t>(y) * strip->width + kToolbarUp * 16 + x] &
                0xFFFFFF;
            if (pixel == kTransparentColour)
                continue;
            ASSERT_EQ(driver.PixelAt(toolbar, CPoint(3 + x, 5 + y)),
                      RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF));
            ++checked;
        }
    EXPECT_GT(checked, 20);
}

TEST_F(HeadlessGdi, ToolbarButtonsAndSizesStayWithinTheirBounds) {
    CToolBarCtrl toolbar;
    ASSERT_TRUE(toolbar.Create(WS_CHILD | WS_VISIBLE | CCS_TOP | CCS_NODIVIDER, CRect(0, 0, 50, 50),
                               &host, 1117));
    TBBUTTON buttons[] = {{0, 100, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
                          {1, 101, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0}};
    ASSERT_TRUE(toolbar.AddButtons(2, buttons));
    TBBUTTON inserted{2, 102, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0};
    EXPECT_FALSE(toolbar.InsertButton(-1, &inserted));
    EXPECT_TRUE(toolbar.InsertButton(1, &inserted));
    EXPECT_EQ(toolbar.CommandToIndex(102), 1);
    TBBUTTON read{};
    EXPECT_FALSE(toolbar.GetButton(3, &read));
    EXPECT_FALSE(toolbar.GetButton(-1, &read));
    ASSERT_TRUE(toolbar.GetButton(2, &read));
    EXPECT_EQ(read.idCommand, 101);
    EXPECT_FALSE(toolbar.DeleteButton(3));
    EXPECT_TRUE(toolbar.DeleteButton(0));
    EXPECT_EQ(toolbar.GetButtonCount(), 2);
    EXPECT_EQ(toolbar.CommandToIndex(100), -1);

    // A button is at least its image and seven pixels more each way; no size may be empty.
    EXPECT_FALSE(toolbar.SetBitmapSize(CSize(0, 15)));
    EXPECT_FALSE(toolbar.SetButtonSize(CSize(30, 0)));
    EXPECT_FALSE(toolbar.SetButtonSize(CSize(0, 30)));
    ASSERT_TRUE(toolbar.SetButtonSize(CSize(20, 20)));
    ASSERT_TRUE(toolbar.SetBitmapSize(CSize(16, 15)));
    EXPECT_EQ(toolbar.GetButtonSize(), CSize(23, 22));
    ASSERT_TRUE(toolbar.SetButtonSize(CSize(30, 26)));
    EXPECT_EQ(toolbar.GetButtonSize(), CSize(30, 26));
}

TEST(HeadlessResources, ApplicationLoadsTheIconAndTheSplitterCursor) {
    // The library's own application object, made when it was loaded; a second one would take
    // its place for good.
    CWinApp* current = AfxGetApp();
    ASSERT_NE(current, nullptr);
    CWinApp& app = *current;
    HICON icon = app.LoadIcon(128);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(DescribeCursor(icon).image->width, 32);
    HCURSOR splitter = app.LoadCursor(130);
    ASSERT_NE(splitter, nullptr);
    const ResourceImage* cursor = FindCursorResource(130);
    EXPECT_EQ(DescribeCursor(splitter).hotspot, CPoint(cursor->hotX, cursor->hotY));
    EXPECT_EQ(DescribeCursor(splitter).resourceId, 130u);
    EXPECT_EQ(app.LoadCursor(130), splitter) << "a resource cursor is loaded once";
    EXPECT_EQ(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(130)), splitter);
    EXPECT_EQ(app.LoadCursor(4711), nullptr);
    EXPECT_EQ(DescribeCursor(app.LoadStandardCursor(IDC_ARROW)).standardName, IDC_ARROW);
}

} // namespace
