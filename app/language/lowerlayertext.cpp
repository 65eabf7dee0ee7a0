#include "app/language/lowerlayertext.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <vector>

namespace {
// More particular patterns first: "Cannot open file %1" would also match the
// message with its reason, taking the reason for part of the name.
const char* const Patterns[] = {
    QT_TRANSLATE_NOOP("TLowerLayerText", "Cannot open file %1: %2"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Cannot open file %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Cannot create file %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Cannot export %1: %2"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Cannot import %1: line %2, column %3: %4"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Cannot import %1: line %2: %3"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Cannot import %1: %2"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Stream read error: %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Stream read error"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Stream write error: %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Stream write error"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "File not found: %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Invalid filename: %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Too many open files: %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "File access denied: %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Disk full: %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "it is protected by a password"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "no password given"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "the password is wrong or the file is damaged"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "it was made by a newer version of the program"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "the password is right but the file is damaged at byte %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "The password file %1 is larger than 1 KiB"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "The password file %1 is neither a regular file nor a pipe"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "Cannot read the password file %1"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "The cryptography library cannot start"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "the file is larger than %1 bytes"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "the text is not valid UTF-8"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "not an OPML document"),
    QT_TRANSLATE_NOOP("TLowerLayerText", "'%1' is not a valid integer value"),
};

struct TPattern {
    const char* text;
    QRegularExpression match;
};

// "Cannot open file %1" as ^Cannot open file (.*)$, the rest taken literally.
const std::vector<TPattern>& CompiledPatterns()
{
    static const std::vector<TPattern> compiled = [] {
        static const QRegularExpression placeholder(QStringLiteral("%\\d"));
        std::vector<TPattern> list;
        for (const char* text : Patterns) {
            const QStringList literals = QString::fromLatin1(text).split(placeholder);
            QStringList escaped;
            for (const QString& literal : literals)
                escaped << QRegularExpression::escape(literal);
            list.push_back({text, QRegularExpression(QLatin1Char('^') + escaped.join(QStringLiteral("(.*)")) +
                                                     QLatin1Char('$'))});
        }
        return list;
    }();
    return compiled;
}
}  // namespace

QString TLowerLayerText::Translated(const QString& message)
{
    for (const TPattern& pattern : CompiledPatterns()) {
        const QRegularExpressionMatch found = pattern.match.match(message);
        if (!found.hasMatch())
            continue;
        const QString translation = QCoreApplication::translate("TLowerLayerText", pattern.text);
        if (translation == QLatin1String(pattern.text))
            return message;
        // One pass over all the parts, so a "%2" in a file's name stays.
        QStringList parts;
        for (int i = 1; i <= found.lastCapturedIndex(); ++i)
            parts << Translated(found.captured(i));
        QString text = translation;
        switch (parts.size()) {
        case 0: return text;
        case 1: return text.arg(parts[0]);
        case 2: return text.arg(parts[0], parts[1]);
        case 3: return text.arg(parts[0], parts[1], parts[2]);
        default: return text.arg(parts[0], parts[1], parts[2], parts[3]);
        }
    }
    return message;
}
