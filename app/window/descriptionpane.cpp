#include "app/window/descriptionpane.h"

#include "app/view/itemtext.h"
#include "app/widgets/finddialog.h"
#include "app/widgets/fontdialog.h"
#include "app/widgets/replacedialog.h"
#include "app/widgets/theme.h"
#include "app/window/application.h"
#include "app/window/documentsession.h"
#include "app/window/filedialogs.h"
#include "app/window/treelistevents.h"
#include "app/window/waitcursor.h"
#include "document/atomicfile.h"
#include "document/fileio.h"
#include "document/undosteps.h"
#include "exchange/fileimport.h"
#include "exchange/multiexportnames.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QScopedValueRollback>
#include <QTextDocument>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>

namespace {
const QString TextFileExt = QString::fromLatin1(TFileDialogs::TextFileExt);
const QString TextFileFilter = QString::fromLatin1(TFileDialogs::TextFileFilter);

// Descriptions this long show the wait cursor while the editor takes them.
constexpr size_t WaitCursorSize = size_t(4) << 20;

// Edited descriptions store CR LF line breaks. `text` is the editor's, as
// its document or a selection has it (paragraph and line separators); a
// no-break space stays one. `used` tells the encoding the bytes are in:
// `preferred`, unless a character does not fit in Windows-1252.
std::string EditorTextToDescription(QString text, TTextEncoding preferred, TTextEncoding* used = nullptr)
{
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    std::string bytes = ItemTextToBytes(text, preferred);
    if (used) {
        // Windows-1252 gives a byte per character; the UTF-8 it falls back to
        // takes more for the character that did not fit.
        *used = preferred == TTextEncoding::Windows1252 && bytes.size() == static_cast<size_t>(text.size())
                    ? TTextEncoding::Windows1252
                    : TTextEncoding::Utf8;
    }
    return bytes;
}

// "Typing in" and the item's name as the tree shows it, cut to a length a
// menu entry can take.
std::string TypingStepNameOf(const TTreeListTextNode* item)
{
    constexpr int MaxNameLength = 40;
    QString name = ItemBytesToText(item->GetText(TreeListColumnName)).text;
    if (name.size() > MaxNameLength)
        name = name.left(MaxNameLength - 3) + QStringLiteral("...");
    return QCoreApplication::translate("TUndoStep", "Typing in %1").arg(name).toStdString();
}

// The selection with its line breaks as the editor's text has them.
QString SelectedText(const QPlainTextEdit& memo)
{
    return memo.textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}
}  // namespace

TDescriptionPane::TDescriptionPane(TTreeList& tree, TTreeListEvents& treeEvents, QPlainTextEdit& memo,
                                   TDocumentSession& session, TFileDialogs& fileDialogs, TFindDialog& findDialog,
                                   TReplaceDialog& replaceDialog, TFontDialog& fontDialog)
    : m_tree(tree), m_memo(memo), m_session(session), m_fileDialogs(fileDialogs), m_findDialog(findDialog),
      m_replaceDialog(replaceDialog), m_fontDialog(fontDialog)
{
    // Before textChanged, which may store the text at once.
    ConnectGuarded(m_memo.document(), &QTextDocument::contentsChange, this, &TDescriptionPane::ContentsChange);
    ConnectGuarded(&m_memo, &QPlainTextEdit::textChanged, this, &TDescriptionPane::Memo1Change);
    m_memo.installEventFilter(this);

    ConnectGuarded(&m_findDialog, &TFindDialog::FindNext, this, &TDescriptionPane::FindDialog1Find);
    ConnectGuarded(&m_replaceDialog, &TReplaceDialog::FindNext, this, &TDescriptionPane::ReplaceDialog1Find);
    connect(&m_replaceDialog, &TReplaceDialog::Replace, this, Guarded([this] { ReplaceDialog1Replace(false); }));
    connect(&m_replaceDialog, &TReplaceDialog::ReplaceAll, this, Guarded([this] { ReplaceDialog1Replace(true); }));
    ConnectGuarded(&m_fontDialog, &TFontDialog::Applied, this, &TDescriptionPane::FontDialog1Apply);

    ConnectGuarded(&treeEvents, &TTreeListEvents::ChangeNode, this, &TDescriptionPane::TreeListChangeNode);
    // Whatever reads the tree (saving, exporting) first gets the editor's text.
    treeEvents.SetPendingText(*this);
    m_tree.AddObserver(this);
    connect(&m_session, &TDocumentSession::Closed, this, Guarded([this] { ClearDescription(); }));
    connect(&m_session, &TDocumentSession::Opened, this,
            Guarded([this](TTreeListTextNode* item) { RefreshDescription(item); }));
    m_session.SetTyping(*this);
}

