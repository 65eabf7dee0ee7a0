#pragma once

#include <QSet>
#include <QString>

// The words the user added to the dictionary: a text file of one word a
// line, shared by every document and every language.
class TPersonalWords {
public:
    // Reads the file; a missing one is an empty list.
    explicit TPersonalWords(QString path);

    // True for a listed word, and for a listed word in lower case written
    // with a capital, as at the start of a sentence.
    bool Contains(const QString& word) const;
    // Lists the word and writes the file at once, replacing it whole. Throws
    // std::runtime_error naming the file when it cannot be written; the word
    // then stays listed for this run.
    void Add(const QString& word);
    const QString& Path() const { return m_path; }

    // personal-dictionary.txt in the program's data folder.
    static QString DefaultPath();

private:
    QString m_path;
    QStringList m_words;  // in the order added, as written to the file
    QSet<QString> m_set;
};
