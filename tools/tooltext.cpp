#include "tools/tooltext.h"

#include "app/language/lowerlayertext.h"
#include "app/language/translators.h"
#include "document/errortext.h"

#include <QCoreApplication>

#include <climits>

namespace {
// Without a catalogue the texts stay the bytes they were, file names and all:
// scripts read the English output.
bool Translating = false;

// One pass, so a "%2" inside an argument stays as it is.
std::string Substitute(const std::string& format, const std::vector<std::string>& arguments)
{
    std::string text;
    for (size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        const auto index = static_cast<size_t>(next - '1');
        if (format[i] == '%' && next >= '1' && next <= '9' && index < arguments.size()) {
            text += arguments[index];
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}
}  // namespace

void InstallToolLanguage()
{
    // The editor's names, so its settings choose the tool's language too.
    QCoreApplication::setOrganizationName(QStringLiteral("Vek"));
    QCoreApplication::setApplicationName(QStringLiteral("VekTreeViewEditor"));
    Translating = !InstallUserLanguage().isEmpty();
}

std::string ToolText(const char* source, const std::vector<std::string>& arguments)
{
    const std::string format = Translating ? QCoreApplication::translate("trdtool", source).toStdString() : source;
    return Substitute(format, arguments);
}

std::string ToolCountText(const char* source, long long count)
{
    // Only the form is chosen by the count; the number itself is never cut.
    const int form = static_cast<int>(count > INT_MAX ? INT_MAX : count);
    const std::string format =
        Translating ? QCoreApplication::translate("trdtool", source, nullptr, form).toStdString() : source;
    return Substitute(format, {std::to_string(count)});
}

std::string ToolErrorText(const std::string& message)
{
    const QString text = QString::fromStdString(message);
    // A name that is not UTF-8 would lose its bytes on the way through
    // QString: the exact name in English serves better than a mangled one.
    if (!Translating || text.toStdString() != message)
        return ErrorBoxText(message);
    return ErrorBoxText(TLowerLayerText::Translated(text).toStdString());
}
