#pragma once
// One fuzz input through the raw file load, the end marking and the import into
// a fresh survey database, with the import's promises checked afterwards: a
// failed import leaves the database exactly as it was, a stored one holds as many
// vehicles as it reports. Shared by the libFuzzer target and the smoke driver.

#include <cstddef>
#include <cstdint>

namespace roadtally::fuzz {

// Runs one input; aborts the process when a promise is broken.
void runOne(const std::uint8_t *data, std::size_t size);

} // namespace roadtally::fuzz
