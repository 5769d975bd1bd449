#pragma once
// The busy pointer over every window of the program while long work runs.

namespace roadtally::kit {

// Shows the busy pointer for as long as it lives (or until release()).
// Guards nest: the normal pointer returns when the outermost one ends.
class BusyPointer
{
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
    // The normal pointer again before the guard ends.
    void release();

private:
    bool m_active = true;
};

} // namespace roadtally::kit
