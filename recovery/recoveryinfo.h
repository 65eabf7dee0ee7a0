#pragma once

#include "recovery/processidentity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the side file beside a recovery copy says: which document the copy
// is of, when it was written, and which run of the editor wrote it.
struct TRecoveryInfo {
    std::string path;  // the document's absolute path; empty when untitled
    int64_t time = 0;  // seconds since the epoch
    TProcessIdentity owner;

    std::string Format() const;
    // None for anything Format() did not write: the copy is then not offered.
    static std::optional<TRecoveryInfo> Parse(std::string_view text);
};
