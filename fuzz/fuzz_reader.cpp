// The tree data file reader on any bytes, in memory and through a file.
#include "fuzz/treefileproperties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Report(CheckReader(data, size));
}
