#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the tree data file's reader and writer promise for any bytes at all.
// The fuzz targets check these on generated input; the test suite checks
// them on the seed corpus in tests/data/fuzz. Each answers what went wrong,
// or an empty string.

// The bytes load, in memory and from a file alike, or fail with "Stream read
// error" keeping a well-formed prefix; every string reads back within its
// bytes; the tree costs at most MaxBytesPerFileByte of memory per byte.
std::string CheckReader(const uint8_t* data, size_t size);

// Whatever loads is written, loads again to the same items and writes the
// same bytes again; also after edits made to the loaded tree (strings
// replaced, items added, moved and deleted, strings moved out of the file's
// bytes), checked against a plain model of the same edits, and after a clear
// and a new load into the same tree.
std::string CheckRoundTrip(const uint8_t* data, size_t size);

// The password-protected variant on any bytes: a header is taken only whole
// and with its whole marker; nothing decrypts without an acceptable header;
// every failure gives the one message naming the file; and what does
// decrypt (the seeds made with FuzzKey) holds no more than the stream's
// bytes and keeps CheckReader's properties.
std::string CheckProtectedReader(const uint8_t* data, size_t size);

class TFileKey;
// The fixed key the protected seeds are encrypted with: password "fuzz",
// the least Argon2 cost, a salt of zeros and 64-byte chunks.
const TFileKey& FuzzKey();

constexpr size_t MaxBytesPerFileByte = 16;

// For the fuzz targets: stops the process with the problem on stderr, so the
// fuzzer keeps the input that showed it; 0 when there is none.
int Report(const std::string& problem);
