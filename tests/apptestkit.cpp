#include "tests/apptestkit.h"

#include "app/view/treelistmodel.h"
#include "app/widgets/imagelists.h"
#include "app/window/application.h"
#include "app/window/commandtable.h"

#include <QAction>
#include <QLineEdit>

namespace {
// The next scripted answer; without one the question was not expected.
template <typename T>
T Take(std::deque<T>& queue, const QString& what, T none = T())
{
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected " << what.toStdString();
        return none;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
}
}  // namespace

bool TScriptedPrompter::ExecuteOpen(QWidget*, TFileDialog& dialog)
{
    dialogs << QStringLiteral("open:%1").arg(dialog.DefaultExt());
    const QString file = Take(files, QStringLiteral("open dialog"));
    if (file.isEmpty())
        return false;
    dialog.SetFileName(file);
    return true;
}

bool TScriptedPrompter::ExecuteSave(QWidget*, TFileDialog& dialog)
{
    dialogs << QStringLiteral("save:%1:%2").arg(dialog.DefaultExt(), dialog.FileName());
    const QString file = Take(files, QStringLiteral("save dialog"));
    if (file.isEmpty())
        return false;
    dialog.SetFileName(file);
    return true;
}

QString TScriptedPrompter::ChooseFolder(QWidget*, const QString&, const QString& start)
{
    lastFolderStart = start;
    return Take(folders, QStringLiteral("folder dialog"));
}

QMessageBox::StandardButton TScriptedPrompter::Ask(QWidget*, QMessageBox::Icon, const QString& caption,
                                                   const QString& text, QMessageBox::StandardButtons)
{
    questions << caption + QLatin1Char('|') + text;
    return Take(answers, QStringLiteral("question ") + text, QMessageBox::Cancel);
}

std::optional<QString> TScriptedPrompter::AskPassword(QWidget*, const QString& caption, const QString& label)
{
    passwordQuestions << caption + QLatin1Char('|') + label;
    return Take(passwords, QStringLiteral("password question ") + label, std::optional<QString>());
}

void PromptedTest::SetUp()
{
    InitResources();
    auto prompter = std::make_unique<TScriptedPrompter>();
    m_prompter = prompter.get();
    m_previous = SetPrompter(std::move(prompter));
    m_lastResortAtStart = TApplication::LastResortCount();
    ASSERT_TRUE(m_dir.isValid());
}

void PromptedTest::TearDown()
{
    EXPECT_TRUE(m_prompter->files.empty()) << "unused dialog answers";
    EXPECT_TRUE(m_prompter->answers.empty()) << "unused message box answers";
    // Whatever the test drove failed, if at all, inside the guard.
    EXPECT_EQ(TApplication::LastResortCount(), m_lastResortAtStart) << "an error escaped into Qt's event loop";
    SetPrompter(std::move(m_previous));
}

std::string PromptedTest::ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

void PromptedTest::WriteBytes(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

TEditorParts::TEditorParts(const QStringList& arguments)
    : fileDialogs(&window),
      session(tree, fileDialogs, window, modifiedPanel, arguments),
      pane(tree, treeEvents, memo, session, fileDialogs, findDialog, replaceDialog, fontDialog),
      treeView(tree),
      items(tree, treeEvents, treeView, iconComboBox, session, pane),
      exports(tree, treeView, fileDialogs, memo, session)
{
    treeView.Model()->SetIconProvider([](int index) { return ImageListTV().Icon(index); });
}

void PartsTest::Start(const QStringList& arguments)
{
    m_parts = std::make_unique<TEditorParts>(arguments);
    m_parts->iconComboBox.setEditText(QStringLiteral("0"));
    m_parts->session.CloseDocument();
    m_parts->session.FormShow();
}

std::unique_ptr<TfrmTreeViewEditorMain> WindowTest::MakeWindow(const QStringList& arguments)
{
    auto window = std::make_unique<TfrmTreeViewEditorMain>(arguments);
    window->show();
    QApplication::processEvents();
    WaitForLoad(*window);
    return window;
}

void WindowTest::WaitForLoad(TfrmTreeViewEditorMain& window)
{
    while (window.Session().Loading())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

QAction* WindowTest::Action(const TfrmTreeViewEditorMain& window, TActionId id)
{
    return window.Commands().Action(id);
}

void WindowTest::StartTypingName(TfrmTreeViewEditorMain& window, const QString& name)
{
    window.TreeList().StartRename();
    TTreeListView* view = window.TreeListView();
    auto* editor = qobject_cast<QLineEdit*>(view->NameEditor());
    ASSERT_NE(editor, nullptr);
    editor->setText(name);
}

void WindowTest::Run(TfrmTreeViewEditorMain& window, TActionId id)
{
    window.Commands().UpdateActions();
    Action(window, id)->trigger();
}

void WindowTest::RunEnabled(TfrmTreeViewEditorMain& window, const std::vector<TActionId>& ids)
{
    for (TActionId id : ids) {
        if (id == TActionId::actEditItemDelete)
            m_prompter->answers = {QMessageBox::Ok};
        window.Commands().UpdateActions();
        if (Action(window, id)->isEnabled())
            Run(window, id);
    }
}

std::string WorkedExampleBytes()
{
    QFile file(QString::fromUtf8(VEK_TEST_DATA "/worked-example.trd"));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << VEK_TEST_DATA "/worked-example.trd";
        return std::string();
    }
    return file.readAll().toStdString();
}
