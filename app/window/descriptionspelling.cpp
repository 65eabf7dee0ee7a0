#include "app/window/descriptionspelling.h"

#include "app/spelling/spellchecker.h"
#include "app/spelling/spelldictionary.h"
#include "app/widgets/theme.h"
#include "app/window/application.h"
#include "app/window/descriptionlinks.h"
#include "app/window/documentsession.h"
#include "app/window/editorlayers.h"
#include "app/window/prompter.h"
#include "app/window/visibletext.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// How far beyond the screen a long block is checked, so that the word at
// the screen's edge is taken whole.
constexpr int CheckMargin = 256;

// A block's misspelled words, in its own characters, as long as neither the
// block nor the checker's verdicts changed.
class TSpellBlockData : public QTextBlockUserData {
public:
    int revision = 0;
    quint64 generation = 0;
    std::vector<TSpellWord> misspelled;
};

}  // namespace

TDescriptionSpelling::TDescriptionSpelling(QPlainTextEdit& memo, TEditorLayers& layers, TDescriptionLinks& links,
                                           TSpellChecker& checker, const TDocumentSession& session)
    : m_memo(memo), m_layers(layers), m_links(links), m_checker(checker), m_session(session)
{
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    ConnectGuarded(&m_refreshTimer, &QTimer::timeout, this, &TDescriptionSpelling::RefreshSpelling);
    ConnectGuarded(&m_memo, &QPlainTextEdit::textChanged, this, &TDescriptionSpelling::ScheduleRefresh);
    ConnectGuarded(m_memo.verticalScrollBar(), &QScrollBar::valueChanged, this,
                   &TDescriptionSpelling::ScheduleRefresh);
    ConnectGuarded(m_memo.horizontalScrollBar(), &QScrollBar::valueChanged, this,
                   &TDescriptionSpelling::ScheduleRefresh);
    ConnectGuarded(&m_checker, &TSpellChecker::Changed, this, &TDescriptionSpelling::ScheduleRefresh);
    ConnectGuarded(m_memo.document(), &QTextDocument::contentsChange, this, &TDescriptionSpelling::ContentsChange);
    ConnectGuarded(&m_memo, &QPlainTextEdit::cursorPositionChanged, this, &TDescriptionSpelling::CursorMoved);
    m_memo.installEventFilter(this);
    m_memo.viewport()->installEventFilter(this);
}

TDescriptionSpelling::~TDescriptionSpelling() = default;

bool TDescriptionSpelling::HasDictionary() const
{
    return m_checker.HasDictionary();
}

void TDescriptionSpelling::actViewCheckSpellingExecute(const QAction* sender)
{
    // The action is checkable, so Qt has already inverted its checked state.
    SetChecking(sender->isChecked());
}

void TDescriptionSpelling::actViewSpellingLanguageExecute(const QAction* sender)
{
    // From a menu the entry opens its submenu; reached any other way, the
    // languages open where the pointer is.
    if (QMenu* menu = sender->menu())
        menu->popup(QCursor::pos());
}

void TDescriptionSpelling::AttachActions(QAction* checkSpelling, QAction* spellingLanguage)
{
    m_checkAction = checkSpelling;
    checkSpelling->setCheckable(true);
    checkSpelling->setChecked(Checking());
    m_languageMenu = std::make_unique<QMenu>();
    m_languageMenu->setObjectName(QStringLiteral("miSpellingLanguages"));
    m_languageGroup = new QActionGroup(m_languageMenu.get());
    for (const TDictionaryFiles& dictionary : m_checker.Dictionaries()) {
        QAction* entry = m_languageMenu->addAction(TSpellDictionary::LanguageName(dictionary.language));
        entry->setObjectName(QStringLiteral("miSpellingLanguage_") + dictionary.language);
        entry->setData(dictionary.language);
        entry->setCheckable(true);
        m_languageGroup->addAction(entry);
        connect(entry, &QAction::triggered, this,
                Guarded([this, language = dictionary.language] { SetLanguage(language); }));
    }
    spellingLanguage->setMenu(m_languageMenu.get());
    UpdateLanguageMenu();
    if (!HasDictionary()) {
        const QString why = tr("No spelling dictionary is installed: install one of the hunspell-* packages, "
                               "such as hunspell-en-us, and start the program again.");
        checkSpelling->setStatusTip(why);
        spellingLanguage->setStatusTip(why);
    }
}

