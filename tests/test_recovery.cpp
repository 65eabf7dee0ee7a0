#include "tests/apptestkit.h"

#include "app/window/recoverymanager.h"
#include "document/protectedfile.h"
#include "recovery/recoverystore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int Patience = 60000;  // an upper bound for a slow machine, never a measure

QStringList Files(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.trd"), QStringLiteral("*.info")}, QDir::Files, QDir::Name);
}
}  // namespace

class RecoveryTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_store = std::make_unique<TRecoveryStore>(Folder().toStdString());
    }
    void TearDown() override
    {
        if (m_other.state() != QProcess::NotRunning) {
            m_other.kill();
            m_other.waitForFinished();
        }
        WindowTest::TearDown();
    }

    QString Folder() const { return Path(QStringLiteral("recovery")); }

    // A window keeping copies in Folder(), each begun as soon as the event
    // loop runs after a change.
    std::unique_ptr<TfrmTreeViewEditorMain> MakeRecoveringWindow(const QStringList& arguments = {})
    {
        auto window = std::make_unique<TfrmTreeViewEditorMain>(arguments, Folder());
        window->Recovery().SetInterval(0);
        window->show();
        QApplication::processEvents();
        WaitForLoad(*window);
        return window;
    }

    static void Change(TfrmTreeViewEditorMain& window)
    {
        window.TreeList().AddItem();
        window.Session().MarkModified();
    }
    static bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, Patience); }
    static bool WaitForCopies(TfrmTreeViewEditorMain& window, int count)
    {
        return WaitFor([&] { return window.Recovery().CopiesWritten() >= count && !window.Recovery().CopyDue(); });
    }

    // A run of this process's id that has ended: what a crashed editor leaves
    // once the system has handed its id on.
    static TProcessIdentity Ended()
    {
        TProcessIdentity identity = TProcessIdentity::Current();
        ++identity.startTime;
        return identity;
    }
    TProcessIdentity Running()
    {
        m_other.start(QStringLiteral("sleep"), {QStringLiteral("600")});
        EXPECT_TRUE(m_other.waitForStarted());
        return TProcessIdentity::Of(m_other.processId()).value_or(TProcessIdentity());
    }

    // A copy as an editor leaves it: the tree's bytes and a side file.
    void PlantCopy(const std::string& name, const std::string& documentPath, int64_t time,
                   const TProcessIdentity& owner, const std::string& bytes)
    {
        QDir().mkpath(Folder());
        WriteBytes(QString::fromStdString(m_store->CopyPath(name)), bytes);
        m_store->WriteInfo(name, {documentPath, time, owner});
    }

    static QString Question(const QString& document, int64_t time)
    {
        return QStringLiteral("VekTreeViewEditor|VekTreeViewEditor was not closed properly. Recover the unsaved "
                              "changes to %1 from %2?")
            .arg(document, QDateTime::fromSecsSinceEpoch(time).toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    }

    std::unique_ptr<TRecoveryStore> m_store;
    QProcess m_other;
};

TEST(RecoveryInfo, RoundTripsAnyPathAndRejectsWhatItDidNotWrite)
{
    const TRecoveryInfo info{"/home/u/odd\\name\nwith breaks\r.trd", 1796653920, TProcessIdentity::Current()};
    const std::string text = info.Format();
    const auto back = TRecoveryInfo::Parse(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->path, info.path);
    EXPECT_EQ(back->time, info.time);
    EXPECT_EQ(back->owner, info.owner);
    EXPECT_TRUE(back->owner.Running());

    for (const std::string& damaged : {std::string(), text.substr(0, text.size() - 1), text.substr(0, 40),
                                       "x" + text, text + "time=1\n", std::string(text).replace(text.find("pid="), 5, "pid=x")})
        EXPECT_FALSE(TRecoveryInfo::Parse(damaged)) << damaged;
}

