#include "tests/apptestkit.h"

#include "app/window/application.h"
#include "app/window/autosave.h"
#include "settings/editoroptions.h"
#include "settings/recentfiles.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QProcess>
#include <QTime>
#include <optional>
#include <sys/file.h>

namespace {
QStringList EntryTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text() + QLatin1Char('|') + action->statusTip());
    return texts;
}

class TFakeClock : public TAutoSaveClock {
public:
    qint64 now = 0;
    qint64 NowMs() const override { return now; }
};
}  // namespace

TEST_F(WindowTest, OpenRecentNumbersTheFilesAndDropsOneThatIsGone)
{
    for (const char* name : {"a.trd", "b.trd"})
        WriteBytes(Path(QString::fromLatin1(name)), WorkedExampleBytes());
    auto window = MakeWindow();
    for (const char* name : {"a.trd", "b.trd"}) {
        m_prompter->files.push_back(Path(QString::fromLatin1(name)));
        Run(*window, TActionId::actFileOpen);
    }
    auto* menu = window->findChild<QMenu*>(QStringLiteral("miRecent"));
    ASSERT_TRUE(menu);
    emit menu->aboutToShow();
    const QString clear = Action(*window, TActionId::actFileClearRecent)->text() + QLatin1Char('|') +
                          Action(*window, TActionId::actFileClearRecent)->statusTip();
    EXPECT_EQ(EntryTexts(*menu),
              QStringList({"&1 b.trd|" + Path("b.trd"), "&2 a.trd|" + Path("a.trd"), QStringLiteral("-"), clear}));

    QFile::remove(Path("a.trd"));
    m_prompter->answers.push_back(QMessageBox::Ok);
    menu->actions().at(1)->trigger();
    ASSERT_EQ(m_prompter->questions.size(), 1);
    EXPECT_TRUE(m_prompter->questions[0].contains(Path("a.trd")));
    EXPECT_EQ(TRecentFiles::Read(), QStringList({Path("b.trd")}));
    EXPECT_EQ(window->Session().FileName(), Path("b.trd"));

    // The tenth entry is reached with 0.
    for (int i = 1; i <= 10; ++i)
        TRecentFiles::Note(Path(QStringLiteral("f%1.trd").arg(i)));
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().at(9)->text(), QStringLiteral("1&0 f1.trd"));

    Run(*window, TActionId::actFileClearRecent);
    emit menu->aboutToShow();
    EXPECT_EQ(EntryTexts(*menu), QStringList({clear}));
}

struct TReopenCase {
    const char* name;
    bool option;
    const char* file;  // from the sample files; none: gone before the start
    std::optional<QString> password;
    bool opened;
};

class ReopenAtStart : public WindowTest, public ::testing::WithParamInterface<TReopenCase> {};

TEST_P(ReopenAtStart, StartsWithTheLastDocumentOnlyWhenAskedAndThere)
{
    const TReopenCase& c = GetParam();
    const QString path = Path("last.trd");
    if (c.file) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(VEK_TEST_DATA "/") + QString::fromLatin1(c.file), path));
    }
    TRecentFiles::Note(path);
    TEditorOptions options;
    options.ReopenLast = c.option;
    options.Write();
    if (c.password)
        m_prompter->passwords.push_back(*c.password == QLatin1String("-") ? std::nullopt : c.password);
    auto window = MakeWindow();
    EXPECT_EQ(window->windowTitle(), c.opened ? QStringLiteral("last.trd - VekTreeViewEditor")
                                              : QStringLiteral("Untitled - VekTreeViewEditor"));
    EXPECT_EQ(window->TreeList().TopItemCount() > 0, c.opened);
    EXPECT_EQ(window->Session().FileName(), c.opened ? path : QString());
    EXPECT_FALSE(window->Session().Modified());
    EXPECT_EQ(m_prompter->passwordQuestions.size(), c.password ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReopenAtStart,
    ::testing::Values(TReopenCase{"OffByDefault", false, "sample.trd", std::nullopt, false},
                      TReopenCase{"Opened", true, "sample.trd", std::nullopt, true},
                      TReopenCase{"GoneFileGivesAnEmptyDocument", true, nullptr, std::nullopt, false},
                      TReopenCase{"ProtectedAsksForItsPassword", true, "protected.trd", QStringLiteral("sample"), true},
                      TReopenCase{"CancelledPasswordGivesAnEmptyDocument", true, "protected.trd", QStringLiteral("-"),
                                  false}),
    [](const auto& info) { return std::string(info.param.name); });