void TDescriptionSpelling::UpdateLanguageMenu()
{
    if (!m_languageGroup)
        return;
    for (QAction* entry : m_languageGroup->actions())
        entry->setChecked(entry->data().toString() == m_checker.Language());
}

void TDescriptionSpelling::SetChecking(bool checking)
{
    m_wanted = checking;
    if (m_checkAction)
        m_checkAction->setChecked(Checking());
    RefreshSpelling();
}

QString TDescriptionSpelling::Language() const
{
    return m_checker.Language();
}

void TDescriptionSpelling::SetLanguage(const QString& language)
{
    m_checker.SetLanguage(language);
    UpdateLanguageMenu();
}

void TDescriptionSpelling::ScheduleRefresh()
{
    m_refreshTimer.start();
}

void TDescriptionSpelling::ContentsChange(int position, int removed, int added)
{
    // A key adds or takes away a character or two; a description shown,
    // pasted or replaced is no word in the making.
    constexpr int Keystroke = 2;
    m_typedEnd = added <= Keystroke && removed <= Keystroke ? position + added : -1;
}

void TDescriptionSpelling::CursorMoved()
{
    // Typing moves the caret too; only a move elsewhere finishes the word.
    if (m_typedEnd >= 0 && m_memo.textCursor().position() != m_typedEnd) {
        m_typedEnd = -1;
        ScheduleRefresh();
    }
}

std::vector<TSpellWord> TDescriptionSpelling::Check(const QString& text, int position)
{
    std::vector<TSpellWord> misspelled;
    for (const TSpellWord& word : FindSpellWords(text))
        if (m_checker.IsMisspelled(text.sliced(word.start, word.length)))
            misspelled.push_back({position + word.start, word.length});
    return misspelled;
}

std::vector<TSpellWord> TDescriptionSpelling::MisspelledIn(const QTextBlock& block, int from, int to)
{
    if (block.length() > LargeBlock) {
        int offset = 0;
        const QString text = StretchText({block, from, to}, CheckMargin, &offset);
        return Check(text, block.position() + offset);
    }
    QTextBlock editable = block;
    auto* data = static_cast<TSpellBlockData*>(editable.userData());
    if (!data || data->revision != block.revision() || data->generation != m_checker.Generation()) {
        if (!data) {
            data = new TSpellBlockData;
            editable.setUserData(data);
        }
        data->misspelled = Check(block.text(), 0);
        data->revision = block.revision();
        data->generation = m_checker.Generation();
    }
    std::vector<TSpellWord> misspelled = data->misspelled;
    for (TSpellWord& word : misspelled)
        word.start += block.position();
    return misspelled;
}

void TDescriptionSpelling::RefreshSpelling()
{
    m_refreshTimer.stop();
    std::vector<TSpellWord> words;
    if (Checking()) {
        for (const TVisibleStretch& stretch : VisibleStretches(m_memo)) {
            for (const TSpellWord& word : MisspelledIn(stretch.block, stretch.from, stretch.to))
                // The word being typed is not finished yet.
                if (word.End() != m_typedEnd || m_memo.textCursor().position() != m_typedEnd)
                    words.push_back(word);
        }
    }
    // Setting the selections repaints the editor; the same words need none.
    if (words == m_drawn)
        return;
    QList<QTextEdit::ExtraSelection> selections;
    for (const TSpellWord& word : words) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(m_memo.document());
        selection.cursor.setPosition(word.start);
        selection.cursor.setPosition(word.End(), QTextCursor::KeepAnchor);
        selection.format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
        selection.format.setUnderlineColor(MisspellingColor());
        selections << selection;
    }
    m_layers.SetLayer(TEditorLayer::Spelling, std::move(selections));
    m_drawn = std::move(words);
}

std::optional<TMisspelling> TDescriptionSpelling::MisspellingAt(int position)
{
    if (!Checking())
        return std::nullopt;
    const QTextBlock block = m_memo.document()->findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    const int inBlock = position - block.position();
    for (const TSpellWord& word : MisspelledIn(block, inBlock, inBlock)) {
        if (position >= word.start && position <= word.End()) {
            QTextCursor cursor(m_memo.document());
            cursor.setPosition(word.start);
            cursor.setPosition(word.End(), QTextCursor::KeepAnchor);
            return TMisspelling{word.start, word.End(), cursor.selectedText()};
        }
    }
    return std::nullopt;
}

