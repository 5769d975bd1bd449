#pragma once
// The program's windows: each is created on first use and afterwards hidden and
// shown again, keeping its contents. form<T>() returns the one instance of T,
// creating it when none exists (or when the last one was deleted).

#include <QPointer>

namespace roadtally {

template <class T> QPointer<T> &formSlot()
{
    static QPointer<T> instance;
    return instance;
}

template <class T> T &form()
{
    QPointer<T> &slot = formSlot<T>();
    if (!slot)
        slot = new T;
    return *slot;
}

// True when the window exists (without creating it).
template <class T> bool formExists()
{
    return !formSlot<T>().isNull();
}

} // namespace roadtally
