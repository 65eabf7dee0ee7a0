#include "recovery/recoveryinfo.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <type_traits>

namespace {

constexpr std::string_view Marker = "VekTreeViewEditor recovery copy";

// A path may hold any byte but NUL, line breaks included, so each value
// keeps to its own line.
std::string Escape(std::string_view value)
{
    std::string out;
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

template <typename T> std::optional<T> Number(const std::optional<std::string>& field)
{
    if (!field)
        return std::nullopt;
    const std::string& text = *field;
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || (value < 0 && !std::is_signed_v<T>))
        return std::nullopt;
    return static_cast<T>(value);
}

}  // namespace

std::string TRecoveryInfo::Format() const
{
    std::string out(Marker);
    out += "\npath=" + Escape(path);
    out += "\ntime=" + std::to_string(time);
    out += "\npid=" + std::to_string(owner.pid);
    out += "\nstarted=" + std::to_string(owner.startTime);
    out += "\nboot=" + Escape(owner.bootId);
    out += '\n';
    return out;
}

std::optional<TRecoveryInfo> TRecoveryInfo::Parse(std::string_view text)
{
    std::map<std::string, std::string, std::less<>> values;
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            return std::nullopt;  // cut short
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != Marker)
                return std::nullopt;
            first = false;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const auto value = Unescape(line.substr(equals + 1));
        if (!value || !values.emplace(std::string(line.substr(0, equals)), *value).second)
            return std::nullopt;
    }
    auto get = [&values](std::string_view key) -> std::optional<std::string> {
        const auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
    const auto path = get("path");
    const auto time = Number<int64_t>(get("time"));
    const auto pid = Number<int64_t>(get("pid"));
    const auto started = Number<uint64_t>(get("started"));
    const auto boot = get("boot");
    if (values.size() != 5 || !path || !time || !pid || !started || !boot)
        return std::nullopt;
    TRecoveryInfo info;
    info.path = *path;
    info.time = *time;
    info.owner.pid = *pid;
    info.owner.startTime = *started;
    info.owner.bootId = *boot;
    return info;
}
