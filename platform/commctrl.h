// Common-control constants and notification records: tree view, list view, toolbar, image lists
// and custom draw, with the Win32 values.
#pragma once

#include "platform/win_messages.h"

// Window class names accepted by CWnd::Create.
inline constexpr const char* WC_BUTTON = "Button";
inline constexpr const char* WC_EDIT = "Edit";
inline constexpr const char* WC_STATIC = "Static";
inline constexpr const char* WC_TREEVIEW = "SysTreeView32";
inline constexpr const char* WC_LISTVIEW = "SysListView32";
inline constexpr const char* TOOLBARCLASSNAME = "ToolbarWindow32";

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
using LPNMHDR = NMHDR*;

// Generic notifications.
constexpr UINT NM_FIRST = 0U;
constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT NM_DBLCLK = NM_FIRST - 3;
constexpr UINT NM_RETURN = NM_FIRST - 4;
constexpr UINT NM_RCLICK = NM_FIRST - 5;
constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;

// Custom draw.
constexpr DWORD CDDS_PREPAINT = 0x00000001;
constexpr DWORD CDDS_POSTPAINT = 0x00000002;
constexpr DWORD CDDS_PREERASE = 0x00000003;
constexpr DWORD CDDS_POSTERASE = 0x00000004;
constexpr DWORD CDDS_ITEM = 0x00010000;
constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;
constexpr DWORD CDDS_SUBITEM = 0x00020000;
constexpr LRESULT CDRF_DODEFAULT = 0x00000000;
constexpr LRESULT CDRF_NEWFONT = 0x00000002;
constexpr LRESULT CDRF_SKIPDEFAULT = 0x00000004;
constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x00000010;
constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x00000020;
constexpr LRESULT CDRF_NOTIFYSUBITEMDRAW = 0x00000020;
constexpr LRESULT CDRF_NOTIFYPOSTERASE = 0x00000040;
constexpr UINT CDIS_SELECTED = 0x0001;
constexpr UINT CDIS_GRAYED = 0x0002;
constexpr UINT CDIS_DISABLED = 0x0004;
constexpr UINT CDIS_CHECKED = 0x0008;
constexpr UINT CDIS_FOCUS = 0x0010;
constexpr UINT CDIS_DEFAULT = 0x0020;
constexpr UINT CDIS_HOT = 0x0040;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec;
    UINT uItemState;
    LPARAM lItemlParam;
};

struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText;
    COLORREF clrTextBk;
    int iSubItem;
};

// ---- Tree view ----

struct TreeItemTag;
using HTREEITEM = TreeItemTag*;

// Pseudo-handles for the insertion position (values as Win32 defines them).
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST =
    reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD));

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;

constexpr UINT TVIS_FOCUSED = 0x0001;
constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;
constexpr UINT TVIS_OVERLAYMASK = 0x0F00;
constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;

constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

constexpr UINT TVC_UNKNOWN = 0x0000;
constexpr UINT TVC_BYMOUSE = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVGN_LASTVISIBLE = 0x000A;

constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

constexpr int TVSIL_NORMAL = 0;
constexpr int TVSIL_STATE = 2;

constexpr UINT TVN_FIRST = 0U - 400U;
constexpr UINT TVN_SELCHANGING = TVN_FIRST - 1;
constexpr UINT TVN_SELCHANGED = TVN_FIRST - 2;
constexpr UINT TVN_GETDISPINFO = TVN_FIRST - 3;
constexpr UINT TVN_ITEMEXPANDING = TVN_FIRST - 5;
constexpr UINT TVN_ITEMEXPANDED = TVN_FIRST - 6;
constexpr UINT TVN_BEGINDRAG = TVN_FIRST - 7;
constexpr UINT TVN_BEGINRDRAG = TVN_FIRST - 8;
constexpr UINT TVN_DELETEITEM = TVN_FIRST - 9;
constexpr UINT TVN_BEGINLABELEDIT = TVN_FIRST - 10;
constexpr UINT TVN_ENDLABELEDIT = TVN_FIRST - 11;
constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;

struct TVITEM {
    UINT mask;
    HTREEITEM hItem;
    UINT state;
    UINT stateMask;
    LPTSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int cChildren;
    LPARAM lParam;
};
using LPTVITEM = TVITEM*;

struct TVINSERTSTRUCT {
    HTREEITEM hParent;
    HTREEITEM hInsertAfter;
    TVITEM item;
};
using LPTVINSERTSTRUCT = TVINSERTSTRUCT*;

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action;
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag;
};
using LPNMTREEVIEW = NMTREEVIEW*;

struct NMTVDISPINFO {
    NMHDR hdr;
    TVITEM item;
};

