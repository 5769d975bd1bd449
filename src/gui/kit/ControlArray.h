#pragma once
// A control array: controls of one name reached by index (Label2[26]). Like the
// program's arrays it may have holes (legend has no items 46 to 52); a hole is a
// null pointer, and iterating the array visits the existing controls only, so a
// loop over an array with holes never dereferences a null pointer.

#include <QList>

#include <iterator>

namespace roadtally {

template <class T> class ControlArray
{
public:
    // Visits the non-null items in index order.
    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T *;
        using difference_type = std::ptrdiff_t;
        using pointer = T *const *;
        using reference = T *const &;

        const_iterator() = default;
        const_iterator(T *const *at, T *const *end) : m_at(at), m_end(end) { skip(); }
        T *operator*() const { return *m_at; }
        const_iterator &operator++()
        {
            ++m_at;
            skip();
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator &other) const { return m_at == other.m_at; }
        bool operator!=(const const_iterator &other) const { return m_at != other.m_at; }

    private:
        void skip()
        {
            while (m_at != m_end && !*m_at)
                ++m_at;
        }
        T *const *m_at = nullptr;
        T *const *m_end = nullptr;
    };

    ControlArray() = default;
    explicit ControlArray(qsizetype size) : m_items(size, nullptr) {}

    // Makes room for indexes 0 .. size - 1; new places are holes.
    void resize(qsizetype size) { m_items.resize(size, nullptr); }

    qsizetype size() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }

    T *&operator[](qsizetype index) { return m_items[index]; }
    T *operator[](qsizetype index) const { return m_items.at(index); }
    T *at(qsizetype index) const { return m_items.at(index); }
    // The control at index, or null for a hole or an index out of range.
    T *value(qsizetype index) const
    {
        return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
    }
    bool has(qsizetype index) const { return value(index) != nullptr; }

    const_iterator begin() const { return {items(), items() + m_items.size()}; }
    const_iterator end() const { return {items() + m_items.size(), items() + m_items.size()}; }

    // The existing controls in index order.
    QList<T *> controls() const { return QList<T *>(begin(), end()); }

private:
    T *const *items() const { return m_items.constData(); }
    QList<T *> m_items;
};

} // namespace roadtally
