#pragma once

#include "app/spelling/spellwords.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QPlainTextEdit;
class QTextBlock;
class TDescriptionLinks;
class TDocumentSession;
class TEditorLayers;
class TSpellChecker;

// A misspelled word in the description editor, in the editor's positions.
struct TMisspelling {
    int start = 0;
    int end = 0;
    QString word;
};

// Spelling in the description editor: misspelled words on screen get the
// platform's wavy underline, and the editor's menu on one offers
// replacements, "Add to Dictionary" and "Ignore All". Only the blocks on
// screen are checked, each once until it is edited or the verdicts change,
// so a description of many megabytes shows and scrolls as fast as without.
class TDescriptionSpelling : public QObject {
    Q_OBJECT
public:
    // How many replacements the menu offers at most.
    static constexpr int MaxSuggestions = 7;

    TDescriptionSpelling(QPlainTextEdit& memo, TEditorLayers& layers, TDescriptionLinks& links,
                         TSpellChecker& checker, const TDocumentSession& session);
    ~TDescriptionSpelling() override;

    void actViewCheckSpellingExecute(const QAction* sender);
    void actViewSpellingLanguageExecute(const QAction* sender);
    // Gives the two commands their check marks and the language menu; with
    // no dictionary, a hint that says why they are off.
    void AttachActions(QAction* checkSpelling, QAction* spellingLanguage);

    bool HasDictionary() const;
    // On when wanted and a dictionary is there to check with.
    bool Checking() const { return m_wanted && HasDictionary(); }
    // The user's choice, kept as chosen while no dictionary is installed,
    // so installing one later brings the check back.
    bool Wanted() const { return m_wanted; }
    void SetChecking(bool checking);
    QString Language() const;
    void SetLanguage(const QString& language);

    std::optional<TMisspelling> MisspellingAt(int position);
    // The editor's menu with the spelling entries first, for a position on a
    // misspelled word of an editable text; none elsewhere. The caller owns it.
    QMenu* CreateSpellingMenu(int position);
    // Underlines the words on screen now rather than once the editor is idle.
    void RefreshSpelling();
    // The words underlined, in editor positions.
    const std::vector<TSpellWord>& Underlined() const { return m_drawn; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FilterEvent(QObject* watched, QEvent* event);
    void ScheduleRefresh();
    void ContentsChange(int position, int removed, int added);
    void CursorMoved();
    // The misspelled words of a block between its characters `from` and
    // `to`, in editor positions.
    std::vector<TSpellWord> MisspelledIn(const QTextBlock& block, int from, int to);
    std::vector<TSpellWord> Check(const QString& text, int position);
    void Replace(const TMisspelling& misspelling, const QString& replacement);
    // Asks first while the document is protected.
    void AddToDictionary(const QString& word);
    // The Menu key and Shift+F10: the menu for the caret's place.
    void ShowKeyboardMenu();
    void UpdateLanguageMenu();

    QPlainTextEdit& m_memo;
    TEditorLayers& m_layers;
    TDescriptionLinks& m_links;
    TSpellChecker& m_checker;
    const TDocumentSession& m_session;
    QTimer m_refreshTimer;
    bool m_wanted = true;
    std::vector<TSpellWord> m_drawn;
    int m_typedEnd = -1;  // where the last edit ended, while the caret stays there
    QAction* m_checkAction = nullptr;
    std::unique_ptr<QMenu> m_languageMenu;
    QActionGroup* m_languageGroup = nullptr;
};