// The real question box: without Cancel, Esc and closing it answer nothing
// (No would delete the copy); with Cancel they still cancel.
TEST(RecoveryQuestion, EscapeAndClosingDoNotAnswerNo)
{
    const struct {
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton answer;
    } cases[] = {{QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes},
                 {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel}};
    for (const auto& c : cases) {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
            box->close();
            if (box->isVisible())
                box->button(QMessageBox::Yes)->click();
        });
        EXPECT_EQ(TDialogPrompter().Ask(nullptr, QMessageBox::Question, QStringLiteral("caption"),
                                        QStringLiteral("Recover?"), c.buttons),
                  c.answer);
    }
}

TEST_F(RecoveryTest, ChangesProduceACopyWithThePendingDescriptionAndNoChangeNoOther)
{
    WriteBytes(Path("notes.trd"), WorkedExampleBytes());
    auto window = MakeRecoveringWindow({Path("notes.trd")});
    EXPECT_FALSE(window->Recovery().CopyDue());

    // Long enough that the editor hands it to the item only later.
    const QString description(TDescriptionPane::LazyDescriptionSize + 10, QLatin1Char('d'));
    window->Memo1()->setPlainText(description);
    EXPECT_TRUE(window->Recovery().CopyDue());
    EXPECT_TRUE(Files(Folder()).isEmpty());
    ASSERT_TRUE(WaitForCopies(*window, 1));

    const std::string name = TRecoveryStore::BaseName(Path("notes.trd").toStdString(), QCoreApplication::applicationPid());
    EXPECT_EQ(Files(Folder()), QStringList({QString::fromStdString(name) + ".info", QString::fromStdString(name) + ".trd"}));
    EXPECT_EQ(ReadBytes(QString::fromStdString(m_store->CopyPath(name))), WriteItems(window->TreeList()));
    EXPECT_EQ(window->TreeList().TopItem(0)->GetText(TreeListColumnDesc).size(), size_t(description.size()));
    const auto info = m_store->ReadInfo(name);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->path, Path("notes.trd").toStdString());
    EXPECT_EQ(info->owner, TProcessIdentity::Current());

    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_FALSE(window->Recovery().CopyDue());
    EXPECT_EQ(window->Recovery().CopiesWritten(), 1);
}

