// Drawing through CDC on the headless framebuffer, image lists from the library's bitmaps, the
// application object's resources and the menu operations the context menus use.
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

TEST_F(HeadlessGdi, ViewportOriginClipAndSavedStates) {
    {
        CClientDC dc(&host);
        const int saved = dc.SaveDC();
        dc.SetViewportOrg(100, 50);
        dc.IntersectClipRect(CRect(0, 0, 10, 10));
        dc.FillSolidRect(-5, -5, 30, 30, RGB(255, 0, 0)); // clipped to 10 x 10 at (100, 50)
        CRect box;
        dc.GetClipBox(&box);
        EXPECT_EQ(box, CRect(0, 0, 10, 10));
        ASSERT_TRUE(dc.RestoreDC(saved));
        EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
        dc.FillSolidRect(0, 0, 2, 2, RGB(0, 255, 0));
    }
    EXPECT_EQ(At(100, 50), RGB(255, 0, 0));
    EXPECT_EQ(At(109, 59), RGB(255, 0, 0));
    EXPECT_EQ(At(110, 59), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(99, 50), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(1, 1), RGB(0, 255, 0));
}

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

TEST_F(HeadlessGdi, NullPensHollowBrushesEmptyTextsAndStatesSavedTwice) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF green = RGB(0, 255, 0);
    {
        CClientDC dc(&host);
        CBrush fill(green);
        CPen none(PS_NULL, 1, RGB(0, 0, 255));
        CDCObjectSelection useBrush(dc, &fill);
        CDCObjectSelection usePen(dc, &none);
        dc.Rectangle(10, 10, 20, 20); // filled to its edges, with no frame
        dc.MoveTo(10, 30);
        dc.LineTo(20, 30);
        CBrush hollow;
        ASSERT_TRUE(hollow.CreateStockObject(NULL_BRUSH));
        dc.FillRect(CRect(30, 10, 40, 20), &hollow);
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(RGB(255, 0, 0));
        EXPECT_TRUE(dc.TextOut(50, 10, "abc", 0));
        EXPECT_EQ(dc.GetTextExtent("abc", 0).cx, 0);
        EXPECT_EQ(dc.GetTextExtent("abc", -1).cx, 18);

        // States saved one after the other are restored each once, the later first.
        const int first = dc.SaveDC();
        dc.SetViewportOrg(10, 0);
        const int second = dc.SaveDC();
        dc.SetViewportOrg(20, 0);
        EXPECT_TRUE(dc.RestoreDC(second));
        EXPECT_EQ(dc.GetViewportOrg(), CPoint(10, 0));
        EXPECT_FALSE(dc.RestoreDC(second));
        EXPECT_TRUE(dc.RestoreDC(-1));
        EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
        EXPECT_FALSE(dc.RestoreDC(first));
    }
    EXPECT_EQ(At(10, 10), green);
    EXPECT_EQ(At(19, 19), green);
    EXPECT_EQ(At(15, 30), face);
    EXPECT_EQ(At(35, 15), face);
    EXPECT_EQ(At(52, 15), face);
}

TEST_F(HeadlessGdi, AFocusRectangleIsADottedFrameThatASecondDrawingRemoves) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const CRect frame(20, 20, 40, 30);
    auto draw = [&] {
        CClientDC dc(&host);
        dc.DrawFocusRect(&frame);
    };
    draw();
    // Every other pixel of each edge is inverted; inside and outside nothing changes.
    for (const CPoint& edge : {CPoint(20, 20), CPoint(39, 20), CPoint(20, 29), CPoint(39, 29),
                               CPoint(30, 20), CPoint(20, 25), CPoint(39, 25), CPoint(30, 29)}) {
        const COLORREF a = At(edge.x, edge.y);
        const CPoint next = edge.y == 20 || edge.y == 29
                                ? CPoint(edge.x + (edge.x == 39 ? -1 : 1), edge.y)
                                : CPoint(edge.x, edge.y + 1);
        EXPECT_NE(a == face, At(next.x, next.y) == face) << edge.x << "," << edge.y;
        EXPECT_TRUE(a == face || a == (face ^ 0xFFFFFF)) << edge.x << "," << edge.y;
    }
    EXPECT_EQ(At(30, 25), face);
    EXPECT_EQ(At(21, 21), face);
    EXPECT_EQ(At(40, 25), face);
    EXPECT_EQ(At(30, 30), face);
    draw();
    for (int x = 20; x < 40; ++x)
        for (int y = 20; y < 30; ++y)
            ASSERT_EQ(At(x, y), face) << x << "," << y;
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