class AutoSaveTest : public WindowTest {
protected:
    std::unique_ptr<TfrmTreeViewEditorMain> OpenWithAutoSave()
    {
        WriteBytes(Path("doc.trd"), WorkedExampleBytes());
        TEditorOptions options;
        options.AutoSave = true;
        options.Write();
        auto window = MakeWindow({Path("doc.trd")});
        window->AutoSave().SetClock(&m_clock);
        return window;
    }
    void Change(TfrmTreeViewEditorMain& window)
    {
        Run(window, TActionId::actEditItemNew);
        window.TreeListView()->FinishNameEdit();
    }
    // The clock moved to `ms` and a tick, as the timer gives it.
    void TickAt(TfrmTreeViewEditorMain& window, qint64 ms)
    {
        m_clock.now = ms;
        RunGuarded([&] { window.AutoSave().Tick(); });
    }
    bool SavedAsShown(TfrmTreeViewEditorMain& window) { return ReadBytes(Path("doc.trd")) == WriteItems(window.TreeList()); }

    TFakeClock m_clock;
};

TEST_F(AutoSaveTest, SavesTheSetTimeAfterTheLastChangeAndTheCleanPointFollows)
{
    auto window = OpenWithAutoSave();
    Change(*window);
    m_clock.now = 20000;
    Change(*window);
    TickAt(*window, 49999);
    EXPECT_EQ(ReadBytes(Path("doc.trd")), WorkedExampleBytes());
    const QString minute = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    TickAt(*window, 50000);
    EXPECT_TRUE(SavedAsShown(*window));
    EXPECT_FALSE(window->Session().Modified());
    EXPECT_FALSE(window->AutoSave().Due());
    EXPECT_TRUE(window->StatusPanelText(0).startsWith(QStringLiteral("Saved automatically at ")));
    EXPECT_GE(window->StatusPanelText(0).mid(23), minute);
    Run(*window, TActionId::actEditItemUndo);
    EXPECT_TRUE(window->Session().Modified());
}

TEST_F(AutoSaveTest, WaitsForADialogAndForANameBeingTyped)
{
    auto window = OpenWithAutoSave();
    Change(*window);
    {
        QDialog dialog(window.get());
        dialog.setModal(true);
        dialog.show();
        TickAt(*window, 30000);
        EXPECT_FALSE(SavedAsShown(*window));
    }
    StartTypingName(*window, QStringLiteral("typing"));
    TickAt(*window, 31000);
    EXPECT_FALSE(SavedAsShown(*window));
    EXPECT_TRUE(window->AutoSave().Due());
    window->TreeListView()->FinishNameEdit();
    TickAt(*window, 61000);
    EXPECT_TRUE(SavedAsShown(*window));
}

TEST_F(AutoSaveTest, AFileChangedOnDiskBringsTheQuestionInstead)
{
    auto window = OpenWithAutoSave();
    Change(*window);
    WriteBytes(Path("doc.trd"), WriteItems(TTreeList()));
    m_prompter->answers = {QMessageBox::No};
    TickAt(*window, 30000);
    ASSERT_EQ(m_prompter->questions.size(), 1);
    EXPECT_TRUE(m_prompter->questions[0].contains("Overwrite it"));
    EXPECT_EQ(ReadBytes(Path("doc.trd")), WriteItems(TTreeList()));
    EXPECT_TRUE(window->Session().Modified());
    TickAt(*window, 120000);
    EXPECT_EQ(m_prompter->questions.size(), 1);
}

