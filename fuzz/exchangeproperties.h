#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the importers promise for any bytes at all: each reads them or raises
// EImportError, within small limits, and what it read goes through an
// export and back unchanged. The fuzz targets check these on generated
// input; the test suite checks them on the seed corpora in
// tests/data/fuzz_opml, fuzz_markdown and fuzz_text. Each answers what went
// wrong, or an empty string.

// OPML read; its items written as OPML read back exactly.
std::string CheckOpml(const uint8_t* data, size_t size);
// Markdown read; its items written as Markdown read back the same.
std::string CheckMarkdown(const uint8_t* data, size_t size);
// Indented text read (any bytes make names); written as OPML they read back
// exactly, in UTF-8.
std::string CheckIndentedText(const uint8_t* data, size_t size);
