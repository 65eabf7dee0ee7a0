#include "tests/apptestkit.h"

#include "settings/recentfiles.h"

#include <QAction>
#include <QMenu>

namespace {
QStringList EntryTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text() + QLatin1Char('|') + action->statusTip());
    return texts;
}
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