TEST_F(HeadlessGdi, WrappedTextCutAtTheBottomEndsItsLastLineInDots) {
    // Four words of three characters, four characters wide, two lines high.
    DrawText("aaa bbb ccc ddd", CRect(0, 0, 24, 26), DT_LEFT | DT_WORDBREAK);
    DrawText("aaa bbb ccc ddd", CRect(100, 0, 124, 26), DT_LEFT | DT_WORDBREAK | DT_END_ELLIPSIS);
    DrawText("aaa bbb ccc", CRect(200, 0, 224, 39), DT_LEFT | DT_WORDBREAK | DT_END_ELLIPSIS);
    // Second line: "bbb" alone, or "b..." filling all four places.
    EXPECT_EQ(At(13, 16), RGB(0, 0, 0));
    EXPECT_EQ(At(19, 16), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(119, 16), RGB(0, 0, 0));
    // Nothing cut: the lines stay as they are.
    EXPECT_EQ(At(219, 16), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(213, 29), RGB(0, 0, 0));
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

TEST_F(HeadlessGdi, PatternBrushFromAMonochromeBitmap) {
    // Rows of 8 pixels padded to 16 bits: four rows of 0xF0, four of 0x0F.
    const std::uint8_t bits[16] = {0xF0, 0, 0xF0, 0, 0xF0, 0, 0xF0, 0,
                                   0x0F, 0, 0x0F, 0, 0x0F, 0, 0x0F, 0};
    CBitmap pattern;
    ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, bits));
    BITMAP info{};
    ASSERT_TRUE(pattern.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 8);
    CBrush brush;
    ASSERT_TRUE(brush.CreatePatternBrush(&pattern));
    {
        CClientDC dc(&host);
        CRect area(0, 0, 16, 8);
        dc.FillRect(&area, &brush);
    }
    // Set bits of the monochrome bitmap are white, the brush draws them in the background colour.
    EXPECT_EQ(At(0, 0), At(8, 0)) << "the pattern repeats every 8 pixels";
    EXPECT_NE(At(0, 0), At(4, 0));
    EXPECT_EQ(At(0, 0), At(4, 4));
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
    EXPECT_FALSE(small.Create(16, 16, ILC_COLOR24, 1, 0)) << "a list is made once";
    EXPECT_FALSE(CImageList().Create(4242u, 16, 0, kMagenta));
}