TEST_F(AutoSaveTest, AFailedSaveShowsOnceAndStaysModified)
{
    auto window = OpenWithAutoSave();
    Change(*window);
    // Another program holds the file locked.
    QFile held(Path("doc.trd"));
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(held.handle(), LOCK_EX | LOCK_NB), 0);
    TickAt(*window, 30000);
    TickAt(*window, 120000);
    ASSERT_EQ(m_prompter->errors.size(), 1);
    EXPECT_TRUE(m_prompter->errors[0].startsWith(QStringLiteral("Cannot create file ")));
    EXPECT_TRUE(window->Session().Modified());
    EXPECT_FALSE(window->AutoSave().Due());
    held.close();
    Change(*window);
    TickAt(*window, 150000);
    EXPECT_TRUE(SavedAsShown(*window));
    EXPECT_EQ(m_prompter->errors.size(), 1);
}

struct TPdfCase {
    const char* name;
    bool numbered;
    QMessageBox::StandardButton onlyFocused;  // the answer to "only the focused item?", Beta focused
    std::vector<const char*> inOrder;
    std::vector<const char*> absent;
};

class PdfExport : public WindowTest, public ::testing::WithParamInterface<TPdfCase> {
protected:
    static QString Run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
};

// The names and descriptions come back from the PDF's text in document order,
// the long line wrapped but whole, with the title atop and the page number.
TEST_P(PdfExport, TextReadsBackInOrder)
{
    const TPdfCase& c = GetParam();
    TEditorOptions options;
    options.NumberHeadings = c.numbered;
    options.Write();
    auto window = MakeWindow();
    TTreeList& tree = window->TreeList();
    TTreeListTextNode* alpha = tree.AddItem();
    alpha->SetText(TreeListColumnName, "Alpha");
    alpha->SetText(TreeListColumnDesc, "first line\r\nsecond line");
    TTreeListTextNode* beta = alpha->AddChild();
    beta->SetText(TreeListColumnName, "Beta");
    std::string longLine;
    for (int i = 0; i < 60; ++i)
        longLine += "word" + std::to_string(i) + " ";
    beta->SetText(TreeListColumnDesc, longLine);
    tree.AddItem()->SetText(TreeListColumnName, "Gamma");
    beta->SetFocused();
    m_prompter->answers.push_back(c.onlyFocused);
    m_prompter->files.push_back(Path("out.pdf"));
    WindowTest::Run(*window, TActionId::actFileExportPdf);

    const QString text = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), Path("out.pdf"), QStringLiteral("-")});
    qsizetype at = 0;
    for (const char* expected : c.inOrder) {
        const qsizetype found = text.indexOf(QString::fromUtf8(expected), at);
        EXPECT_GE(found, 0) << expected << " after " << at << " in\n" << text.toStdString();
        at = std::max(at, found);
    }
    for (const char* unexpected : c.absent)
        EXPECT_FALSE(text.contains(QString::fromUtf8(unexpected))) << unexpected;
    EXPECT_TRUE(Run(QStringLiteral("pdfinfo"), {Path("out.pdf")}).contains(QRegularExpression("Title: +Untitled")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PdfExport,
    ::testing::Values(TPdfCase{"WholeTree", false, QMessageBox::No,
                               {"Untitled", "Alpha", "first line", "second line", "Beta", "word0", "word59", "Gamma",
                                "Page 1"},
                               {"1.1"}},
                      TPdfCase{"Numbered", true, QMessageBox::No,
                               {"1 Alpha", "first line", "1.1 Beta", "word30", "2 Gamma"}, {}},
                      TPdfCase{"FocusedSubtree", false, QMessageBox::Yes, {"Untitled", "Beta", "word59", "Page 1"},
                               {"Alpha", "Gamma"}}),
    [](const auto& info) { return std::string(info.param.name); });
