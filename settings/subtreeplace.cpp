#include "settings/subtreeplace.h"

#include "settings/reginifile.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QStringList>

namespace {
const QString Organization = QStringLiteral("Vek");
const QString Application = QStringLiteral("VekTreeViewEditor");
const QString Section = QString::fromLatin1(TSubtreePlace::Section);
// Deeper than any tree a file can be expected to hold; a longer value is not ours.
constexpr int MaxPositions = 100000;
}  // namespace

QString TSubtreePlace::Ident(const QString& filePath)
{
    // A path can hold characters a settings key cannot; its digest cannot.
    const QString absolute = QFileInfo(filePath).absoluteFilePath();
    return QString::fromLatin1(QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString TSubtreePlace::ToText(const std::vector<int>& positions)
{
    QStringList parts;
    for (int position : positions)
        parts.append(QString::number(position));
    return parts.join(QLatin1Char('.'));
}

std::vector<int> TSubtreePlace::FromText(const QString& text)
{
    std::vector<int> positions;
    if (text.trimmed().isEmpty())
        return positions;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() > MaxPositions)
        return {};
    for (const QString& part : parts) {
        const std::optional<qint32> value = DecimalToInteger(part);
        if (!value || *value < 0)
            return {};
        positions.push_back(*value);
    }
    return positions;
}

std::vector<int> TSubtreePlace::Read(const QString& filePath)
{
    if (filePath.isEmpty())
        return {};
    const TRegIniFile ini(Organization, Application);
    return FromText(ini.ReadString(Section, Ident(filePath), QString()));
}

void TSubtreePlace::Write(const QString& filePath, const std::vector<int>& positions)
{
    if (filePath.isEmpty())
        return;
    TRegIniFile ini(Organization, Application);
    const QString ident = Ident(filePath);
    const QString text = ToText(positions);
    // Each save stores the place again; only a changed one is worth the
    // settings file's trip to the disk.
    if (ini.ReadString(Section, ident, QString()) == text)
        return;
    ini.WriteString(Section, ident, text);
    ini.Commit();
}