TEST_F(HeadlessGdi, ImageListsTakeIconsScaledAndGiveOnlyWhatTheyHold) {
    CImageList list;
    ASSERT_TRUE(list.Create(132u, 16, 0, kMagenta));
    const int count = list.GetImageCount();
    IMAGEINFO info{};
    ASSERT_TRUE(list.GetImageInfo(count - 1, &info));
    EXPECT_EQ(CRect(info.rcImage), CRect(0, 0, 16, 16));
    EXPECT_FALSE(list.GetImageInfo(count, &info));
    EXPECT_FALSE(list.GetImageInfo(-1, &info));

    // The 32-pixel icon shrinks to every second pixel of every second row.
    HICON icon = AfxGetApp()->LoadIcon(128);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(list.Add(icon), count);
    EXPECT_EQ(list.Add(icon), count + 1);
    const PixelImage* original = DescribeCursor(icon).image;
    const PixelImage* scaled = list.ImagePixels(count + 1);
    ASSERT_NE(scaled, nullptr);
    ASSERT_EQ(original->width, 32);
    int transparent = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(scaled->pixels[static_cast<std::size_t>(y) * 16 + x],
                      original->pixels[static_cast<std::size_t>(2 * y) * 32 + 2 * x])
                << x << "," << y;
            ASSERT_EQ(scaled->IsTransparent(x, y), original->IsTransparent(2 * x, 2 * y));
            transparent += scaled->IsTransparent(x, y);
        }
    EXPECT_GT(transparent, 0);
    EXPECT_LT(transparent, 256);
    // Drawn, the icon's background colour lets the window show through, and only that colour.
    {
        CClientDC dc(&host);
        ASSERT_TRUE(list.Draw(&dc, count + 1, CPoint(200, 100), ILD_NORMAL));
    }
    int wrong = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t pixel =
                original->pixels[static_cast<std::size_t>(2 * y) * 32 + 2 * x];
            const COLORREF shown = At(200 + x, 100 + y);
            wrong += (pixel & 0xFFFFFF) == kTransparentColour ? shown != GetSysColor(COLOR_BTNFACE)
                                                              : shown == kMagenta;
        }
    EXPECT_EQ(wrong, 0);

    EXPECT_FALSE(list.Remove(count + 2));
    EXPECT_EQ(list.GetImageCount(), count + 2);
    EXPECT_TRUE(list.Remove(-1));
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_FALSE(list.Draw(nullptr, 0, CPoint(0, 0), ILD_NORMAL));
}

TEST_F(HeadlessGdi, AControlKeepsItsImageListAfterTheListObjectIsGone) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_ICON, CRect(0, 0, 200, 150), &host, 4));
    list.InsertItem(0, "Still", 1);
    {
        CImageList large;
        ASSERT_TRUE(large.Create(26019u, 32, 1, kMagenta));
        list.SetImageList(&large, LVSIL_NORMAL);
    }
    list.Invalidate();
    driver.Flush(); // painting with the list's images must not touch freed memory
    CRect icon;
    list.GetItemRect(0, &icon, LVIR_ICON);
    EXPECT_EQ(icon.Height(), 36);
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

TEST(HeadlessMenus, ModifyEnableCheckRemoveAndAttach) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, "One");
    menu.AppendMenu(MF_STRING, 2, "Two");
    EXPECT_EQ(menu.EnableMenuItem(2, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(menu.GetMenuState(2, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(menu.CheckMenuItem(0, MF_BYPOSITION | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(menu.GetMenuState(1, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    ASSERT_TRUE(menu.ModifyMenu(1, MF_BYPOSITION | MF_STRING, 3, "Three"));
    EXPECT_EQ(menu.GetMenuItemID(1), 3u);
    ASSERT_TRUE(menu.RemoveMenu(1, MF_BYCOMMAND)); // command 1, "One"
    EXPECT_EQ(menu.GetMenuItemCount(), 1);
    EXPECT_FALSE(menu.RemoveMenu(7, MF_BYCOMMAND));

    HMENU handle = menu.Detach();
    EXPECT_EQ(menu.m_hMenu, nullptr);
    CMenu again;
    ASSERT_TRUE(again.Attach(handle));
    CMenu other;
    ASSERT_TRUE(other.CreatePopupMenu());
    EXPECT_FALSE(again.Attach(other.m_hMenu)) << "a CMenu holds one menu";
    EXPECT_EQ(again.GetMenuItemCount(), 1);
    CString text;
    again.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, "Three");
    char buffer[4] = "xxx";
    EXPECT_EQ(again.GetMenuString(0, buffer, 4, MF_BYPOSITION), 3);
    EXPECT_STREQ(buffer, "Thr");
    EXPECT_EQ(again.GetMenuString(0, nullptr, 0, MF_BYPOSITION), 5) << "the length, nothing copied";
    EXPECT_TRUE(again.DestroyMenu());
    EXPECT_FALSE(again.AppendMenu(MF_STRING, 4, "Four"));
}

} // namespace
