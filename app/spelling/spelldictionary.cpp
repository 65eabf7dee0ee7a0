#include "app/spelling/spelldictionary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <hunspell/hunspell.hxx>
#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

// Text from one encoding to another through the C library; what cannot be
// converted ends the text there, which at worst underlines a word.
std::string Convert(const std::string& text, const char* to, const char* from)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outAt = out.data();
    size_t outLeft = out.size();
    iconv(converter, &in, &inLeft, &outAt, &outLeft);
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

TSpellDictionary::TSpellDictionary(const TDictionaryFiles& files)
    : m_hunspell(std::make_unique<Hunspell>(QFile::encodeName(files.affix).constData(),
                                            QFile::encodeName(files.words).constData()))
{
    const QString encoding = QString::fromStdString(m_hunspell->get_dict_encoding()).toUpper();
    if (encoding != QLatin1String("UTF-8") && encoding != QLatin1String("UTF8"))
        m_encoding = encoding.toStdString();
}

TSpellDictionary::~TSpellDictionary() = default;

std::string TSpellDictionary::Encode(const QString& word) const
{
    const QByteArray utf8 = word.toUtf8();
    std::string bytes(utf8.constData(), static_cast<size_t>(utf8.size()));
    return m_encoding.empty() ? bytes : Convert(bytes, m_encoding.c_str(), "UTF-8");
}

QString TSpellDictionary::Decode(const std::string& word) const
{
    return QString::fromStdString(m_encoding.empty() ? word : Convert(word, "UTF-8", m_encoding.c_str()));
}

bool TSpellDictionary::Spell(const QString& word) const
{
    const std::string bytes = Encode(word);
    return bytes.empty() || m_hunspell->spell(bytes);
}

QStringList TSpellDictionary::Suggest(const QString& word) const
{
    QStringList suggestions;
    const std::string bytes = Encode(word);
    if (bytes.empty())
        return suggestions;
    for (const std::string& suggestion : m_hunspell->suggest(bytes))
        suggestions << Decode(suggestion);
    return suggestions;
}

QStringList TSpellDictionary::Folders()
{
    const QByteArray path = qgetenv("DICPATH");
    if (!path.isNull())
        return QString::fromLocal8Bit(path).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/local/share/hunspell")};
}

std::vector<TDictionaryFiles> TSpellDictionary::Installed(const QStringList& folders)
{
    std::vector<TDictionaryFiles> found;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QFileInfo& words : dir.entryInfoList({QStringLiteral("*.dic")}, QDir::Files | QDir::Readable)) {
            const QString language = words.completeBaseName();
            const QString affix = dir.filePath(language + QStringLiteral(".aff"));
            const bool known = std::any_of(found.begin(), found.end(),
                                           [&language](const TDictionaryFiles& f) { return f.language == language; });
            if (!known && QFileInfo(affix).isReadable())
                found.push_back({language, affix, words.filePath()});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const TDictionaryFiles& a, const TDictionaryFiles& b) { return a.language < b.language; });
    return found;
}

QString TSpellDictionary::LanguageName(const QString& language)
{
    const QLocale locale(language);
    if (locale.language() == QLocale::C)
        return language;
    QString name = QLocale::languageToString(locale.language());
    if (language.contains(QLatin1Char('_')) || language.contains(QLatin1Char('-')))
        name += QStringLiteral(" (%1)").arg(QLocale::territoryToString(locale.territory()));
    return name;
}
