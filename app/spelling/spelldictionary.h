#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class Hunspell;

// The two files of one installed Hunspell dictionary and the language they
// are for ("en_US", "de_DE"), taken from their names.
struct TDictionaryFiles {
    QString language;
    QString affix;
    QString words;
};

// One Hunspell dictionary. Loading it reads megabytes, so it is made off
// the window's thread; once made it is used by one thread at a time.
class TSpellDictionary {
public:
    explicit TSpellDictionary(const TDictionaryFiles& files);
    ~TSpellDictionary();
    TSpellDictionary(const TSpellDictionary&) = delete;
    TSpellDictionary& operator=(const TSpellDictionary&) = delete;

    bool Spell(const QString& word) const;
    QStringList Suggest(const QString& word) const;

    // The folders with dictionaries: those of DICPATH (separated by colons)
    // when it is set, otherwise the system's.
    static QStringList Folders();
    // Every dictionary in `folders` with both its files, sorted by language;
    // a language found twice is the first folder's.
    static std::vector<TDictionaryFiles> Installed(const QStringList& folders = Folders());
    // "English (United States)" for "en_US".
    static QString LanguageName(const QString& language);

private:
    std::string Encode(const QString& word) const;
    QString Decode(const std::string& word) const;

    std::unique_ptr<Hunspell> m_hunspell;
    std::string m_encoding;  // empty: UTF-8
};