TDescriptionPane::~TDescriptionPane()
{
    m_tree.RemoveObserver(this);
}

bool TDescriptionPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_memo && event->type() == QEvent::FocusIn)
        Memo1Enter();
    // Tab is typed into the text, so without another key the keyboard could
    // never leave the editor: Ctrl+Tab and Ctrl+Shift+Tab move on as Tab
    // and Shift+Tab do elsewhere.
    if (watched == &m_memo && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            key->modifiers().testFlag(Qt::ControlModifier)) {
            LeaveEditor(key->key() == Qt::Key_Backtab || key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TDescriptionPane::LeaveEditor(bool backward)
{
    for (QWidget* next = backward ? m_memo.previousInFocusChain() : m_memo.nextInFocusChain(); next != &m_memo;
         next = backward ? next->previousInFocusChain() : next->nextInFocusChain()) {
        if (next->window() == m_memo.window() && next->isVisible() && next->isEnabled() && !next->focusProxy() &&
            (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            next->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return;
        }
    }
}

void TDescriptionPane::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    if (!m_shownNode)
        return;
    for (int row = first; row <= last; ++row) {
        TTreeListTextNode* item = parent ? parent->Child(row) : m_tree.TopItem(row);
        if (item && m_shownNode->IsInside(item)) {
            m_shownNode = nullptr;
            m_descriptionDirty = false;
        }
        // Commands end the typing before they change the tree; whatever is
        // left belongs to items that leave it.
        if (item && m_typingItem && m_typingItem->IsInside(item))
            m_typingItem = nullptr;
    }
}

void TDescriptionPane::AboutToReset()
{
    m_shownNode = nullptr;
    m_descriptionDirty = false;
    m_typingItem = nullptr;
}

void TDescriptionPane::ItemChanged(TTreeListTextNode* item)
{
    // Bytes the editor did not put there: what it holds no longer maps onto
    // them, and showing the item again is no longer a repeat.
    if (item && item == m_shownNode && !m_storing) {
        m_spliceable = false;
        m_shownChanged = true;
        DescribeForReaders(item);  // it may have a new name
    }
}

void TDescriptionPane::DescribeForReaders(const TTreeListTextNode* node)
{
    if (!node) {
        m_memo.setAccessibleDescription(tr("No item is focused"));
        return;
    }
    const QString name = ItemBytesToText(node->GetText(TreeListColumnName)).text;
    m_memo.setAccessibleDescription(tr("The description of the item %1").arg(name));
}

void TDescriptionPane::FocusChanged(TTreeListTextNode* item)
{
    if (!item || item != m_shownNode)
        RefreshDescription(item);
}

void TDescriptionPane::ClearDescription()
{
    EndTypingStep();
    FLoadingDescription = true;
    m_memo.clear();
    FLoadingDescription = false;
    m_memo.document()->setModified(false);
    m_shownNode = nullptr;
    m_memo.setReadOnly(m_tree.FocusedItem() == nullptr);
}

// Shows exactly the item's description: nothing is added, so focusing and
// editing an item never makes its description grow.
void TDescriptionPane::RefreshDescription(TTreeListTextNode* node)
{
    EndTypingStep();
    DescribeForReaders(node);
    if (!node) {
        // With no focused item there is nowhere to store an edit.
        m_shownNode = nullptr;
        m_memo.setReadOnly(true);
        return;
    }
    const std::string_view bytes = node->GetText(TreeListColumnDesc);
    std::optional<TWaitCursor> wait;
    if (bytes.size() >= WaitCursorSize)
        wait.emplace();
    const TItemText description = ItemBytesToEditorText(bytes);
    m_memo.setUpdatesEnabled(false);
    FLoadingDescription = true;
    m_memo.setPlainText(description.text);  // also empties the undo history
    FLoadingDescription = false;
    m_memo.setUpdatesEnabled(true);
    m_memo.document()->setModified(false);
    m_shownNode = node;
    m_shownEncoding = description.encoding;
    m_byteEncoding = description.encoding;
    InSync();
    m_memo.setReadOnly(false);
}

void TDescriptionPane::RefreshIfChanged()
{
    TTreeListTextNode* node = m_tree.FocusedItem();
    if (node != m_shownNode || m_shownChanged)
        RefreshDescription(node);
}

void TDescriptionPane::FinishEdit()
{
    EndTypingStep();
}

void TDescriptionPane::EndTypingStep(const std::string& name)
{
    if (!m_typingItem)
        return;
    CommitDescription();
    TTreeListTextNode* item = m_typingItem;
    m_typingItem = nullptr;
    if (item->GetText(TreeListColumnDesc) != m_typingBefore || item->TextCount() != m_typingCountBefore) {
        auto step = std::make_unique<TTextStep>(name.empty() ? TypingStepNameOf(item) : name, item, TreeListColumnDesc,
                                                std::move(m_typingBefore), m_typingCountBefore);
        step->FocusBefore = step->FocusAfter = item;
        m_session.Record(std::move(step));
    } else {
        // Typed and taken back in the editor: the history decides again.
        m_session.Record(nullptr);
    }
    m_typingBefore.clear();
}

std::string TDescriptionPane::TypingStepName() const
{
    return m_typingItem ? TypingStepNameOf(m_typingItem) : std::string();
}

void TDescriptionPane::InSync()
{
    m_descriptionDirty = false;
    m_shownChanged = false;
    m_shownLength = m_memo.document()->characterCount() - 1;
    m_editStart = m_shownLength;
    m_editTail = m_shownLength;
    m_spliceable = m_shownNode && HasOnlyCrLfBreaks(m_shownNode->GetText(TreeListColumnDesc));
}

void TDescriptionPane::ContentsChange(int position, int removed, int added)
{
    (void)removed;
    const int length = m_memo.document()->characterCount() - 1;
    m_editStart = std::min(m_editStart, position);
    m_editTail = std::min(m_editTail, std::max(0, length - position - added));
}

void TDescriptionPane::TreeListChangeNode(TTreeListTextNode* /*oldNode*/, TTreeListTextNode* node)
{
    // The pane has followed the focus already (FocusChanged, which the tree
    // sends first); showing a large description again would cost as much again.
    if (!node || node != m_shownNode || m_shownChanged)
        RefreshDescription(node);
}

void TDescriptionPane::Memo1Change()
{
    if (FLoadingDescription)
        return;
    TTreeListTextNode* node = m_tree.FocusedItem();
    if (!node || node != m_shownNode)
        return;
    // Copying a description of megabytes on every keystroke, or whenever the
    // typist pauses, would make typing lag, so large ones reach the item only
    // when the focus leaves it or anything reads the tree (CommitEdits).
    if (!m_typingItem) {
        // The item still holds its text from before this edit.
        m_typingItem = node;
        m_typingBefore = std::string(node->GetText(TreeListColumnDesc));
        m_typingCountBefore = node->TextCount();
    }
    m_descriptionDirty = true;
    if (m_memo.document()->characterCount() < LazyDescriptionSize)
        CommitDescription();
    m_session.MarkEdited();
}

void TDescriptionPane::CommitDescription()
{
    if (!m_descriptionDirty)
        return;
    m_descriptionDirty = false;
    if (!m_shownNode)
        return;
    {
        const QScopedValueRollback storing(m_storing, true);
        if (!SpliceDescription())
            m_shownNode->SetText(TreeListColumnDesc,
                                 EditorTextToDescription(m_memo.document()->toRawText(), m_shownEncoding, &m_byteEncoding));
    }
    InSync();
}

bool TDescriptionPane::SpliceDescription()
{
    // Bytes that fell back to UTF-8 go back to Windows-1252 once the text fits
    // again; only the whole text can tell.
    if (!m_spliceable || m_byteEncoding != m_shownEncoding)
        return false;
    QTextDocument& document = *m_memo.document();
    const int length = document.characterCount() - 1;
    if (m_editStart + m_editTail > std::min(length, m_shownLength))
        return false;
    const std::string_view old = m_shownNode->GetText(TreeListColumnDesc);
    const size_t head = EditorPositionToOffset(old, m_byteEncoding, static_cast<size_t>(m_editStart));
    const size_t tail = EditorPositionToOffset(old, m_byteEncoding, static_cast<size_t>(m_shownLength - m_editTail));
    if (head == std::string_view::npos || tail == std::string_view::npos || head > tail)
        return false;
    QTextCursor cursor(&document);
    cursor.setPosition(m_editStart);
    cursor.setPosition(length - m_editTail, QTextCursor::KeepAnchor);
    TTextEncoding used = m_byteEncoding;
    const std::string middle = EditorTextToDescription(cursor.selectedText(), m_shownEncoding, &used);
    if (used != m_byteEncoding || !HasOnlyCrLfBreaks(middle))
        return false;  // the whole text then goes another way
    std::string bytes;
    bytes.reserve(head + middle.size() + (old.size() - tail));
    bytes.append(old.substr(0, head));
    bytes += middle;
    bytes.append(old.substr(tail));
    m_shownNode->SetText(TreeListColumnDesc, bytes);
    return true;
}

void TDescriptionPane::Memo1Enter()
{
    m_memo.setReadOnly(m_tree.TopItemCount() == 0 || m_tree.FocusedItem() == nullptr);
}

int TDescriptionPane::MemoLineCount() const
{
    const QTextDocument* document = m_memo.document();
    int count = document->blockCount();
    if (document->lastBlock().length() <= 1)
        --count;  // an empty last line does not count
    return count;
}

void TDescriptionPane::actViewWordWrapExecute(const QAction* sender)
{
    // The action is checkable, so Qt has already inverted its checked state.
    const bool wrap = sender->isChecked();
    FLoadingDescription = true;
    m_memo.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_memo.setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    m_memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FLoadingDescription = false;
}

void TDescriptionPane::actViewFontExecute()
{
    m_fontDialog.SetFont(m_memo.font());
    m_fontDialog.SetColor(m_memo.palette().color(QPalette::Text));
    if (m_fontDialog.Execute(m_memo.window()))
        FontDialog1Apply();
    m_memo.setFocus();
}

void TDescriptionPane::FontDialog1Apply()
{
    m_memo.setFont(m_fontDialog.Font());
    SetOwnTextColor(m_memo, m_fontDialog.Color());
}

void TDescriptionPane::actFileOpenMemoExecute()
{
    const QString path = m_fileDialogs.ExecuteOpen(TextFileExt, TextFileFilter);
    if (path.isEmpty())
        return;
    LoadDescriptionFile(QFile::encodeName(path).toStdString());
}

void TDescriptionPane::LoadDescriptionFile(const std::string& path)
{
    if (!m_tree.FocusedItem())
        return;  // nowhere to put it
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > static_cast<uintmax_t>(std::numeric_limits<int32_t>::max()))
        throw std::runtime_error(tr("Text exceeds memo capacity").toStdString());
    std::string bytes;
    try {
        bytes = ReadTextFile(path);
    } catch (const EFOpenError& failure) {
        // The path's bytes as the editor would show them, not as raw bytes.
        throw EFOpenError(ItemBytesToText(failure.what()).text.toStdString());
    }
    LoadDescriptionBytes(bytes);
}

void TDescriptionPane::LoadDescriptionBytes(const std::string& bytes)
{
    TTreeListTextNode* node = m_tree.FocusedItem();
    if (!node)
        return;  // nowhere to put it
    if (node != m_shownNode)
        RefreshDescription(node);
    m_session.BeginChange();
    const std::string description = NormaliseLineBreaks(bytes);
    const TItemText loaded = ItemBytesToEditorText(description);
    // Text equal to the editor's leaves the document, and its "Modified"
    // panel, as they were.
    if (loaded.text == m_memo.toPlainText())
        return;
    // One undoable edit; the item then holds the file's bytes exactly.
    FLoadingDescription = true;
    QTextCursor cursor(m_memo.document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(loaded.text);
    FLoadingDescription = false;
    m_shownEncoding = loaded.encoding;
    m_byteEncoding = loaded.encoding;
    std::string before(node->GetText(TreeListColumnDesc));
    const int countBefore = node->TextCount();
    {
        const QScopedValueRollback storing(m_storing, true);
        node->SetText(TreeListColumnDesc, description);
    }
    InSync();
    auto step =
        std::make_unique<TTextStep>(QT_TRANSLATE_NOOP("TUndoStep", "Load Description"), node, TreeListColumnDesc, std::move(before), countBefore);
    step->FocusBefore = step->FocusAfter = node;
    m_session.Record(std::move(step));
}

void TDescriptionPane::actFileSaveMemoExecute()
{
    if (MemoLineCount() == 0 || m_tree.SelectedCount() == 0)
        return;
    // The item's name as a file name, cleaned as the one-file-per-item export
    // cleans it.
    QString preset;
    if (TTreeListTextNode* node = m_tree.FocusedItem())
        preset = ItemBytesToText(TMultiExportNames::Sanitize(node->GetText(TreeListColumnName))).text +
                 QStringLiteral(".txt");
    const QString path = m_fileDialogs.ExecuteSave(TextFileExt, TextFileFilter, preset);
    if (path.isEmpty())
        return;
    // Through the same atomic replacement as every save: a failed write
    // leaves the previous file as it was.
    TAtomicFile file(path.toStdString());
    file.Writer().Write(EditorTextToDescription(m_memo.toPlainText(), m_shownEncoding));
    file.Commit();
}

// Find... and Replace...: a selection becomes the text to look for.
void TDescriptionPane::ShowSearchDialog(TSearchDialog& dialog)
{
    if (MemoLineCount() == 0)
        return;
    if (m_memo.textCursor().hasSelection())
        dialog.SetFindText(SelectedText(m_memo));
    dialog.Execute();
}

void TDescriptionPane::actSearchFindExecute()
{
    ShowSearchDialog(m_findDialog);
}

void TDescriptionPane::actSearchFindNextExecute()
{
    if (MemoLineCount() == 0)
        return;
    FindDialog1Find();
}

void TDescriptionPane::FindDialog1Find()
{
    Search(m_findDialog.FindText(), m_findDialog.Options(), true);
}

bool TDescriptionPane::Search(const QString& findText, const TSearchOptions& options, bool reportFailure)
{
    const QTextCursor cursor = m_memo.textCursor();
    const int found =
        FindInText(m_memo.toPlainText(), findText, cursor.selectionStart(), cursor.selectionEnd(), options);
    if (found < 0) {
        if (reportFailure)
            Prompter().Ask(m_memo.window(), QMessageBox::Information, tr("Information"),
                           tr("Cannot find \"%1\"").arg(findText), QMessageBox::Ok);
        return false;
    }
    m_memo.setFocus();
    QTextCursor selection(m_memo.document());
    selection.setPosition(found);
    selection.setPosition(found + static_cast<int>(findText.size()), QTextCursor::KeepAnchor);
    m_memo.setTextCursor(selection);
    return true;
}

void TDescriptionPane::actSearchReplaceExecute()
{
    ShowSearchDialog(m_replaceDialog);
}

void TDescriptionPane::ReplaceDialog1Find()
{
    // Find Next of the window repeats what was last looked for here.
    m_findDialog.SetFindText(m_replaceDialog.FindText());
    Search(m_replaceDialog.FindText(), m_replaceDialog.Options(), true);
}

void TDescriptionPane::ReplaceDialog1Replace(bool all)
{
    const QString findText = m_replaceDialog.FindText();
    const QString replaceText = m_replaceDialog.ReplaceText();
    const TSearchOptions options = m_replaceDialog.Options();
    if (m_memo.isReadOnly() || findText.isEmpty()) {
        Search(findText, options, true);
        return;
    }
    if (all) {
        // All its replacements are one step, apart from the typing before it.
        EndTypingStep();
        const QTextCursor last = ReplaceAllInDocument(*m_memo.document(), findText, replaceText, options);
        EndTypingStep(QT_TRANSLATE_NOOP("TUndoStep", "Replace All"));
        if (last.isNull()) {
            Search(findText, options, true);
            return;
        }
        m_memo.setTextCursor(last);
        m_memo.setFocus();
        return;
    }
    // Replace takes the selection when it is an occurrence, then moves on.
    QTextCursor cursor = m_memo.textCursor();
    bool replaced = false;
    if (cursor.hasSelection()) {
        const int start = cursor.selectionStart();
        TSearchOptions here = options;
        here.down = true;
        if (cursor.selectionEnd() - start == findText.size() &&
            FindInText(m_memo.toPlainText(), findText, start, start, here) == start) {
            cursor.insertText(replaceText);
            m_memo.setTextCursor(cursor);
            replaced = true;
        }
    }
    if (!Search(findText, options, !replaced) && replaced)
        m_memo.setFocus();
}
