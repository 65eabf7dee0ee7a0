// The Markdown importer on any bytes, and its round trip through an export.
#include "fuzz/exchangeproperties.h"
#include "fuzz/treefileproperties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Report(CheckMarkdown(data, size));
}
