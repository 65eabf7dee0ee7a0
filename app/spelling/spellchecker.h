#pragma once

#include "app/spelling/personalwords.h"
#include "app/spelling/spelldictionary.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>
#include <vector>

class QThread;

// Answers whether a word is misspelled in the chosen language. The
// language's dictionary is loaded on the first question, on a thread of its
// own, and kept for the rest of the process; until it is there every word
// passes. Words added to the personal list pass in every language, words
// ignored pass for this run.
class TSpellChecker : public QObject {
    Q_OBJECT
public:
    TSpellChecker(std::vector<TDictionaryFiles> dictionaries, const QString& personalPath);
    ~TSpellChecker() override;

    const std::vector<TDictionaryFiles>& Dictionaries() const { return m_dictionaries; }
    bool HasDictionary() const { return !m_dictionaries.empty(); }
    const QString& Language() const { return m_language; }
    // A language without a dictionary here leaves the choice as it was.
    void SetLanguage(const QString& language);
    // The desktop's language when a dictionary is there for it (exactly, or
    // the same language elsewhere), else English, else the first.
    static QString DefaultLanguage(const std::vector<TDictionaryFiles>& dictionaries, const QString& desktop);

    bool IsMisspelled(const QString& word);
    // Up to `limit` replacements, the likeliest first.
    QStringList Suggestions(const QString& word, int limit);
    void AddToDictionary(const QString& word);
    void IgnoreAll(const QString& word);

    // The dictionary of the language is loaded and answering.
    bool Ready() const { return m_dictionary != nullptr; }
    // Starts loading the language's dictionary unless it is there.
    void Load();
    // Grows whenever an answer given before may be different now.
    quint64 Generation() const { return m_generation; }

signals:
    // Words may be judged differently now: a dictionary arrived, the
    // language changed, a word was added or ignored.
    void Changed();

private:
    void LoadFinished();
    void Invalidate();

    std::vector<TDictionaryFiles> m_dictionaries;
    QString m_language;
    TPersonalWords m_personal;
    QSet<QString> m_ignored;
    std::shared_ptr<TSpellDictionary> m_dictionary;
    std::unique_ptr<QThread> m_loader;
    QString m_loading;  // the language m_loader loads
    QSet<QString> m_failed;  // languages whose dictionary could not be loaded
    QHash<QString, bool> m_verdicts;
    quint64 m_generation = 0;
};
