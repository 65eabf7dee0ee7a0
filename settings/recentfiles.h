#pragma once

#include <QString>
#include <QStringList>

// The documents opened or saved last, the most recent first. Every running
// editor shares one list in the settings: each change is read, applied and
// written back under a lock, so the last writer starts from what the others
// wrote and no editor drops another's entries. Only paths are kept.
class TRecentFiles {
public:
    static constexpr int MaxCount = 10;
    // The settings section the list lives in.
    static constexpr const char Section[] = "RecentFiles";

    // `path` moved (or added) to the front, once, and the list cut to MaxCount.
    static QStringList Touched(QStringList list, const QString& path);
    static QStringList Removed(QStringList list, const QString& path);

    // The stored list, the most recent first.
    static QStringList Read();
    static void Note(const QString& path);
    static void Forget(const QString& path);
    static void Clear();

private:
    template <typename Change> static void Update(Change change);
    static void Write(const QStringList& list);
};