TEST_F(RecoveryTest, ACopyBegunOverAChangingTreeEndsAsTheTreeIs)
{
    auto window = MakeRecoveringWindow();
    TTreeList& tree = window->TreeList();
    const std::string description(2000, 'x');
    for (int i = 0; i < 20000; ++i)
        tree.AddItem()->SetText(TreeListColumnDesc, description);
    window->Session().MarkModified();
    // The first slices run; then items go and come while the rest is due.
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_TRUE(window->Recovery().CopyDue());
    tree.Delete(tree.TopItem(tree.TopItemCount() - 1));
    tree.TopItem(0)->SetText(TreeListColumnName, "first");
    tree.TopItem(1)->SetText(TreeListColumnName, "second");
    window->Session().MarkModified();
    // Only a copy begun afresh at once can hold these changes now.
    window->Recovery().SetInterval(3600 * 1000);
    ASSERT_TRUE(WaitFor([&] { return window->Recovery().CopiesWritten() == 1; }));
    EXPECT_FALSE(window->Recovery().CopyDue());
    const QStringList copies = QDir(Folder()).entryList({QStringLiteral("*.trd")}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(ReadBytes(Folder() + "/" + copies[0]) == WriteItems(tree));
}

struct TRemovalCase {
    const char* name;
    TActionId action;  // actFileExit: the window closes
    QMessageBox::StandardButton answer;
};

class CopyRemoval : public RecoveryTest, public ::testing::WithParamInterface<TRemovalCase> {};

TEST_P(CopyRemoval, TheCopyGoesWithTheUnsavedChanges)
{
    WriteBytes(Path("notes.trd"), WorkedExampleBytes());
    auto window = MakeRecoveringWindow({Path("notes.trd")});
    Change(*window);
    ASSERT_TRUE(WaitForCopies(*window, 1));
    ASSERT_EQ(Files(Folder()).size(), 2);

    if (GetParam().answer != QMessageBox::NoButton)
        m_prompter->answers = {GetParam().answer};
    if (GetParam().action == TActionId::actFileExit) {
        EXPECT_TRUE(window->close());
        window.reset();
    } else {
        Run(*window, GetParam().action);
        EXPECT_FALSE(window->Session().Modified());
    }
    ASSERT_TRUE(WaitFor([&] { return Files(Folder()).isEmpty(); })) << Files(Folder()).join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyRemoval,
                         ::testing::Values(TRemovalCase{"save", TActionId::actFileSave, QMessageBox::NoButton},
                                           TRemovalCase{"closeAnsweredNo", TActionId::actFileClose, QMessageBox::No},
                                           TRemovalCase{"exitAnsweredNo", TActionId::actFileExit, QMessageBox::No}),
                         [](const auto& info) { return std::string(info.param.name); });

class OfferedCopy : public RecoveryTest, public ::testing::WithParamInterface<QMessageBox::StandardButton> {};

TEST_P(OfferedCopy, YesRestoresTheTreeUnderItsNameAndNoDeletesTheCopy)
{
    const bool yes = GetParam() == QMessageBox::Yes;
    PlantCopy("abc", Path("notes.trd").toStdString(), 1796653920, Ended(), WorkedExampleBytes());
    m_prompter->answers = {GetParam()};
    auto window = MakeRecoveringWindow();
    EXPECT_EQ(m_prompter->questions, QStringList{Question(QStringLiteral("notes.trd"), 1796653920)});
    if (!yes) {
        EXPECT_TRUE(Files(Folder()).isEmpty());
        EXPECT_EQ(window->TreeList().TopItemCount(), 0);
        EXPECT_FALSE(window->Session().Modified());
        return;
    }
    EXPECT_EQ(WriteItems(window->TreeList()), WorkedExampleBytes());
    EXPECT_EQ(window->Session().FileName(), Path("notes.trd"));
    EXPECT_TRUE(window->Session().Modified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("notes.trd - VekTreeViewEditor"));
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("Modified"));
    EXPECT_EQ(window->Memo1()->toPlainText(), QStringLiteral("x"));
    // The copy is this editor's now: no second start offers it, and Save removes it.
    EXPECT_EQ(m_store->ReadInfo("abc")->owner, TProcessIdentity::Current());
    EXPECT_FALSE(window->Recovery().CopyDue());
    Run(*window, TActionId::actFileSave);
    EXPECT_EQ(ReadBytes(Path("notes.trd")), WorkedExampleBytes());
    EXPECT_TRUE(WaitFor([&] { return Files(Folder()).isEmpty(); }));
}

INSTANTIATE_TEST_SUITE_P(Answers, OfferedCopy, ::testing::Values(QMessageBox::Yes, QMessageBox::No),
                         [](const auto& info) { return std::string(info.param == QMessageBox::Yes ? "yes" : "no"); });

