// CDWordArray, CWordArray, CStringArray: growable arrays whose capacity grows in a settable step.
#pragma once

#include "platform/cstring.h"
#include "platform/win_types.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <vector>

template <typename T> class CTypedArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    int GetGrowBy() const { return m_growBy; }

    // Sets the size and, when growBy is not -1, the number of elements added at each reallocation.
    void SetSize(int size, int growBy = -1) {
        if (size < 0)
            throw std::invalid_argument("array size must not be negative");
        if (growBy >= 0)
            m_growBy = growBy;
        if (size == 0) { // as MFC: an emptied array gives its storage back
            RemoveAll();
            return;
        }
        Reserve(size);
        m_items.resize(size);
    }
    void RemoveAll() { std::vector<T>().swap(m_items); }
    // Empties the array but keeps its storage for the next fill, like std::vector::clear; the
    // store's listings refill their caller's arrays this way. growBy as in SetSize.
    void Clear(int growBy = -1) {
        m_items.clear();
        if (growBy >= 0)
            m_growBy = growBy;
    }
    void FreeExtra() { m_items.shrink_to_fit(); }

    const T& GetAt(int index) const { return m_items.at(Checked(index)); }
    T& ElementAt(int index) { return m_items.at(Checked(index)); }
    void SetAt(int index, const T& value) { m_items.at(Checked(index)) = value; }
    const T& operator[](int index) const { return GetAt(index); }
    T& operator[](int index) { return ElementAt(index); }
    const T* GetData() const { return m_items.data(); }
    T* GetData() { return m_items.data(); }

    int Add(const T& value) {
        Reserve(GetSize() + 1);
        m_items.push_back(value);
        return GetSize() - 1;
    }
    int Add(T&& value) {
        Reserve(GetSize() + 1);
        m_items.push_back(std::move(value));
        return GetSize() - 1;
    }
    void SetAtGrow(int index, const T& value) {
        if (index >= GetSize())
            SetSize(index + 1);
        SetAt(index, value);
    }
    void InsertAt(int index, const T& value, int count = 1) {
        if (index < 0 || index > GetSize() || count < 0 || count > INT_MAX - GetSize())
            throw std::out_of_range("array insert position out of range");
        Reserve(GetSize() + count);
        m_items.insert(m_items.begin() + index, count, value);
    }
    void RemoveAt(int index, int count = 1) {
        if (index < 0 || count < 0 || index + count > GetSize())
            throw std::out_of_range("array remove range out of range");
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }
    void Append(const CTypedArray& other) {
        Reserve(GetSize() + other.GetSize());
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    }
    void Copy(const CTypedArray& other) { m_items = other.m_items; }

    // Capacity actually held. The first allocation takes at least GetGrowBy() elements, later ones
    // add GetGrowBy() (by default an eighth of the size, 4 to 1024), or exactly what is needed
    // when that is more, as MFC's CArray does; but never less than half the capacity, so that
    // filling a large listing step by step costs no quadratic copying.
    int GetCapacity() const { return static_cast<int>(m_items.capacity()); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    static int Checked(int index) {
        if (index < 0)
            throw std::out_of_range("negative array index");
        return index;
    }
    void Reserve(int needed) {
        const long long capacity = GetCapacity();
        if (needed <= capacity)
            return;
        long long step = m_growBy;
        if (capacity > 0 && step <= 0)
            step = std::clamp(GetSize() / 8, 4, 1024);
        m_items.reserve(static_cast<std::size_t>(
            std::max({static_cast<long long>(needed), capacity + step, capacity + capacity / 2})));
    }

    std::vector<T> m_items;
    int m_growBy = 0;
};

class CDWordArray : public CTypedArray<DWORD> {};
class CWordArray : public CTypedArray<WORD> {};
class CStringArray : public CTypedArray<CString> {};
