// How the list view draws its rows and header.
#include "platform/list_view.h"
#include "platform/list_view_layout.h"

#include "platform/app.h"
#include "platform/image_list.h"
#include "platform/label_look.h"
#include "platform/list_ctrl.h"
#include "platform/window_system.h"

using namespace list_view_layout;

void ListView::Paint() {
    CPaintDC dc(winsys::ObjectOf(window));
    const CRect client = winsys::ClientRect(window);
    const COLORREF back = background == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : background;
    if (back != CLR_NONE)
        dc.FillSolidRect(&client, back);
    // Custom draw: the parent may draw over every item after the default drawing.
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    draw.nmcd.hdc = dc.m_hDC;
    draw.nmcd.rc = client;
    draw.clrText = textColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : textColor;
    draw.clrTextBk = textBackground == CLR_DEFAULT ? back : textBackground;
    const LRESULT stage = winsys::Notify(window, draw.nmcd.hdr, NM_CUSTOMDRAW);
    if (!winsys::Live(window))
        return;
    if (!(stage & CDRF_SKIPDEFAULT)) {
        const bool focused = winsys::Focus() == window;
        int first = 0;
        int last = -1;
        VisibleRange(first, last);
        for (int i = first; i <= last && i < Count(); ++i) {
            CRect bounds;
            ItemRect(i, LVIR_BOUNDS, bounds);
            CRect visible;
            if (!visible.IntersectRect(&bounds, &client))
                continue;
            NMLVCUSTOMDRAW item = draw;
            item.nmcd.rc = bounds;
            item.nmcd.dwItemSpec = static_cast<DWORD_PTR>(i);
            item.nmcd.lItemlParam = items[static_cast<std::size_t>(i)].lParam;
            const UINT state = items[static_cast<std::size_t>(i)].state;
            item.nmcd.uItemState = ((state & LVIS_SELECTED) ? CDIS_SELECTED : 0) |
                                   ((state & LVIS_FOCUSED) && focused ? CDIS_FOCUS : 0);
            LRESULT itemStage = CDRF_DODEFAULT;
            if (stage & CDRF_NOTIFYITEMDRAW) {
                item.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
                itemStage = winsys::Notify(window, item.nmcd.hdr, NM_CUSTOMDRAW);
                if (!winsys::Live(window) || !Valid(i))
                    return;
            }
            if (!(itemStage & CDRF_SKIPDEFAULT))
                PaintItem(dc, i, item);
            if (itemStage & CDRF_NOTIFYPOSTPAINT) {
                item.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
                winsys::Notify(window, item.nmcd.hdr, NM_CUSTOMDRAW);
                if (!winsys::Live(window))
                    return;
            }
        }
    }
    if (m_marqueeShown)
        dc.DrawFocusRect(&m_marquee);
    if (View() == LVS_REPORT)
        PaintHeader(dc);
    if (stage & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
        winsys::Notify(window, draw.nmcd.hdr, NM_CUSTOMDRAW);
    }
}

void ListView::PaintItem(CDC& dc, int index, const NMLVCUSTOMDRAW& colors) {
    WindowData* data = winsys::Live(window);
    const Item& row = items[static_cast<std::size_t>(index)];
    const bool focused = winsys::Focus() == window;
    const bool showSelection = focused || (data->style & LVS_SHOWSELALWAYS);
    const LabelLook look = LookOfLabel((row.state & LVIS_DROPHILITED) != 0,
                                       (row.state & LVIS_SELECTED) && showSelection, focused);
    const DWORD view = View();
    CRect icon;
    CRect label;
    ItemRect(index, LVIR_ICON, icon);
    ItemRect(index, LVIR_LABEL, label);
    if (const ImageListData* list = ViewImages()) {
        const CPoint at = view == LVS_ICON
                              ? CPoint(icon.left + (icon.Width() - list->cx) / 2, icon.top + 2)
                              : CPoint(icon.left, icon.top + (icon.Height() - list->cy) / 2);
        DrawImageListImage(dc, *list, row.image, at,
                           look.highlighted ? ILD_TRANSPARENT | ILD_SELECTED : ILD_TRANSPARENT);
    }
    if (look.back)
        dc.FillSolidRect(&label, GetSysColor(*look.back));
    else if (textBackground != CLR_DEFAULT && colors.clrTextBk != CLR_NONE)
        dc.FillSolidRect(&label, colors.clrTextBk);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(look.text ? GetSysColor(*look.text) : colors.clrText);
    const int lineHeight = LineHeight();
    if (m_editItem != index) {
        CRect text = label;
        text.DeflateRect(kLabelPadding, 0);
        if (view == LVS_ICON) {
            text.top += 1;
            dc.DrawText(row.label, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
        } else {
            dc.DrawText(row.label, &text,
                        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
    if (view == LVS_REPORT) {
        dc.SetTextColor(colors.clrText);
        for (int c = 1; c < static_cast<int>(columns.size()); ++c) {
            CRect cell;
            SubItemRect(index, c, LVIR_LABEL, cell);
            cell.DeflateRect(kHeaderTextMargin, 0);
            const int format = columns[static_cast<std::size_t>(c)].format & LVCFMT_JUSTIFYMASK;
            const UINT align = format == LVCFMT_RIGHT    ? DT_RIGHT
                               : format == LVCFMT_CENTER ? DT_CENTER
                                                         : DT_LEFT;
            dc.DrawText(Text(index, c), &cell,
                        align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
    if ((row.state & LVIS_FOCUSED) && focused && lineHeight > 0)
        dc.DrawFocusRect(&label);
}

void ListView::PaintHeader(CDC& dc) {
    const int height = HeaderHeight();
    if (!height)
        return;
    const CRect client = winsys::ClientRect(window);
    dc.FillSolidRect(0, 0, client.Width(), height, GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int left = ColumnLeft(c);
        const CRect button(left, 0, left + columns[static_cast<std::size_t>(c)].width, height);
        if (button.right <= 0 || button.left >= client.right)
            continue;
        DrawEdge3d(dc, button, m_pressedColumn == c);
        CRect text = button;
        text.DeflateRect(kHeaderTextMargin, 0);
        dc.DrawText(columns[static_cast<std::size_t>(c)].text, &text,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}
