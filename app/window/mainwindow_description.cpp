#include "app/window/mainwindow.h"

#include "app/widgets/finddialog.h"
#include "app/widgets/fontdialog.h"
#include "app/widgets/replacedialog.h"
#include "app/widgets/textsearch.h"
#include "app/window/actionlist.h"
#include "document/textcodec.h"
#include "document/treefile.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <limits>

namespace {
const char TextFileExt[] = "txt";
const char TextFileFilter[] = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

void PrepareTextFileDialog(TFileDialog& dialog)
{
    dialog.DefaultExt = QString::fromLatin1(TextFileExt);
    dialog.Filter = QString::fromLatin1(TextFileFilter);
}

QString FromUtf16(const std::u16string& text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// The editor separates lines with "\n" whatever the stored bytes were.
QString DescriptionToEditorText(const std::string& bytes, TTextEncoding& encoding)
{
    TDecodedText decoded = DecodeText(bytes);
    encoding = decoded.encoding;
    QString text = FromUtf16(decoded.text);
    if (text.contains(QLatin1Char('\r'))) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return text;
}

// Edited descriptions store CR LF line breaks.
std::string EditorTextToDescription(QString text, TTextEncoding encoding)
{
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return EncodeText(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                                     static_cast<size_t>(text.size())),
                      encoding);
}

// Text file bytes up to the first NUL, every line break made CR LF.
std::string NormaliseLineBreaks(const std::string& bytes)
{
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 32);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\0')
            break;
        if (c == '\r') {
            result += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

// The selection with its line breaks as the editor's text has them.
QString SelectedText(const QPlainTextEdit* memo)
{
    return memo->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

// A file name offered for an item: characters no file name can hold become "_".
QString ItemFileName(const QString& name)
{
    QString result = name;
    for (QChar& c : result)
        if (c.unicode() < 0x20 || QStringLiteral("/\\<>:\"|?*").contains(c))
            c = QLatin1Char('_');
    if (result == QLatin1String(".") || result == QLatin1String(".."))
        result = QStringLiteral("_");
    return result + QStringLiteral(".txt");
}
}  // namespace

void TfrmTreeViewEditorMain::ClearDescription()
{
    CommitDescription();
    FLoadingDescription = true;
    m_memo->clear();
    FLoadingDescription = false;
    m_memo->document()->setModified(false);
    m_shownNode = nullptr;
    m_memo->setReadOnly(m_tree.FocusedItem() == nullptr);
}

// Shows exactly the item's description: nothing is added, so focusing and
// editing an item never makes its description grow.
void TfrmTreeViewEditorMain::RefreshDescription(TTreeListTextNode* node)
{
    CommitDescription();
    if (!node) {
        // With no focused item there is nowhere to store an edit.
        m_shownNode = nullptr;
        m_memo->setReadOnly(true);
        return;
    }
    TTextEncoding encoding = TTextEncoding::Utf8;
    const QString text = DescriptionToEditorText(node->GetText(TreeListColumnDesc), encoding);
    m_memo->setUpdatesEnabled(false);
    FLoadingDescription = true;
    m_memo->setPlainText(text);  // also empties the undo history
    FLoadingDescription = false;
    m_memo->setUpdatesEnabled(true);
    m_memo->document()->setModified(false);
    m_shownNode = node;
    m_shownEncoding = static_cast<int>(encoding);
    m_memo->setReadOnly(false);
}

void TfrmTreeViewEditorMain::TreeListChangeNode(TTreeListTextNode* /*oldNode*/, TTreeListTextNode* node)
{
    RefreshDescription(node);
}

void TfrmTreeViewEditorMain::Memo1Change()
{
    if (FLoadingDescription)
        return;
    TTreeListTextNode* node = m_tree.FocusedItem();
    if (!node || node != m_shownNode)
        return;
    // Copying a description of megabytes on every keystroke would make typing
    // lag, so large ones reach the item a moment later, and at the latest
    // when anything reads the tree (see CommitDescription).
    m_descriptionDirty = true;
    if (m_memo->document()->characterCount() < LazyDescriptionSize)
        CommitDescription();
    else
        m_commitTimer->start();
    MarkModified();
}

void TfrmTreeViewEditorMain::CommitDescription()
{
    if (!m_descriptionDirty)
        return;
    m_descriptionDirty = false;
    m_commitTimer->stop();
    if (m_shownNode)
        m_shownNode->SetText(TreeListColumnDesc, EditorTextToDescription(m_memo->toPlainText(),
                                                                         static_cast<TTextEncoding>(m_shownEncoding)));
}

void TfrmTreeViewEditorMain::Memo1Enter()
{
    m_memo->setReadOnly(m_tree.TopItemCount() == 0 || m_tree.FocusedItem() == nullptr);
}

int TfrmTreeViewEditorMain::MemoLineCount() const
{
    const QTextDocument* document = m_memo->document();
    int count = document->blockCount();
    if (document->lastBlock().length() <= 1)
        --count;  // an empty last line does not count
    return count;
}

void TfrmTreeViewEditorMain::actViewWordWrapExecute()
{
    // The action is checkable, so Qt has already inverted its checked state.
    const bool wrap = Action(QStringLiteral("actViewWordWrap"))->isChecked();
    FLoadingDescription = true;
    m_memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FLoadingDescription = false;
}

void TfrmTreeViewEditorMain::actViewFontExecute()
{
    m_fontDialog->SetFont(m_memo->font());
    m_fontDialog->SetColor(m_memo->palette().color(QPalette::Text));
    if (m_fontDialog->Execute(this))
        FontDialog1Apply();
    m_memo->setFocus();
}

void TfrmTreeViewEditorMain::FontDialog1Apply()
{
    m_memo->setFont(m_fontDialog->Font());
    QPalette palette = m_memo->palette();
    palette.setColor(QPalette::Text, m_fontDialog->Color());
    m_memo->setPalette(palette);
}

void TfrmTreeViewEditorMain::actFileOpenMemoExecute()
{
    PrepareTextFileDialog(m_openDialog);
    if (!Prompter().ExecuteOpen(this, m_openDialog))
        return;
    RememberFolder(m_openDialog.FileName);
    QFile file(m_openDialog.FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError("Cannot open file " + m_openDialog.FileName.toStdString());
    if (file.size() > std::numeric_limits<int32_t>::max())
        throw std::runtime_error("Text exceeds memo capacity");
    const QByteArray bytes = file.readAll();
    LoadDescriptionBytes(bytes.toStdString());
}

void TfrmTreeViewEditorMain::LoadDescriptionBytes(const std::string& bytes)
{
    TTreeListTextNode* node = m_tree.FocusedItem();
    if (!node)
        return;  // nowhere to put it
    if (node != m_shownNode)
        RefreshDescription(node);
    const std::string description = NormaliseLineBreaks(bytes);
    TTextEncoding encoding = TTextEncoding::Utf8;
    const QString text = DescriptionToEditorText(description, encoding);
    if (text != m_memo->toPlainText()) {
        // One undoable edit; the item then holds the file's bytes exactly.
        FLoadingDescription = true;
        QTextCursor cursor(m_memo->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
        FLoadingDescription = false;
        m_shownEncoding = static_cast<int>(encoding);
        node->SetText(TreeListColumnDesc, description);
        FModified = true;
    }
    // The status bar says "Modified" only while the document is.
    UpdateTitle(FModified);
}

void TfrmTreeViewEditorMain::actFileSaveMemoExecute()
{
    if (MemoLineCount() == 0 || m_tree.SelectedCount() == 0)
        return;
    PrepareTextFileDialog(m_saveDialog);
    if (TTreeListTextNode* node = m_tree.FocusedItem()) {
        TTextEncoding encoding;
        m_saveDialog.FileName = ItemFileName(DescriptionToEditorText(node->GetText(TreeListColumnName), encoding));
    }
    if (!Prompter().ExecuteSave(this, m_saveDialog))
        return;
    RememberFolder(m_saveDialog.FileName);
    const std::string bytes =
        EditorTextToDescription(m_memo->toPlainText(), static_cast<TTextEncoding>(m_shownEncoding));
    QSaveFile file(m_saveDialog.FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError("Cannot create file " + m_saveDialog.FileName.toStdString());
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw EWriteError();
}

void TfrmTreeViewEditorMain::actSearchFindExecute()
{
    if (MemoLineCount() == 0)
        return;
    if (m_memo->textCursor().hasSelection())
        m_findDialog->SetFindText(SelectedText(m_memo));
    m_findDialog->Execute();
    Action(QStringLiteral("actSearchFindNext"))->setEnabled(true);
}

void TfrmTreeViewEditorMain::actSearchFindNextExecute()
{
    if (MemoLineCount() == 0)
        return;
    FindDialog1Find();
}

void TfrmTreeViewEditorMain::FindDialog1Find()
{
    Search(m_findDialog->FindText(), m_findDialog->Options(), true);
}

bool TfrmTreeViewEditorMain::Search(const QString& findText, const TSearchOptions& options, bool reportFailure)
{
    const QTextCursor cursor = m_memo->textCursor();
    const int found = FindInText(m_memo->toPlainText(), findText, cursor.selectionStart(), cursor.selectionEnd(),
                                 options);
    if (found < 0) {
        if (reportFailure)
            Prompter().Ask(this, QMessageBox::Information, QStringLiteral("Information"),
                           QStringLiteral("Cannot find \"%1\"").arg(findText), QMessageBox::Ok);
        return false;
    }
    m_memo->setFocus();
    QTextCursor selection(m_memo->document());
    selection.setPosition(found);
    selection.setPosition(found + static_cast<int>(findText.size()), QTextCursor::KeepAnchor);
    m_memo->setTextCursor(selection);
    return true;
}

void TfrmTreeViewEditorMain::actSearchReplaceExecute()
{
    if (MemoLineCount() == 0)
        return;
    if (m_memo->textCursor().hasSelection())
        m_replaceDialog->SetFindText(SelectedText(m_memo));
    m_replaceDialog->Execute();
}

void TfrmTreeViewEditorMain::ReplaceDialog1Find()
{
    // Find Next of the window repeats what was last looked for here.
    m_findDialog->SetFindText(m_replaceDialog->FindText());
    Search(m_replaceDialog->FindText(), m_replaceDialog->Options(), true);
}

void TfrmTreeViewEditorMain::ReplaceDialog1Replace(bool all)
{
    const QString findText = m_replaceDialog->FindText();
    const QString replaceText = m_replaceDialog->ReplaceText();
    TSearchOptions options = m_replaceDialog->Options();
    if (m_memo->isReadOnly() || findText.isEmpty()) {
        Search(findText, options, true);
        return;
    }
    if (all) {
        // Every occurrence, as one edit that one Undo takes back.
        options.down = true;
        const QString text = m_memo->toPlainText();
        QTextCursor cursor(m_memo->document());
        int from = 0;
        int shift = 0;
        bool any = false;
        for (int at = FindInText(text, findText, from, from, options); at >= 0;
             at = FindInText(text, findText, from, from, options)) {
            if (!any)
                cursor.beginEditBlock();
            any = true;
            cursor.setPosition(at + shift);
            cursor.setPosition(at + shift + static_cast<int>(findText.size()), QTextCursor::KeepAnchor);
            cursor.insertText(replaceText);
            shift += static_cast<int>(replaceText.size() - findText.size());
            from = at + static_cast<int>(findText.size());
        }
        if (!any) {
            Search(findText, options, true);
            return;
        }
        cursor.endEditBlock();
        m_memo->setTextCursor(cursor);
        m_memo->setFocus();
        return;
    }
    // Replace takes the selection when it is an occurrence, then moves on.
    QTextCursor cursor = m_memo->textCursor();
    bool replaced = false;
    if (cursor.hasSelection()) {
        const int start = cursor.selectionStart();
        TSearchOptions here = options;
        here.down = true;
        if (cursor.selectionEnd() - start == findText.size() &&
            FindInText(m_memo->toPlainText(), findText, start, start, here) == start) {
            cursor.insertText(replaceText);
            m_memo->setTextCursor(cursor);
            replaced = true;
        }
    }
    if (!Search(findText, options, !replaced) && replaced)
        m_memo->setFocus();
}
