#include "apptestkit.h"

#include "app/widgets/imagelists.h"

#include <QAction>
#include <QFileInfo>

namespace {
QString Take(std::deque<QString>& queue, const char* what)
{
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected " << what;
        return QString();
    }
    QString value = queue.front();
    queue.pop_front();
    return value;
}
}  // namespace

bool TScriptedPrompter::ExecuteOpen(QWidget*, TFileDialog& dialog)
{
    dialogs << QStringLiteral("open:%1").arg(dialog.DefaultExt);
    const QString file = Take(files, "open dialog");
    if (file.isEmpty())
        return false;
    dialog.FileName = file;
    return true;
}

bool TScriptedPrompter::ExecuteSave(QWidget*, TFileDialog& dialog)
{
    dialogs << QStringLiteral("save:%1:%2").arg(dialog.DefaultExt, dialog.FileName);
    const QString file = Take(files, "save dialog");
    if (file.isEmpty())
        return false;
    dialog.FileName = file;
    return true;
}

QString TScriptedPrompter::ChooseFolder(QWidget*, const QString&, const QString& start)
{
    lastFolderStart = start;
    return Take(folders, "folder dialog");
}

QMessageBox::StandardButton TScriptedPrompter::Ask(QWidget*, QMessageBox::Icon, const QString& caption,
                                                   const QString& text, QMessageBox::StandardButtons)
{
    questions << caption + QLatin1Char('|') + text;
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question " << text.toStdString();
        return QMessageBox::Cancel;
    }
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
}

void WindowTest::SetUp()
{
    InitResources();
    auto prompter = std::make_unique<TScriptedPrompter>();
    m_prompter = prompter.get();
    m_previous = SetPrompter(std::move(prompter));
    ASSERT_TRUE(m_dir.isValid());
}

void WindowTest::TearDown()
{
    EXPECT_TRUE(m_prompter->files.empty()) << "unused dialog answers";
    EXPECT_TRUE(m_prompter->answers.empty()) << "unused message box answers";
    SetPrompter(std::move(m_previous));
}

std::unique_ptr<TfrmTreeViewEditorMain> WindowTest::MakeWindow(const QStringList& arguments)
{
    auto window = std::make_unique<TfrmTreeViewEditorMain>(arguments);
    window->show();
    QApplication::processEvents();
    return window;
}

std::string WindowTest::ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

void WindowTest::WriteBytes(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void WindowTest::Run(TfrmTreeViewEditorMain& window, const char* action)
{
    QAction* command = window.Action(QString::fromLatin1(action));
    ASSERT_NE(command, nullptr) << action;
    window.UpdateActions();
    command->trigger();
}

std::string WorkedExampleBytes()
{
    auto i32 = [](int32_t v) {
        std::string s(4, '\0');
        for (int i = 0; i < 4; ++i)
            s[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
        return s;
    };
    return i32(-1) + i32(1) +                                                 //
           i32(24) + i32(3) + i32(3) + i32(-1) + i32(0) + i32(1) + i32(2) +  // "A"
           i32(1) + "A" + i32(1) + "x" +                                      //
           i32(24) + i32(0) + i32(0) + i32(-1) + i32(0) + i32(0) + i32(1) +  // "B"
           i32(1) + "B";
}
