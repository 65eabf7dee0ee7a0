#include "app/window/descriptionpane.h"

#include "app/view/itemtext.h"
#include "app/widgets/finddialog.h"
#include "app/widgets/fontdialog.h"
#include "app/widgets/replacedialog.h"
#include "app/window/application.h"
#include "app/window/documentsession.h"
#include "app/window/filedialogs.h"
#include "document/atomicfile.h"
#include "document/fileio.h"
#include "document/undosteps.h"
#include "exchange/fileimport.h"
#include "exchange/multiexportnames.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {
const QString TextFileExt = QString::fromLatin1(TFileDialogs::TextFileExt);
const QString TextFileFilter = QString::fromLatin1(TFileDialogs::TextFileFilter);

// Edited descriptions store CR LF line breaks.
std::string EditorTextToDescription(QString text, TTextEncoding encoding)
{
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ItemTextToBytes(text, encoding);
}

// "Typing in" and the item's name as the tree shows it, cut to a length a
// menu entry can take.
std::string TypingStepNameOf(const TTreeListTextNode* item)
{
    constexpr int MaxNameLength = 40;
    QString name = ItemBytesToText(item->GetText(TreeListColumnName)).text;
    if (name.size() > MaxNameLength)
        name = name.left(MaxNameLength - 3) + QStringLiteral("...");
    return "Typing in " + name.toStdString();
}

// The selection with its line breaks as the editor's text has them.
QString SelectedText(const QPlainTextEdit& memo)
{
    return memo.textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}
}  // namespace

TDescriptionPane::TDescriptionPane(TTreeList& tree, QPlainTextEdit& memo, TDocumentSession& session,
                                   TFileDialogs& fileDialogs, TFindDialog& findDialog, TReplaceDialog& replaceDialog,
                                   TFontDialog& fontDialog)
    : m_tree(tree), m_memo(memo), m_session(session), m_fileDialogs(fileDialogs), m_findDialog(findDialog),
      m_replaceDialog(replaceDialog), m_fontDialog(fontDialog), m_commitTimer(new QTimer(this))
{
    m_commitTimer->setSingleShot(true);
    m_commitTimer->setInterval(400);
    connect(m_commitTimer, &QTimer::timeout, this, Guarded([this] { CommitDescription(); }));
    connect(&m_memo, &QPlainTextEdit::textChanged, this, [this] { Protected([this] { Memo1Change(); }); });
    m_memo.installEventFilter(this);

    connect(&m_findDialog, &TFindDialog::FindNext, this, [this] { Protected([this] { FindDialog1Find(); }); });
    connect(&m_replaceDialog, &TReplaceDialog::FindNext, this,
            [this] { Protected([this] { ReplaceDialog1Find(); }); });
    connect(&m_replaceDialog, &TReplaceDialog::Replace, this,
            [this] { Protected([this] { ReplaceDialog1Replace(false); }); });
    connect(&m_replaceDialog, &TReplaceDialog::ReplaceAll, this,
            [this] { Protected([this] { ReplaceDialog1Replace(true); }); });
    m_fontDialog.OnApply = Guarded([this] { FontDialog1Apply(); });

    m_tree.OnChangeNode = [this](TTreeList&, TTreeListTextNode* oldNode, TTreeListTextNode* node) {
        TreeListChangeNode(oldNode, node);
    };
    // Whatever reads the tree (saving, exporting) first gets the editor's text.
    m_tree.OnCommitEdits = [this](const TTreeList&) { CommitDescription(); };
    m_tree.AddObserver(this);
    m_session.OnClearDescription = [this] { ClearDescription(); };
    m_session.OnShowDescription = [this](TTreeListTextNode* item) { RefreshDescription(item); };
    m_session.OnBeginChange = [this] { EndTypingStep(); };
}

