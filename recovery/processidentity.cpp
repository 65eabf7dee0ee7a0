#include "recovery/processidentity.h"

#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

std::string ReadLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

TProcessIdentity TProcessIdentity::Current()
{
    if (auto self = Of(::getpid()))
        return *self;
    TProcessIdentity self;
    self.pid = ::getpid();
    self.bootId = ReadLine("/proc/sys/kernel/random/boot_id");
    return self;
}

std::optional<TProcessIdentity> TProcessIdentity::Of(int64_t pid)
{
    if (pid <= 0)
        return std::nullopt;
    const std::string stat = ReadLine("/proc/" + std::to_string(pid) + "/stat");
    // The command name in parentheses may hold blanks and parentheses of its
    // own; the fields after the last ')' are plain numbers and letters.
    const size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    fields >> state;
    if (state == "Z" || state == "X")
        return std::nullopt;
    // The start time is field 22; the state was field 3.
    std::string skipped;
    for (int field = 4; field < 22; ++field)
        fields >> skipped;
    TProcessIdentity identity;
    if (!(fields >> identity.startTime))
        return std::nullopt;
    identity.pid = pid;
    identity.bootId = ReadLine("/proc/sys/kernel/random/boot_id");
    return identity;
}

bool TProcessIdentity::Running() const
{
    const auto now = Of(pid);
    return now && *now == *this;
}

bool TProcessIdentity::operator==(const TProcessIdentity& other) const
{
    return pid == other.pid && startTime == other.startTime && bootId == other.bootId;
}
