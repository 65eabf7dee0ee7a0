#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One run of a process: its id, when it started and in which boot of the
// machine. The id alone is not enough: the system hands it to a later
// process once the first has ended, and after a power cut counting starts
// over. Read from Linux's /proc.
struct TProcessIdentity {
    int64_t pid = 0;
    uint64_t startTime = 0;  // clock ticks after the boot
    std::string bootId;

    static TProcessIdentity Current();
    // The process that has this id now; none when no live process has it
    // (an ended process its parent has not yet waited for counts as ended).
    static std::optional<TProcessIdentity> Of(int64_t pid);
    // True while this very run goes on.
    bool Running() const;

    bool operator==(const TProcessIdentity& other) const;
    bool operator!=(const TProcessIdentity& other) const { return !(*this == other); }
};