QMenu* TDescriptionSpelling::CreateSpellingMenu(int position)
{
    if (m_memo.isReadOnly())
        return nullptr;
    const std::optional<TMisspelling> misspelling = MisspellingAt(position);
    if (!misspelling)
        return nullptr;
    QMenu* menu = m_memo.createStandardContextMenu();
    QAction* first = menu->actions().value(0);
    const QStringList suggestions = m_checker.Suggestions(misspelling->word, MaxSuggestions);
    for (const QString& suggestion : suggestions) {
        auto* replace = new QAction(QString(suggestion).replace(QLatin1Char('&'), QStringLiteral("&&")), menu);
        replace->setObjectName(QStringLiteral("pmiMemoSuggestion"));
        connect(replace, &QAction::triggered, this,
                Guarded([this, target = *misspelling, suggestion] { Replace(target, suggestion); }));
        menu->insertAction(first, replace);
    }
    if (suggestions.isEmpty()) {
        auto* none = new QAction(tr("(No Suggestions)"), menu);
        none->setEnabled(false);
        menu->insertAction(first, none);
    }
    menu->insertSeparator(first);
    auto* add = new QAction(tr("Add to Dictionary"), menu);
    add->setObjectName(QStringLiteral("pmiMemoAddToDictionary"));
    connect(add, &QAction::triggered, this, Guarded([this, word = misspelling->word] { AddToDictionary(word); }));
    auto* ignore = new QAction(tr("Ignore All"), menu);
    ignore->setObjectName(QStringLiteral("pmiMemoIgnoreAll"));
    connect(ignore, &QAction::triggered, this, Guarded([this, word = misspelling->word] { m_checker.IgnoreAll(word); }));
    menu->insertAction(first, add);
    menu->insertAction(first, ignore);
    menu->insertSeparator(first);
    return menu;
}

void TDescriptionSpelling::AddToDictionary(const QString& word)
{
    // The list is a plain file: a word of a protected document goes there
    // only when the user says so.
    if (m_session.Protected() &&
        Prompter().Ask(m_memo.window(), QMessageBox::Warning, QString::fromLatin1(ApplicationTitle),
                       tr("This document is protected by a password, but the personal dictionary is kept without "
                          "protection. Add \"%1\" to it anyway?")
                           .arg(word),
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_checker.AddToDictionary(word);
}

void TDescriptionSpelling::Replace(const TMisspelling& misspelling, const QString& replacement)
{
    // The text may have changed under an open menu; only the word itself is replaced.
    QTextCursor cursor(m_memo.document());
    cursor.setPosition(misspelling.start);
    cursor.setPosition(misspelling.end, QTextCursor::KeepAnchor);
    if (cursor.selectedText() != misspelling.word)
        return;
    // One edit of the editor, so one undo takes it back.
    cursor.insertText(replacement);
    m_memo.setTextCursor(cursor);
}

void TDescriptionSpelling::ShowKeyboardMenu()
{
    const QRect caret = m_memo.cursorRect();
    QMenu* menu = CreateSpellingMenu(m_memo.textCursor().position());
    if (!menu)
        menu = m_links.CreateLinkMenu(caret.center());
    if (!menu)
        menu = m_memo.createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_memo.viewport()->mapToGlobal(caret.bottomLeft()));
}

bool TDescriptionSpelling::eventFilter(QObject* watched, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = FilterEvent(watched, event); });
    return handled || QObject::eventFilter(watched, event);
}

bool TDescriptionSpelling::FilterEvent(QObject* watched, QEvent* event)
{
    QWidget* viewport = m_memo.viewport();
    if (watched != &m_memo && watched != viewport)
        return false;
    if (event->type() == QEvent::KeyPress && watched == &m_memo) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
            (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
            ShowKeyboardMenu();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::Resize && watched == viewport) {
        ScheduleRefresh();
        return false;
    }
    if (event->type() != QEvent::ContextMenu)
        return false;
    const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
    // The window system may follow the Menu key with a menu of its own at
    // the pointer; the key press above has opened it at the caret already.
    if (menuEvent->reason() == QContextMenuEvent::Keyboard)
        return true;
    if (watched != viewport)
        return false;
    QMenu* menu = CreateSpellingMenu(m_memo.cursorForPosition(menuEvent->pos()).position());
    if (!menu)
        return false;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(menuEvent->globalPos());
    return true;
}
