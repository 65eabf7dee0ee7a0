// Password-protected documents in the window: setting and removing the
// password, opening, saving, and the question before a clear export.
#include "tests/apptestkit.h"

#include "app/window/actiontable.h"
#include "app/window/commandtable.h"
#include "app/window/documentprotection.h"
#include "app/window/filewatcher.h"
#include "app/window/secretclipboard.h"
#include "document/protectedfile.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <vector>

namespace {

using Id = TActionId;
const TProtectionParams Cheap{1, 8 << 10, 64};

bool IsProtectedFile(const std::string& bytes)
{
    return bytes.compare(0, Protection::MarkerSize,
                         std::string(reinterpret_cast<const char*>(Protection::Marker), Protection::MarkerSize)) == 0;
}

class ProtectionTest : public WindowTest {
protected:
    std::unique_ptr<TfrmTreeViewEditorMain> Window()
    {
        auto window = MakeWindow();
        window->Session().SetProtectionParams(Cheap);
        return window;
    }

    static void AddItem(TfrmTreeViewEditorMain& window, const char* name, const char* description)
    {
        TTreeListTextNode* item = window.TreeList().AddItem();
        item->SetText(TreeListColumnName, name);
        item->SetText(TreeListColumnDesc, description);
        window.Session().MarkModified();
    }

    // A file of one item "Alpha" with the description "hidden words",
    // protected by `password`, or clear without one.
    static void WriteAlpha(const QString& path, const char* password)
    {
        TTreeList tree;
        TTreeListTextNode* item = tree.AddItem();
        item->SetText(TreeListColumnName, "Alpha");
        item->SetText(TreeListColumnDesc, "hidden words");
        SaveItems(tree, path.toStdString(), password ? TFileKey::Create(password, Cheap).get() : nullptr);
    }
    static void WriteProtected(const QString& path) { WriteAlpha(path, "pw"); }
    static void WriteClear(const QString& path) { WriteAlpha(path, nullptr); }

