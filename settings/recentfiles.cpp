#include "settings/recentfiles.h"

#include "settings/reginifile.h"

#include <QFileInfo>
#include <QLockFile>

namespace {
const QString Organization = QStringLiteral("Vek");
const QString Application = QStringLiteral("VekTreeViewEditor");

QString Ident(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

// One spelling per file, so that "./a.trd" and "/home/me/a.trd" are one entry.
QString Normal(const QString& path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}
}  // namespace

QStringList TRecentFiles::Touched(QStringList list, const QString& path)
{
    const QString normal = Normal(path);
    if (normal.isEmpty())
        return list;
    list.removeAll(normal);
    list.prepend(normal);
    while (list.size() > MaxCount)
        list.removeLast();
    return list;
}

QStringList TRecentFiles::Removed(QStringList list, const QString& path)
{
    list.removeAll(Normal(path));
    return list;
}

QStringList TRecentFiles::Read()
{
    const TRegIniFile ini(Organization, Application);
    QStringList list;
    for (int i = 0; i < MaxCount; ++i) {
        // A folder name may hold commas; it is wanted as it stands.
        const QString path = ini.ReadString(QString::fromLatin1(Section), Ident(i), QString(), TTextForm::Verbatim);
        if (!path.isEmpty() && !list.contains(path))
            list << path;
    }
    return list;
}

void TRecentFiles::Write(const QStringList& list)
{
    TRegIniFile ini(Organization, Application);
    for (int i = 0; i < MaxCount; ++i)
        ini.WriteString(QString::fromLatin1(Section), Ident(i), i < list.size() ? list[i] : QString());
    ini.Commit();
}

// Read, change and write as one step against the other editors. A list that
// cannot be stored is not worth an error after the document itself was
// opened or saved: the entry is simply not remembered.
template <typename Change>
void TRecentFiles::Update(Change change)
{
    QLockFile lock(TRegIniFile(Organization, Application).FileName() + QStringLiteral(".recent-lock"));
    lock.tryLock(2000);
    try {
        // Saving the document that heads the list changes nothing, and then
        // the save does not wait for the settings file to reach the disk.
        const QStringList stored = Read();
        const QStringList changed = change(stored);
        if (changed != stored)
            Write(changed);
    } catch (const std::exception&) {
        qWarning("The list of recent files could not be stored");
    }
}

void TRecentFiles::Note(const QString& path)
{
    Update([&path](const QStringList& list) { return Touched(list, path); });
}

void TRecentFiles::Forget(const QString& path)
{
    Update([&path](const QStringList& list) { return Removed(list, path); });
}

void TRecentFiles::Clear()
{
    Update([](const QStringList&) { return QStringList(); });
}
