#include "app/window/prompter.h"

#include "app/window/application.h"
#include "document/secretbytes.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>

QString TFileDialog::QtFilter() const
{
    // The filter's English text is the key of its translation, whole.
    const QStringList parts =
        QCoreApplication::translate("TFileDialog", m_filter.toUtf8().constData()).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "All Files (*.*)" would hide files without a dot on this platform.
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        QString description = parts[i];
        const int paren = description.indexOf(QLatin1String(" ("));
        if (paren >= 0)
            description.truncate(paren);
        filters << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    return filters.join(QStringLiteral(";;"));
}

QString TFileDialog::StartPath() const
{
    const QString folder = !m_lastDir.isEmpty() && QFileInfo(m_lastDir).isDir() ? m_lastDir : m_initialDir;
    if (!folder.isEmpty())
        return m_fileName.isEmpty() ? folder : folder + QLatin1Char('/') + QFileInfo(m_fileName).fileName();
    return m_fileName;
}

namespace {
bool RunFileDialog(QWidget* parent, TFileDialog& dialog, QFileDialog::AcceptMode mode)
{
    QFileDialog box(parent, QString(), dialog.StartPath(), dialog.QtFilter());
    box.setAcceptMode(mode);
    // Open accepts any name too; a file that does not exist is reported when
    // it is opened. Save asks before an existing file is replaced.
    box.setFileMode(QFileDialog::AnyFile);
    box.setDefaultSuffix(dialog.DefaultExt());
    if (!dialog.FileName().isEmpty())
        box.selectFile(dialog.StartPath());
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    dialog.SetFileName(box.selectedFiles().constFirst());
    return true;
}
}  // namespace

bool TDialogPrompter::ExecuteOpen(QWidget* parent, TFileDialog& dialog)
{
    return RunFileDialog(parent, dialog, QFileDialog::AcceptOpen);
}

bool TDialogPrompter::ExecuteSave(QWidget* parent, TFileDialog& dialog)
{
    return RunFileDialog(parent, dialog, QFileDialog::AcceptSave);
}

QString TDialogPrompter::ChooseFolder(QWidget* parent, const QString& caption, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

namespace {
// Keeps Esc and the close button of the title bar from answering a question.
class TAnswerRequired : public QObject {
protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        const bool escape =
            event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel);
        if (!escape && event->type() != QEvent::Close)
            return false;
        // Accepted, so the key goes no further; ignored, so the box stays.
        event->setAccepted(escape);
        return true;
    }
};
}  // namespace

QMessageBox::StandardButton TDialogPrompter::Ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                                 const QString& text, QMessageBox::StandardButtons buttons)
{
    // Without a Cancel button Qt lets Esc and closing the box answer No.
    // "Recover the unsaved changes?" answered No deletes them for good, so a
    // key pressed to put the question off must not answer it.
    TAnswerRequired answerRequired;
    QMessageBox box(icon, caption, text, buttons, parent);
    if (buttons.testFlag(QMessageBox::No) && !buttons.testFlag(QMessageBox::Cancel))
        box.installEventFilter(&answerRequired);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void TDialogPrompter::ShowError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(ApplicationTitle), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

std::optional<QString> TDialogPrompter::AskPassword(QWidget* parent, const QString& caption, const QString& label)
{
    QInputDialog box(parent);
    box.setWindowTitle(caption);
    box.setLabelText(label);
    box.setTextEchoMode(QLineEdit::Password);
    // Typed text must not reach the input method's history or prediction.
    box.setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    const bool accepted = box.exec() == QDialog::Accepted;
    // The line edit and the dialog share one buffer for the text; no QString
    // wipes the memory it frees. The password leaves as a copy of its own,
    // which its user wipes, and the shared buffer is overwritten before they
    // let go of it; a text from static data has no buffer of its own.
    const QString typed = box.textValue();
    std::optional<QString> password;
    if (accepted)
        password.emplace(typed.constData(), typed.size());
    if (typed.data_ptr().isMutable())
        TSecretBytes::Wipe(const_cast<QChar*>(typed.constData()), static_cast<size_t>(typed.size()) * sizeof(QChar));
    box.setTextValue(QString());
    return password;
}

namespace {
std::unique_ptr<TPrompter>& CurrentPrompter()
{
    static std::unique_ptr<TPrompter> prompter = std::make_unique<TDialogPrompter>();
    return prompter;
}
}  // namespace

TPrompter& Prompter()
{
    return *CurrentPrompter();
}

std::unique_ptr<TPrompter> SetPrompter(std::unique_ptr<TPrompter> prompter)
{
    std::unique_ptr<TPrompter> previous = std::move(CurrentPrompter());
    CurrentPrompter() = std::move(prompter);
    return previous;
}
