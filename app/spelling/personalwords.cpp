#include "app/spelling/personalwords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <stdexcept>

TPersonalWords::TPersonalWords(QString path) : m_path(std::move(path))
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString word = line.trimmed();
        if (!word.isEmpty() && !m_set.contains(word)) {
            m_words << word;
            m_set.insert(word);
        }
    }
}

bool TPersonalWords::Contains(const QString& word) const
{
    if (m_set.contains(word))
        return true;
    if (word.isEmpty() || !word.front().isUpper())
        return false;
    QString lowered = word;
    lowered[0] = lowered[0].toLower();
    return m_set.contains(lowered);
}

void TPersonalWords::Add(const QString& word)
{
    if (word.isEmpty() || m_set.contains(word))
        return;
    m_words << word;
    m_set.insert(word);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    bool written = file.open(QIODevice::WriteOnly);
    for (const QString& listed : std::as_const(m_words))
        written = written && file.write((listed + QLatin1Char('\n')).toUtf8()) >= 0;
    if (!written || !file.commit())
        throw std::runtime_error(QCoreApplication::translate("TPersonalWords", "Cannot write the personal dictionary %1: %2")
                                     .arg(QDir::toNativeSeparators(m_path), file.errorString())
                                     .toStdString());
}

QString TPersonalWords::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("personal-dictionary.txt"));
}
