// Whatever loads is written and loads again the same, also after edits.
#include "fuzz/treefileproperties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Report(CheckRoundTrip(data, size));
}