TDescriptionPane::~TDescriptionPane()
{
    m_tree.RemoveObserver(this);
    m_tree.OnChangeNode = nullptr;
    m_tree.OnCommitEdits = nullptr;
    m_session.OnClearDescription = nullptr;
    m_session.OnShowDescription = nullptr;
    m_session.OnBeginChange = nullptr;
    m_fontDialog.OnApply = nullptr;
    m_memo.removeEventFilter(this);
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
    if (!node) {
        // With no focused item there is nowhere to store an edit.
        m_shownNode = nullptr;
        m_memo.setReadOnly(true);
        return;
    }
    const TItemText description = ItemBytesToEditorText(node->GetText(TreeListColumnDesc));
    m_memo.setUpdatesEnabled(false);
    FLoadingDescription = true;
    m_memo.setPlainText(description.text);  // also empties the undo history
    FLoadingDescription = false;
    m_memo.setUpdatesEnabled(true);
    m_memo.document()->setModified(false);
    m_shownNode = node;
    m_shownEncoding = description.encoding;
    NoteShownText();
    m_memo.setReadOnly(false);
}

void TDescriptionPane::NoteShownText()
{
    m_shownText = m_shownNode ? m_shownNode->GetText(TreeListColumnDesc) : std::string_view();
}

void TDescriptionPane::RefreshIfChanged()
{
    TTreeListTextNode* node = m_tree.FocusedItem();
    // Every change of a string gives it new bytes, so a string at another
    // place is another text (or the same one moved by a save).
    const std::string_view text = node ? node->GetText(TreeListColumnDesc) : std::string_view();
    if (node != m_shownNode || text.data() != m_shownText.data() || text.size() != m_shownText.size())
        RefreshDescription(node);
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

void TDescriptionPane::TreeListChangeNode(TTreeListTextNode* /*oldNode*/, TTreeListTextNode* node)
{
    RefreshDescription(node);
}

void TDescriptionPane::Memo1Change()
{
    if (FLoadingDescription)
        return;
    TTreeListTextNode* node = m_tree.FocusedItem();
    if (!node || node != m_shownNode)
        return;
    // Copying a description of megabytes on every keystroke would make typing
    // lag, so large ones reach the item a moment later, and at the latest
    // when anything reads the tree (see CommitDescription).
    if (!m_typingItem) {
        // The item still holds its text from before this edit.
        m_typingItem = node;
        m_typingBefore = std::string(node->GetText(TreeListColumnDesc));
        m_typingCountBefore = node->TextCount();
    }
    m_descriptionDirty = true;
    if (m_memo.document()->characterCount() < LazyDescriptionSize)
        CommitDescription();
    else
        m_commitTimer->start();
    m_session.MarkEdited();
}

void TDescriptionPane::CommitDescription()
{
    if (!m_descriptionDirty)
        return;
    m_descriptionDirty = false;
    m_commitTimer->stop();
    if (m_shownNode) {
        m_shownNode->SetText(TreeListColumnDesc, EditorTextToDescription(m_memo.toPlainText(), m_shownEncoding));
        NoteShownText();
    }
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
    QPalette palette = m_memo.palette();
    palette.setColor(QPalette::Text, m_fontDialog.Color());
    m_memo.setPalette(palette);
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
        throw std::runtime_error("Text exceeds memo capacity");
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
    std::string before(node->GetText(TreeListColumnDesc));
    const int countBefore = node->TextCount();
    node->SetText(TreeListColumnDesc, description);
    NoteShownText();
    auto step =
        std::make_unique<TTextStep>("Load Description", node, TreeListColumnDesc, std::move(before), countBefore);
    step->FocusBefore = step->FocusAfter = node;
    m_session.Record(std::move(step));
}

void TDescriptionPane::actFileSaveMemoExecute()
{
    if (MemoLineCount() == 0 || m_tree.SelectedCount() == 0)
        return;
    // A description of a protected document leaves its protection here.
    if (!m_session.ConfirmClearExport())
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
            Prompter().Ask(m_memo.window(), QMessageBox::Information, QStringLiteral("Information"),
                           QStringLiteral("Cannot find \"%1\"").arg(findText), QMessageBox::Ok);
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
        EndTypingStep("Replace All");
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