    static QString ProtectionPanel(const TfrmTreeViewEditorMain& window)
    {
        return window.findChild<QLabel*>(QStringLiteral("ProtectionPanel"))->text();
    }
};

TEST_F(ProtectionTest, SetPasswordThenSaveAndReopenKeepTheFileEncrypted)
{
    auto window = Window();
    AddItem(*window, "Alpha", "hidden words");
    m_prompter->files = {Path("p.trd")};
    Run(*window, Id::actFileSave);
    window->Commands().UpdateActions();
    EXPECT_TRUE(Action(*window, Id::actFileSetPassword)->isEnabled());
    EXPECT_FALSE(Action(*window, Id::actFileRemovePassword)->isEnabled());

    m_prompter->passwords = {QStringLiteral("pw"), QStringLiteral("pw")};
    Run(*window, Id::actFileSetPassword);
    EXPECT_EQ(m_prompter->passwordQuestions,
              (QStringList{"Set Password|New password:", "Set Password|Repeat the password:"}));
    EXPECT_TRUE(window->Session().Protected());
    EXPECT_TRUE(window->Session().Modified());
    EXPECT_EQ(ProtectionPanel(*window), QStringLiteral("Protected"));
    window->Commands().UpdateActions();
    EXPECT_TRUE(Action(*window, Id::actFileRemovePassword)->isEnabled());
    EXPECT_FALSE(IsProtectedFile(ReadBytes(Path("p.trd"))));

    Run(*window, Id::actFileSave);
    std::string bytes = ReadBytes(Path("p.trd"));
    EXPECT_TRUE(IsProtectedFile(bytes));
    EXPECT_EQ(bytes.find("hidden"), std::string::npos);
    EXPECT_EQ(bytes.find("Alpha"), std::string::npos);

    // Reopened in another window, changed and saved: still encrypted.
    auto other = Window();
    m_prompter->files = {Path("p.trd")};
    m_prompter->passwords = {QStringLiteral("pw")};
    Run(*other, Id::actFileOpen);
    EXPECT_EQ(m_prompter->passwordQuestions.last(), QStringLiteral("Password|p.trd is protected by a password. Password:"));
    ASSERT_EQ(other->TreeList().TopItemCount(), 1);
    EXPECT_EQ(other->TreeList().TopItem(0)->GetText(TreeListColumnDesc), "hidden words");
    EXPECT_TRUE(other->Session().Protected());
    EXPECT_EQ(ProtectionPanel(*other), QStringLiteral("Protected"));
    AddItem(*other, "Beta", "more hidden");
    Run(*other, Id::actFileSave);
    bytes = ReadBytes(Path("p.trd"));
    EXPECT_TRUE(IsProtectedFile(bytes));
    EXPECT_EQ(bytes.find("more hidden"), std::string::npos);

    // Without the password the next save is clear again; closing forgets the key.
    Run(*other, Id::actFileRemovePassword);
    EXPECT_TRUE(other->Session().Modified());
    Run(*other, Id::actFileSave);
    EXPECT_NE(ReadBytes(Path("p.trd")).find("more hidden"), std::string::npos);
    m_prompter->passwords = {QStringLiteral("pw"), QStringLiteral("pw")};
    Run(*other, Id::actFileSetPassword);
    m_prompter->answers = {QMessageBox::No};
    Run(*other, Id::actFileClose);
    EXPECT_FALSE(other->Session().Protected());
    EXPECT_EQ(ProtectionPanel(*other), QString());
    EXPECT_TRUE(m_prompter->errors.isEmpty()) << m_prompter->errors.join(u'\n').toStdString();
}

TEST_F(ProtectionTest, CancelOrAWrongPasswordLeaveTheOpenDocumentAsItWas)
{
    WriteProtected(Path("p.trd"));
    auto window = Window();
    AddItem(*window, "Mine", "");
    m_prompter->files = {Path("mine.trd")};
    Run(*window, Id::actFileSave);
    const QString title = window->windowTitle();

    const std::optional<QString> answers[] = {std::nullopt, QStringLiteral("wrong")};
    for (const auto& answer : answers) {
        m_prompter->files = {Path("p.trd")};
        m_prompter->passwords = {answer};
        Run(*window, Id::actFileOpen);
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_EQ(window->Session().FileName(), Path("mine.trd"));
        ASSERT_EQ(window->TreeList().TopItemCount(), 1);
        EXPECT_EQ(window->TreeList().TopItem(0)->GetText(TreeListColumnName), "Mine");
        EXPECT_FALSE(window->Session().Protected());
    }
    EXPECT_EQ(m_prompter->errors,
              QStringList{"Cannot open file " + Path("p.trd") + ": the password is wrong or the file is damaged."});
}

TEST_F(ProtectionTest, PasswordsThatDifferOrAreEmptyChangeNothing)
{
    auto window = Window();
    AddItem(*window, "Alpha", "");
    m_prompter->files = {Path("a.trd")};
    Run(*window, Id::actFileSave);
    m_prompter->passwords = {QStringLiteral("one"), QStringLiteral("two"), QString(), QString(),
                             QStringLiteral("three"), std::nullopt};
    for (int i = 0; i < 3; ++i)
        Run(*window, Id::actFileSetPassword);
    EXPECT_FALSE(window->Session().Protected());
    EXPECT_FALSE(window->Session().Modified());
    EXPECT_EQ(m_prompter->errors, (QStringList{"The passwords do not match. The password was not changed.",
                                               "The password must not be empty. The password was not changed."}));
}

// Every command that writes the text in the clear asks first, once per
// protected document, and never for a clear one.
TEST_F(ProtectionTest, EveryClearTextWriteOfAProtectedDocumentAsksOnce)
{
    const struct {
        Id id;
        const char* file;  // none: a folder
    } commands[] = {{Id::actFileExportTxt, "e.txt"},     {Id::actFileExportIni, "e.ini"},
                    {Id::actFileExportMulti, nullptr},   {Id::actFileExportOpml, "e.opml"},
                    {Id::actFileExportMarkdown, "e.md"}, {Id::actFileExportHtml, "e.html"},
                    {Id::actFileSaveMemo, "e.txt"}};
    WriteProtected(Path("p.trd"));
    WriteClear(Path("c.trd"));
    const struct {
        const char* file;
        QMessageBox::StandardButton answer;  // NoButton: no question
    } documents[] = {{"c.trd", QMessageBox::NoButton}, {"p.trd", QMessageBox::No}, {"p.trd", QMessageBox::Yes}};
    int run = 0;
    for (const auto& command : commands) {
        for (const auto& document : documents) {
            auto window = Window();
            SCOPED_TRACE(QStringLiteral("%1 of %2, answer %3")
                             .arg(Action(*window, command.id)->objectName(), document.file)
                             .arg(document.answer)
                             .toStdString());
            m_prompter->files = {Path(document.file)};
            m_prompter->passwords = {QStringLiteral("pw")};
            Run(*window, Id::actFileOpen);
            window->TreeList().TopItem(0)->SetFocused();
            window->TreeList().TopItem(0)->SetSelected(true);
            m_prompter->questions.clear();
            const bool asked = document.answer != QMessageBox::NoButton;
            const bool writes = document.answer != QMessageBox::No;
            const QString out = Path(QString::number(++run));
            ASSERT_TRUE(QDir().mkpath(out));
            // A Yes stands for the document: the second run asks nothing.
            for (int i = 0; i < (document.answer == QMessageBox::Yes ? 2 : 1); ++i) {
                if (asked && i == 0)
                    m_prompter->answers = {document.answer};
                if (writes && command.file)
                    m_prompter->files = {out + QLatin1Char('/') + command.file};
                else if (writes)
                    m_prompter->folders = {out};
                Run(*window, command.id);
                EXPECT_EQ(m_prompter->questions.size(), asked ? 1 : 0);
            }
            if (asked) {
                EXPECT_TRUE(m_prompter->questions.first().startsWith(QStringLiteral("Export|This document is protected")));
            }
            const QStringList written = QDir(out).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
            EXPECT_EQ(!written.isEmpty(), writes);
            if (!written.isEmpty()) {
                EXPECT_NE(ReadBytes(out + QLatin1Char('/') + written.first()).find("hidden words"), std::string::npos);
            }
            EXPECT_TRUE(m_prompter->errors.isEmpty()) << m_prompter->errors.join(u'\n').toStdString();
        }
    }
}

// A command added later that writes the text out declares it in its row.
TEST(ClearTextTable, EveryExportRowSaysItWritesClearText)
{
    for (const auto& table : {ActionListTVTable(), ActionListMemoTable()})
        for (const TActionDef& row : table) {
            const std::string name = row.name;
            // Printing puts the text on paper, or in a printer's file, in the clear.
            const bool clear = name.rfind("actFileExport", 0) == 0 || name.rfind("actFilePrint", 0) == 0 ||
                               name == "actFileSaveMemo";
            EXPECT_EQ(row.output == TCommandOutput::ClearText, clear) << name;
        }
}

// A clear file where a protected document was, opened or reloaded, asks
// before the document turns clear; any other file comes in without a word.
TEST_F(ProtectionTest, AClearFileAtAProtectedDocumentsPathAsks)
{
    const auto write = [this](const QString& path, const char* name, bool protect) {
        TTreeList tree;
        tree.AddItem()->SetText(TreeListColumnName, name);
        SaveItems(tree, path.toStdString(), protect ? TFileKey::Create("pw", Cheap).get() : nullptr);
    };
    for (const bool reload : {false, true})
        for (const bool documentProtected : {false, true})
            for (const bool fileProtected : {false, true}) {
                const bool asks = documentProtected && !fileProtected;
                for (const auto answer : asks ? std::vector{QMessageBox::No, QMessageBox::Yes}
                                              : std::vector{QMessageBox::NoButton}) {
                    SCOPED_TRACE(testing::Message() << "reload " << reload << ", document protected "
                                                    << documentProtected << ", file protected " << fileProtected
                                                    << ", answer " << answer);
                    const QString path = Path(QStringLiteral("d%1%2%3%4.trd")
                                                  .arg(reload)
                                                  .arg(documentProtected)
                                                  .arg(fileProtected)
                                                  .arg(answer));
                    write(path, "Old", documentProtected);
                    auto window = Window();
                    m_prompter->files = {path};
                    m_prompter->passwords = {QStringLiteral("pw")};
                    Run(*window, Id::actFileOpen);
                    m_prompter->questions.clear();
                    m_prompter->passwords = {QStringLiteral("pw")};

                    write(Path("new"), "New", fileProtected);
                    ASSERT_TRUE(QFile::remove(path) && QFile::rename(Path("new"), path));
                    if (asks)
                        m_prompter->answers = {answer};
                    if (reload) {
                        // The reload's own question comes first.
                        m_prompter->answers.push_front(QMessageBox::Yes);
                        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_prompter->questions.isEmpty(); }));
                        QTest::qWait(TFileWatcher::SettleMs * 4);
                    } else {
                        m_prompter->files = {path};
                        Run(*window, Id::actFileOpen);
                    }
                    ASSERT_EQ(m_prompter->questions.size(), (reload ? 1 : 0) + (asks ? 1 : 0));
                    if (asks) {
                        EXPECT_EQ(m_prompter->questions.last(),
                                  "Password|The file " + path +
                                      " is not protected by a password, but the document last opened or saved "
                                      "there was.\n\nOpen it without protection? No keeps the document as it is.");
                    }
                    const bool kept = answer == QMessageBox::No;
                    EXPECT_EQ(window->TreeList().TopItem(0)->GetText(TreeListColumnName), kept ? "Old" : "New");
                    EXPECT_EQ(window->Session().Protected(), kept ? documentProtected : fileProtected);
                    EXPECT_EQ(window->Session().FileName(), path);
                    EXPECT_TRUE(m_prompter->errors.isEmpty()) << m_prompter->errors.join(u'\n').toStdString();
                }
            }
}

