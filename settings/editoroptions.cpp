#include "settings/editoroptions.h"

#include "settings/reginifile.h"

#include <algorithm>

namespace {
const QString Organization = QStringLiteral("Vek");
const QString Application = QStringLiteral("VekTreeViewEditor");
const QString Section = QString::fromLatin1(TEditorOptions::Section);
}  // namespace

TEditorOptions TEditorOptions::Read()
{
    const TRegIniFile ini(Organization, Application);
    TEditorOptions options;
    options.ReopenLast = ini.ReadInteger(Section, QStringLiteral("ReopenLast"), 0) != 0;
    options.AutoSave = ini.ReadInteger(Section, QStringLiteral("AutoSave"), 0) != 0;
    options.AutoSaveSeconds = std::clamp(ini.ReadInteger(Section, QStringLiteral("AutoSaveSeconds"), 30),
                                         MinAutoSaveSeconds, MaxAutoSaveSeconds);
    options.NumberHeadings = ini.ReadInteger(Section, QStringLiteral("NumberHeadings"), 0) != 0;
    return options;
}

void TEditorOptions::Write() const
{
    TRegIniFile ini(Organization, Application);
    ini.WriteInteger(Section, QStringLiteral("ReopenLast"), ReopenLast ? 1 : 0);
    ini.WriteInteger(Section, QStringLiteral("AutoSave"), AutoSave ? 1 : 0);
    ini.WriteInteger(Section, QStringLiteral("AutoSaveSeconds"),
                     std::clamp(AutoSaveSeconds, MinAutoSaveSeconds, MaxAutoSaveSeconds));
    ini.WriteInteger(Section, QStringLiteral("NumberHeadings"), NumberHeadings ? 1 : 0);
    ini.Commit();
}