struct NMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};

struct TVHITTESTINFO {
    POINT pt;
    UINT flags;
    HTREEITEM hItem;
};

// ---- List view ----

constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIF_INDENT = 0x0010;

constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;
constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;

constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

constexpr int LVNI_ALL = 0x0000;
constexpr int LVNI_FOCUSED = 0x0001;
constexpr int LVNI_SELECTED = 0x0002;
constexpr int LVNI_CUT = 0x0004;
constexpr int LVNI_DROPHILITED = 0x0008;
constexpr int LVNI_ABOVE = 0x0100;
constexpr int LVNI_BELOW = 0x0200;
constexpr int LVNI_TOLEFT = 0x0400;
constexpr int LVNI_TORIGHT = 0x0800;

constexpr UINT LVIR_BOUNDS = 0;
constexpr UINT LVIR_ICON = 1;
constexpr UINT LVIR_LABEL = 2;
constexpr UINT LVIR_SELECTBOUNDS = 3;

constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE = 0x0008;
constexpr UINT LVHT_BELOW = 0x0010;
constexpr UINT LVHT_TORIGHT = 0x0020;
constexpr UINT LVHT_TOLEFT = 0x0040;

constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;
constexpr int LVSIL_STATE = 2;

constexpr UINT LVA_DEFAULT = 0x0000;
constexpr UINT LVA_ALIGNLEFT = 0x0001;
constexpr UINT LVA_ALIGNTOP = 0x0002;
constexpr UINT LVA_SNAPTOGRID = 0x0005;

constexpr UINT LVFI_PARAM = 0x0001;
constexpr UINT LVFI_STRING = 0x0002;
constexpr UINT LVFI_PARTIAL = 0x0008;
constexpr UINT LVFI_WRAP = 0x0020;

constexpr UINT LVN_FIRST = 0U - 100U;
constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0;
constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
constexpr UINT LVN_INSERTITEM = LVN_FIRST - 2;
constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;
constexpr UINT LVN_BEGINLABELEDIT = LVN_FIRST - 5;
constexpr UINT LVN_ENDLABELEDIT = LVN_FIRST - 6;
constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;
constexpr UINT LVN_BEGINDRAG = LVN_FIRST - 9;
constexpr UINT LVN_BEGINRDRAG = LVN_FIRST - 11;
constexpr UINT LVN_GETDISPINFO = LVN_FIRST - 50;
constexpr UINT LVN_KEYDOWN = LVN_FIRST - 55;

struct LVITEM {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPTSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
};
using LPLVITEM = LVITEM*;

struct LVCOLUMN {
    UINT mask;
    int fmt;
    int cx;
    LPTSTR pszText;
    int cchTextMax;
    int iSubItem;
};
using LPLVCOLUMN = LVCOLUMN*;

struct LVHITTESTINFO {
    POINT pt;
    UINT flags;
    int iItem;
    int iSubItem;
};
using LPLVHITTESTINFO = LVHITTESTINFO*;

struct LVFINDINFO {
    UINT flags;
    LPCTSTR psz;
    LPARAM lParam;
    POINT pt;
    UINT vkDirection;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
};
using LPNMLISTVIEW = NMLISTVIEW*;
using NM_LISTVIEW = NMLISTVIEW;

// NM_CLICK, NM_DBLCLK and NM_RCLICK of the list view.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
    UINT uKeyFlags;
};
using LPNMITEMACTIVATE = NMITEMACTIVATE*;

// SetColumnWidth: fit the column to its texts, or to its texts and header.
constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};
using LV_DISPINFO = NMLVDISPINFO;

struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};

// Sort callback: negative puts the first item first.
using PFNLVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

// ---- Toolbar ----

constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10;
constexpr BYTE TBSTATE_WRAP = 0x20;

constexpr BYTE TBSTYLE_BUTTON = 0x00;
constexpr BYTE TBSTYLE_SEP = 0x01;
constexpr BYTE TBSTYLE_CHECK = 0x02;
constexpr BYTE TBSTYLE_GROUP = 0x04;
constexpr BYTE TBSTYLE_CHECKGROUP = TBSTYLE_GROUP | TBSTYLE_CHECK;
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_FLAT = 0x0800;

struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    DWORD_PTR dwData;
    INT_PTR iString;
};
using LPTBBUTTON = TBBUTTON*;

// ---- Image lists ----

struct ImageListData;
using HIMAGELIST = ImageListData*;

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;

struct IMAGEINFO {
    HBITMAP hbmImage;
    HBITMAP hbmMask;
    int Unused1;
    int Unused2;
    RECT rcImage;
};
