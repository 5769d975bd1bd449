#pragma once
// What the benchmark's parts share.

#include <sys/resource.h>

namespace roadtally {

// The process's peak resident memory so far, in kilobytes.
inline long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace roadtally
