// The protected variant's header and stream on any bytes.
#include "fuzz/treefileproperties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Report(CheckProtectedReader(data, size));
}