// Copies of items or text from a protected document carry the mark that
// keeps them out of clipboard managers' history; copies from a clear one do
// not.
TEST_F(ProtectionTest, CopiesFromAProtectedDocumentAreMarkedSecret)
{
    WriteProtected(Path("p.trd"));
    WriteClear(Path("c.trd"));
    const struct {
        const char* name;
        void (*copy)(TfrmTreeViewEditorMain& window);
    } copies[] = {
        {"items copied", [](TfrmTreeViewEditorMain& window) { Run(window, Id::actEditItemCopy); }},
        {"items cut", [](TfrmTreeViewEditorMain& window) { Run(window, Id::actEditItemCut); }},
        {"link copied", [](TfrmTreeViewEditorMain& window) { Run(window, Id::actEditItemCopyLink); }},
        {"text copied", [](TfrmTreeViewEditorMain& window) { window.Memo1()->copy(); }},
        {"text cut", [](TfrmTreeViewEditorMain& window) { window.Memo1()->cut(); }},
    };
    for (const auto& copy : copies)
        for (const bool protect : {false, true}) {
            SCOPED_TRACE(testing::Message() << copy.name << (protect ? " protected" : " clear"));
            auto window = Window();
            m_prompter->files = {Path(protect ? "p.trd" : "c.trd")};
            m_prompter->passwords = {QStringLiteral("pw")};
            Run(*window, Id::actFileOpen);
            window->TreeList().TopItem(0)->SetFocused();
            window->TreeList().TopItem(0)->SetSelected(true);
            window->Memo1()->selectAll();
            QGuiApplication::clipboard()->clear();
            copy.copy(*window);
            const QMimeData* data = QGuiApplication::clipboard()->mimeData();
            ASSERT_NE(data, nullptr);
            EXPECT_FALSE(data->text().isEmpty());
            EXPECT_EQ(IsMarkedSecret(*data), protect);
            EXPECT_EQ(data->data(QStringLiteral("x-kde-passwordManagerHint")), protect ? "secret" : "");
        }
}