TEST_F(RecoveryTest, TheCommandLineFilesCopyComesFirstAndFurtherCopiesOpenElsewhere)
{
    WriteBytes(Path("notes.trd"), WorkedExampleBytes());
    const std::string older(WriteItems(TTreeList()));
    PlantCopy("untitled-1", std::string(), 1000, Ended(), older);
    PlantCopy("other", Path("other.trd").toStdString(), 2000, Ended(), older);
    PlantCopy("notes", Path("notes.trd").toStdString(), 3000, Ended(), WorkedExampleBytes());
    m_prompter->answers = {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::No};

    auto window = std::make_unique<TfrmTreeViewEditorMain>(QStringList{Path("notes.trd")}, Folder());
    QStringList elsewhere;
    // Instead of starting another editor.
    QObject::disconnect(&window->Recovery(), &TRecoveryManager::RecoverElsewhere, nullptr, nullptr);
    QObject::connect(&window->Recovery(), &TRecoveryManager::RecoverElsewhere,
                     [&](const QString& copy) { elsewhere << copy; });
    window->show();
    QApplication::processEvents();

    EXPECT_EQ(m_prompter->questions,
              QStringList({Question(QStringLiteral("notes.trd"), 3000), Question(QStringLiteral("Untitled"), 1000),
                           Question(QStringLiteral("other.trd"), 2000)}));
    EXPECT_TRUE(window->Session().Modified());
    EXPECT_EQ(window->Session().FileName(), Path("notes.trd"));
    EXPECT_EQ(elsewhere, QStringList{QString::fromStdString(m_store->CopyPath("untitled-1"))});
    EXPECT_EQ(Files(Folder()), QStringList({"notes.info", "notes.trd", "untitled-1.info", "untitled-1.trd"}));

    // The editor started for it takes it without asking again.
    auto second = MakeRecoveringWindow({QStringLiteral("--recover"), elsewhere.value(0)});
    EXPECT_EQ(m_prompter->questions.size(), 3);
    EXPECT_TRUE(second->Session().Modified());
    EXPECT_TRUE(second->Session().FileName().isEmpty());
    EXPECT_EQ(second->Session().CommandLineFile(), QString());
    EXPECT_EQ(m_store->ReadInfo("untitled-1")->owner, TProcessIdentity::Current());
}

TEST_F(RecoveryTest, AnotherRunningEditorsCopyIsLeftAlone)
{
    PlantCopy("theirs", Path("notes.trd").toStdString(), 1000, Running(), WorkedExampleBytes());
    auto window = MakeRecoveringWindow();
    Change(*window);
    ASSERT_TRUE(WaitForCopies(*window, 1));
    window.reset();
    EXPECT_TRUE(m_prompter->questions.isEmpty());
    EXPECT_EQ(Files(Folder()), QStringList({"theirs.info", "theirs.trd"}));
}

// A protected document's copy holds none of its text, and is offered at the
// next start behind the document's password question.
TEST_F(RecoveryTest, AProtectedDocumentsCopyIsEncryptedAndAsksForThePassword)
{
    auto window = MakeRecoveringWindow();
    window->Session().SetProtectionParams({1, 8 << 10, 64});
    TTreeListTextNode* item = window->TreeList().AddItem();
    item->SetText(TreeListColumnName, "secret name");
    item->SetText(TreeListColumnDesc, "secret words");
    m_prompter->passwords = {QStringLiteral("pw"), QStringLiteral("pw")};
    Run(*window, TActionId::actFileSetPassword);
    ASSERT_TRUE(WaitForCopies(*window, 1));
    const std::string name = TRecoveryStore::BaseName(std::string(), QCoreApplication::applicationPid());
    const std::string copy = ReadBytes(QString::fromStdString(m_store->CopyPath(name)));
    EXPECT_TRUE(HasProtectionMarker(copy.data(), copy.size()));
    for (const QString& file : Files(Folder()))
        EXPECT_EQ(ReadBytes(Folder() + QLatin1Char('/') + file).find("secret"), std::string::npos) << file.toStdString();
    window.reset();

    // Wrong, then cancelled: the copy stays. Then the right password.
    const std::optional<QString> passwords[] = {QStringLiteral("wrong"), std::nullopt, QStringLiteral("pw")};
    for (const auto& password : passwords) {
        PlantCopy("crashed", std::string(), 1000, Ended(), copy);
        m_prompter->answers = {QMessageBox::Yes};
        m_prompter->passwords = {password};
        window = MakeRecoveringWindow();
        EXPECT_EQ(m_prompter->passwordQuestions.last(),
                  QStringLiteral("Password|Untitled is protected by a password. Password:"));
        EXPECT_EQ(window->TreeList().TopItemCount(), password == QStringLiteral("pw") ? 1 : 0);
        EXPECT_EQ(window->Session().Protected(), password == QStringLiteral("pw"));
        window.reset();
    }
    EXPECT_EQ(m_prompter->errors,
              QStringList{QStringLiteral("Cannot open file %1: the password is wrong or the file is damaged. It is "
                                         "kept for the next start.")
                              .arg(QString::fromStdString(m_store->CopyPath("crashed")))});
}

