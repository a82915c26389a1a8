// Points, sizes and rectangles in pixels, shaped like the Win32 structures and their MFC wrappers.
#pragma once

#include "platform/win_types.h"

#include <algorithm>

struct POINT {
    long x;
    long y;
};

struct SIZE {
    long cx;
    long cy;
};

// Left and top edges are inside, right and bottom edges outside.
struct RECT {
    long left;
    long top;
    long right;
    long bottom;
};

using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(long width, long height) : SIZE{width, height} {}
    CSize(SIZE size) : SIZE(size) {}

    friend bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
    CSize operator+(CSize other) const { return {cx + other.cx, cy + other.cy}; }
    CSize operator-(CSize other) const { return {cx - other.cx, cy - other.cy}; }
    CSize operator-() const { return {-cx, -cy}; }
};

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(long px, long py) : POINT{px, py} {}
    CPoint(POINT point) : POINT(point) {}
    explicit CPoint(SIZE size) : POINT{size.cx, size.cy} {}

    void Offset(long dx, long dy) {
        x += dx;
        y += dy;
    }
    void Offset(POINT point) { Offset(point.x, point.y); }
    void Offset(SIZE size) { Offset(size.cx, size.cy); }

    friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
    CPoint& operator+=(SIZE size) {
        Offset(size);
        return *this;
    }
    CPoint& operator-=(SIZE size) {
        Offset(-size.cx, -size.cy);
        return *this;
    }
    CPoint& operator+=(POINT point) {
        Offset(point);
        return *this;
    }
    CPoint& operator-=(POINT point) {
        Offset(-point.x, -point.y);
        return *this;
    }
    CPoint operator+(SIZE size) const { return {x + size.cx, y + size.cy}; }
    CPoint operator-(SIZE size) const { return {x - size.cx, y - size.cy}; }
    CPoint operator+(POINT point) const { return {x + point.x, y + point.y}; }
    // The difference of two points is a size, as in MFC.
    CSize operator-(POINT point) const { return {x - point.x, y - point.y}; }
    CPoint operator-() const { return {-x, -y}; }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(long l, long t, long r, long b) : RECT{l, t, r, b} {}
    CRect(const RECT& rect) : RECT(rect) {}
    CRect(LPCRECT rect) : RECT(*rect) {}
    CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    CRect(POINT topLeft, POINT bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    int Width() const { return static_cast<int>(right - left); }
    int Height() const { return static_cast<int>(bottom - top); }
    CSize Size() const { return {right - left, bottom - top}; }
    CPoint TopLeft() const { return {left, top}; }
    CPoint BottomRight() const { return {right, bottom}; }
    CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    // Left and top edges inside, right and bottom edges outside.
    BOOL PtInRect(POINT point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    void SetRect(long l, long t, long r, long b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT rect) { *this = *rect; }
    BOOL EqualRect(LPCRECT rect) const {
        return left == rect->left && top == rect->top && right == rect->right &&
               bottom == rect->bottom;
    }

    void OffsetRect(long dx, long dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
    void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
    void MoveToX(long x) {
        right = x + Width();
        left = x;
    }
    void MoveToY(long y) {
        bottom = y + Height();
        top = y;
    }
    void MoveToXY(long x, long y) {
        MoveToX(x);
        MoveToY(y);
    }
    void MoveToXY(POINT point) { MoveToXY(point.x, point.y); }
    void InflateRect(long dx, long dy) {
        left -= dx;
        top -= dy;
        right += dx;
        bottom += dy;
    }
    void InflateRect(long l, long t, long r, long b) {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(long dx, long dy) { InflateRect(-dx, -dy); }
    void DeflateRect(long l, long t, long r, long b) { InflateRect(-l, -t, -r, -b); }
    void NormalizeRect() {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    // Empty (and all zero) when the two do not overlap, as Win32 IntersectRect.
    BOOL IntersectRect(LPCRECT a, LPCRECT b) {
        SetRect(std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                std::min(a->bottom, b->bottom));
        if (IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        return TRUE;
    }
    // The smallest rectangle holding both; an empty operand does not count.
    BOOL UnionRect(LPCRECT a, LPCRECT b) {
        const CRect ra(a), rb(b);
        if (ra.IsRectEmpty())
            *this = rb;
        else if (rb.IsRectEmpty())
            *this = ra;
        else
            SetRect(std::min(a->left, b->left), std::min(a->top, b->top),
                    std::max(a->right, b->right), std::max(a->bottom, b->bottom));
        return !IsRectEmpty();
    }

    friend bool operator==(const CRect& a, const CRect& b) { return a.EqualRect(&b); }
    CRect operator+(POINT point) const {
        CRect r(*this);
        r.OffsetRect(point);
        return r;
    }
    CRect operator-(POINT point) const {
        CRect r(*this);
        r.OffsetRect(-point.x, -point.y);
        return r;
    }
    CRect& operator+=(POINT point) {
        OffsetRect(point);
        return *this;
    }
    CRect& operator-=(POINT point) {
        OffsetRect(-point.x, -point.y);
        return *this;
    }
};