// The record of protected paths outlives the run: a clear file where a
// protected one was, named on the command line, asks at the next start.
TEST_F(ProtectionTest, AClearFileOnTheCommandLineWhereAProtectedOneWasAsks)
{
    const QString records = Path("records");
    WriteProtected(Path("p.trd"));
    {
        auto window = Window();
        window->Session().Protection().SetRecordFolder(records);
        m_prompter->files = {Path("p.trd")};
        m_prompter->passwords = {QStringLiteral("pw")};
        Run(*window, Id::actFileOpen);
    }
    WriteClear(Path("p.trd"));
    // Yes opens it clear, and from then on it is a clear file like any other.
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes, QMessageBox::NoButton}) {
        SCOPED_TRACE(answer);
        m_prompter->questions.clear();
        if (answer != QMessageBox::NoButton)
            m_prompter->answers = {answer};
        TfrmTreeViewEditorMain window({Path("p.trd")});
        window.Session().Protection().SetRecordFolder(records);
        window.show();
        QApplication::processEvents();
        WaitForLoad(window);
        EXPECT_EQ(m_prompter->questions.size(), answer == QMessageBox::NoButton ? 0 : 1);
        const bool opened = answer != QMessageBox::No;
        EXPECT_EQ(window.TreeList().TopItemCount(), opened ? 1 : 0);
        EXPECT_EQ(window.Session().FileName(), opened ? Path("p.trd") : QString());
    }
}

// The password dialog's own copy of the typed text is overwritten before the
// dialog frees it, accepted or cancelled; the answer is a copy of its own.
TEST_F(ProtectionTest, ThePasswordDialogWipesTheTextItHeld)
{
    for (const bool accept : {true, false}) {
        QString held;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            auto* edit = box->findChild<QLineEdit*>();
            QTest::keyClicks(edit, QStringLiteral("secret"));
            held = edit->text();
            accept ? box->accept() : box->reject();
        });
        TDialogPrompter prompter;
        const std::optional<QString> answer = prompter.AskPassword(nullptr, QStringLiteral("P"), QStringLiteral("P:"));
        EXPECT_EQ(answer, accept ? std::optional<QString>(QStringLiteral("secret")) : std::nullopt);
        EXPECT_EQ(held, QString(6, QChar(u'\0')));
    }
}

}  // namespace