TEST_F(RecoveryTest, ADamagedCopyIsReportedWithItsPathAndKept)
{
    // A side file that cannot be read, and a side file whose copy cannot be.
    PlantCopy("unread", Path("a.trd").toStdString(), 1000, Ended(), WorkedExampleBytes());
    WriteBytes(QString::fromStdString(m_store->InfoPath("unread")), "VekTreeViewEditor recovery copy\npath=");
    PlantCopy("torn", Path("b.trd").toStdString(), 2000, Ended(), WorkedExampleBytes().substr(0, 50));
    // No plain files: a copy that links to a file outside (a copy adopted
    // would be written through the link), a side file that is a pipe
    // (reading it would never end), and a lock that links outside.
    PlantCopy("link", Path("c.trd").toStdString(), 3000, Ended(), std::string());
    QFile::remove(QString::fromStdString(m_store->CopyPath("link")));
    WriteBytes(Path("outside.trd"), WorkedExampleBytes());
    ASSERT_EQ(::symlink(Path("outside.trd").toLocal8Bit().constData(), m_store->CopyPath("link").c_str()), 0);
    PlantCopy("pipe", Path("d.trd").toStdString(), 4000, Ended(), WorkedExampleBytes());
    QFile::remove(QString::fromStdString(m_store->InfoPath("pipe")));
    ASSERT_EQ(::mkfifo(m_store->InfoPath("pipe").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(Path("lock").toLocal8Bit().constData(), (Folder() + "/.lock").toLocal8Bit().constData()), 0);
    m_prompter->answers = {QMessageBox::Yes};
    auto window = MakeRecoveringWindow();

    const QString message = QStringLiteral("The recovery copy %1 cannot be read. It is kept for you to inspect.");
    QStringList reported;
    for (const char* name : {"link", "pipe", "unread", "torn"})
        reported << message.arg(QString::fromStdString(m_store->CopyPath(name)));
    EXPECT_EQ(m_prompter->errors, reported);
    EXPECT_EQ(window->TreeList().TopItemCount(), 0);
    EXPECT_TRUE(window->Session().FileName().isEmpty());
    EXPECT_FALSE(window->Session().Modified());
    window.reset();
    EXPECT_EQ(Files(Folder()), QStringList({"link.info", "link.trd", "pipe.trd", "torn.info", "torn.trd",
                                            "unread.info", "unread.trd"}));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(m_store->InfoPath("pipe"))));
    EXPECT_FALSE(QFileInfo::exists(Path("lock")));
}

TEST_F(RecoveryTest, AFailedWriteIsReportedOnceInTheStatusBar)
{
    WriteBytes(Folder(), "not a folder");
    auto window = MakeRecoveringWindow();
    auto* problem = window->findChild<QLabel*>(QStringLiteral("RecoveryProblem"));
    ASSERT_TRUE(problem);
    Change(*window);
    ASSERT_TRUE(WaitFor([&] { return window->Recovery().CopiesFailed() >= 1; }));
    EXPECT_TRUE(problem->isVisible());
    EXPECT_TRUE(problem->text().startsWith(QStringLiteral("Recovery copy not written: Cannot create file ")))
        << problem->text().toStdString();
    EXPECT_TRUE(m_prompter->errors.isEmpty());

    // The folder comes back: the next copy is written and the message goes.
    QFile::remove(Folder());
    ASSERT_TRUE(WaitForCopies(*window, 1));
    EXPECT_FALSE(problem->isVisible());

    // It fails again: editing goes on without a second message.
    QDir(Folder()).removeRecursively();
    WriteBytes(Folder(), "not a folder");
    const int failed = window->Recovery().CopiesFailed();
    Change(*window);
    ASSERT_TRUE(WaitFor([&] { return window->Recovery().CopiesFailed() > failed; }));
    EXPECT_FALSE(problem->isVisible());
    EXPECT_TRUE(m_prompter->errors.isEmpty());
}
