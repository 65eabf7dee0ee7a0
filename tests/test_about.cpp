#include "app/about/aboutdialog.h"
#include "app/about/helpcommands.h"
#include "app/about/product.h"
#include "tests/urlcatcher.h"

#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

struct THelpRun {
    int dialogs = 0;          // about dialogs seen while the command ran
    bool modalOverParent = false;
    QPointer<TfrmAboutDlg> last;
};

// Runs the help handler; an about dialog it shows is noted and closed from
// inside its modal loop.
THelpRun RunHelp(int tag, QWidget* parent)
{
    THelpRun run;
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, [&run, parent] {
        if (frmAboutDlg == nullptr)
            return;
        ++run.dialogs;
        run.last = frmAboutDlg;
        run.modalOverParent = frmAboutDlg->isModal() && frmAboutDlg->parentWidget() == parent;
        frmAboutDlg->reject();
    });
    closer.start(0);
    actHelpAboutExecute(tag, parent);
    closer.stop();
    return run;
}

} // namespace

TEST(HelpCommands, TagsRouteToTheirOperation)
{
    struct { int tag; QString url; int dialogs; } const cases[] = {
        {31, MailLink(), 0}, {32, HomePage(), 0}, {33, {}, 1}, {33, {}, 1},  // each About a new dialog
        {0, {}, 0}, {30, {}, 0}, {34, {}, 0}, {-33, {}, 0}};
    EXPECT_EQ(MailLink(), QStringLiteral("mailto: ") + AuthorEmail() + QStringLiteral("?subject=VekTreeViewEditor"));
    QWidget window;
    for (const auto& c : cases) {
        TUrlCatcher catcher;
        const THelpRun run = RunHelp(c.tag, &window);
        EXPECT_EQ(catcher.urls, c.url.isEmpty() ? QStringList() : QStringList{c.url}) << c.tag;
        EXPECT_EQ(run.dialogs, c.dialogs) << c.tag;
        EXPECT_EQ(run.modalOverParent, c.dialogs == 1) << c.tag;
        EXPECT_TRUE(run.last.isNull()) << c.tag << ": the dialog outlived its command";
        EXPECT_EQ(frmAboutDlg, nullptr) << c.tag;
    }
}

TEST(AboutDialog, MemoryFigure)
{
    const std::pair<uint64_t, const char*> cases[] = {
        {512ull << 20, "524288 KB"}, {1023, "0 KB"}, {1025, "1 KB"}, {64ull << 30, "67108864 KB"}};
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(MemoryFigure(bytes), QString::fromLatin1(text)) << bytes;

    QFile meminfo(QStringLiteral("/proc/meminfo"));
    ASSERT_TRUE(meminfo.open(QIODevice::ReadOnly));
    const auto match = QRegularExpression(QStringLiteral("^MemTotal:\\s+(\\d+) kB$"),
                                          QRegularExpression::MultilineOption)
                           .match(QString::fromLatin1(meminfo.readAll()));
    ASSERT_TRUE(match.hasMatch());
    TfrmAboutDlg dialog;
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lbMemory2"))->text(), match.captured(1) + QStringLiteral(" KB"));
}

TEST(AboutDialog, EnterEscOkAndTheLink)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        TfrmAboutDlg dialog;
        dialog.show();
        QTest::keyClick(&dialog, key);
        EXPECT_FALSE(dialog.isVisible()) << key;
    }
    TfrmAboutDlg dialog;
    dialog.show();
    TUrlCatcher catcher;
    auto* link = dialog.findChild<QLabel*>(QStringLiteral("lbWebLink"));
    EXPECT_EQ(link->toolTip(), QStringLiteral("MailTo:\n") + AuthorEmail());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(catcher.urls, QStringList{MailLink()});
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("BtnOk")), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(AboutDialog, LabelsFitTheirBoxes)
{
    TfrmAboutDlg dialog;
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lbVersion"))->text(), QStringLiteral("Version 2.4"));
    EXPECT_EQ(QFontInfo(dialog.findChild<QLabel*>(QStringLiteral("lbProductName1"))->font()).family(),
              QStringLiteral("Liberation Serif"));
    // Where each text starts (the memory figure: where it ends).
    const std::pair<const char*, QPoint> anchors[] = {
        {"lbProductName1", {48, 8}}, {"lbProductName2", {48, 24}}, {"lbVersion", {48, 56}},
        {"lbCopyright", {48, 72}},   {"lbWebLink", {48, 88}},      {"lbMemory1", {48, 128}},
        {"lbMemory2", {308, 128}}};
    for (const auto& [name, anchor] : anchors) {
        const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
        const QRect box = label->geometry();
        EXPECT_EQ(label->alignment() & Qt::AlignRight ? box.topRight() : box.topLeft(), anchor) << name;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), box.width()) << name;
        EXPECT_LE(label->fontMetrics().height(), box.height()) << name;
        EXPECT_TRUE(dialog.rect().contains(box)) << name;
    }
    // The memory figure stays clear of its caption.
    EXPECT_LT(dialog.findChild<QLabel*>(QStringLiteral("lbMemory1"))->fontMetrics().horizontalAdvance(
                  QStringLiteral("Physical memory:")) + 48,
              dialog.findChild<QLabel*>(QStringLiteral("lbMemory2"))->geometry().left());
    const auto* comments = dialog.findChild<QLabel*>(QStringLiteral("lbComments"));
    EXPECT_LE(comments->heightForWidth(comments->width()), comments->height());
}
