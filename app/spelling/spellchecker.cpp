#include "app/spelling/spellchecker.h"

#include <QLocale>
#include <QThread>

#include <algorithm>
#include <map>
#include <mutex>

namespace {

// The dictionaries loaded so far, by their word file. Each is loaded once
// per process: a second window, or a language chosen again, finds it here.
std::mutex LoadedMutex;
std::map<QString, std::shared_ptr<TSpellDictionary>>& Loaded()
{
    static std::map<QString, std::shared_ptr<TSpellDictionary>> loaded;
    return loaded;
}

std::shared_ptr<TSpellDictionary> FindLoaded(const QString& words)
{
    const std::lock_guard lock(LoadedMutex);
    const auto found = Loaded().find(words);
    return found == Loaded().end() ? nullptr : found->second;
}

const TDictionaryFiles* FilesOf(const std::vector<TDictionaryFiles>& dictionaries, const QString& language)
{
    const auto found = std::find_if(dictionaries.begin(), dictionaries.end(),
                                    [&language](const TDictionaryFiles& f) { return f.language == language; });
    return found == dictionaries.end() ? nullptr : &*found;
}

// Hunspell's lists write the apostrophe as ASCII; a typed text often has
// the typographic one.
QString Normalised(QString word)
{
    return word.replace(QChar(0x2019), QLatin1Char('\''));
}

}  // namespace

TSpellChecker::TSpellChecker(std::vector<TDictionaryFiles> dictionaries, const QString& personalPath)
    : m_dictionaries(std::move(dictionaries)), m_personal(personalPath)
{
    m_language = DefaultLanguage(m_dictionaries, QLocale::system().name());
}

TSpellChecker::~TSpellChecker()
{
    if (m_loader)
        m_loader->wait();
}

QString TSpellChecker::DefaultLanguage(const std::vector<TDictionaryFiles>& dictionaries, const QString& desktop)
{
    auto language = [](const QString& name) { return name.section(QLatin1Char('_'), 0, 0); };
    for (const QString& wanted : {desktop, QStringLiteral("en_US")}) {
        if (FilesOf(dictionaries, wanted))
            return wanted;
        for (const TDictionaryFiles& files : dictionaries)
            if (language(files.language) == language(wanted))
                return files.language;
    }
    return dictionaries.empty() ? QString() : dictionaries.front().language;
}

void TSpellChecker::SetLanguage(const QString& language)
{
    if (language == m_language || !FilesOf(m_dictionaries, language))
        return;
    m_language = language;
    m_dictionary = nullptr;
    Invalidate();
}

void TSpellChecker::Invalidate()
{
    m_verdicts.clear();
    ++m_generation;
    emit Changed();
}

void TSpellChecker::Load()
{
    if (m_dictionary || m_loader)
        return;
    const TDictionaryFiles* files = FilesOf(m_dictionaries, m_language);
    if (!files || m_failed.contains(m_language))
        return;
    if ((m_dictionary = FindLoaded(files->words)))
        return;
    m_loading = m_language;
    m_loader.reset(QThread::create([files = *files] {
        try {
            auto dictionary = std::make_shared<TSpellDictionary>(files);
            const std::lock_guard lock(LoadedMutex);
            Loaded().emplace(files.words, std::move(dictionary));
        } catch (...) {
            // Nothing is stored; the language is marked as failed once back.
        }
    }));
    connect(m_loader.get(), &QThread::finished, this, &TSpellChecker::LoadFinished, Qt::QueuedConnection);
    // The window's thread keeps the processor it needs for typing.
    m_loader->start(QThread::LowPriority);
}

void TSpellChecker::LoadFinished()
{
    m_loader->wait();
    m_loader.reset();
    if (m_loading != m_language) {
        Load();  // chosen again meanwhile
        return;
    }
    const TDictionaryFiles* files = FilesOf(m_dictionaries, m_language);
    m_dictionary = files ? FindLoaded(files->words) : nullptr;
    if (m_dictionary)
        Invalidate();
    else
        m_failed.insert(m_language);  // not asked for again, word after word
}

bool TSpellChecker::IsMisspelled(const QString& word)
{
    if (!m_dictionary) {
        Load();
        return false;
    }
    const auto known = m_verdicts.constFind(word);
    if (known != m_verdicts.constEnd())
        return known.value();
    const QString normalised = Normalised(word);
    const bool misspelled =
        !m_ignored.contains(normalised) && !m_personal.Contains(normalised) && !m_dictionary->Spell(normalised);
    m_verdicts.insert(word, misspelled);
    return misspelled;
}

QStringList TSpellChecker::Suggestions(const QString& word, int limit)
{
    if (!m_dictionary)
        return {};
    QStringList suggestions = m_dictionary->Suggest(Normalised(word));
    if (suggestions.size() > limit)
        suggestions.resize(limit);
    return suggestions;
}

void TSpellChecker::AddToDictionary(const QString& word)
{
    // Listed before the file is written: a failure to write still leaves
    // the word passing for this run, and the caller tells why it will not last.
    m_ignored.insert(Normalised(word));
    Invalidate();
    m_personal.Add(Normalised(word));
}

void TSpellChecker::IgnoreAll(const QString& word)
{
    m_ignored.insert(Normalised(word));
    Invalidate();
}
