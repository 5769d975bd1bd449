// libFuzzer entry: load, end marking and import of arbitrary raw data files.
#include "ImportHarness.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    roadtally::fuzz::runOne(data, size);
    return 0;
}
