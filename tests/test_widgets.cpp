#include "app/widgets/finddialog.h"
#include "app/widgets/fontdialog.h"
#include "app/widgets/iconcombobox.h"
#include "app/widgets/imagelists.h"
#include "app/widgets/replacedialog.h"
#include "app/widgets/textsearch.h"
#include "document/strtoint.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

// The plain searches are covered through the description pane; these are the edges.
TEST(FindInText, Table)
{
    constexpr TSearchOptions Down{false, false, true}, Up{false, false, false}, DownWord{false, true, true},
        UpWord{false, true, false};
    struct { const char *text, *what; int selStart, selEnd; TSearchOptions options; int expected; } const cases[] = {
        {"aaaa", "aa", 0, 1, Down, 1},  // a match starting inside the selection is skipped
        {"abc", "c", 3, 3, Down, -1}, {"", "a", 0, 0, Down, -1},
        {"one two one", "one", 10, 10, Up, 0},  // a match overlapping the caret is skipped
        {"a_cat cat_ cat", "cat", 0, 0, DownWord, 11}, {"cat1 cat", "cat", 0, 0, DownWord, 5},
        {"(cat)", "cat", 0, 0, DownWord, 1},
        {"concat cats", "cat", 0, 0, DownWord, -1}, {"cat cats", "cat", 8, 8, UpWord, 0},
        {"abca", "a", 99, 99, Up, 3}, {"abca", "a", -5, -5, Down, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(FindInText(QString::fromUtf8(c.text), QString::fromUtf8(c.what), c.selStart, c.selEnd, c.options),
                  c.expected) << c.text << " / " << c.what << " at " << c.selStart << "-" << c.selEnd;
}

TEST(ImageLists, CountsAndPictures)
{
    const std::pair<const TImageList&, int> lists[] = {{ImageListTV(), 216}, {ImageListMenu(), 32}, {ImageListMemo(), 12}};
    for (const auto& [list, count] : lists) {
        ASSERT_EQ(list.Count(), count);
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(list.Pixmap(i).size(), QSize(16, 16)) << count << ":" << i;
            EXPECT_FALSE(list.Icon(i).isNull()) << count << ":" << i;
        }
        EXPECT_TRUE(list.Icon(-1).isNull());
        EXPECT_TRUE(list.Icon(count).isNull());
        EXPECT_TRUE(list.Pixmap(count).isNull());
    }
    EXPECT_NE(ImageListTV().Pixmap(0).toImage(), ImageListTV().Pixmap(14).toImage());
}

TEST(IconComboBox, OffersTheItemIconsByNumberAndConvertsTheText)
{
    TIconComboBox box;
    ASSERT_EQ(box.count(), 216);
    for (int i = 0; i < box.count(); ++i)
        ASSERT_EQ(box.itemText(i), QString::number(i));
    // The list rows are pictures only, sized for one icon.
    EXPECT_LT(box.view()->sizeHintForIndex(box.model()->index(5, 0)).height(), 32);

    box.setCurrentIndex(12);
    EXPECT_EQ(box.Value(), 12);
    box.setEditText(QStringLiteral("folder"));
    EXPECT_THROW(box.Value(), EConvertError);

    // Typed numbers beyond the list are values, not new entries.
    box.lineEdit()->clear();
    QTest::keyClicks(box.lineEdit(), QStringLiteral("999"));
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box.count(), 216);
    EXPECT_EQ(box.currentText(), QStringLiteral("999"));
    EXPECT_EQ(box.Value(), 999);
}

template <class T>
T* Child(QObject& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST(FindDialog, OptionsButtonsAndKeys)
{
    TFindDialog dialog;
    EXPECT_FALSE(dialog.isModal());
    dialog.SetFindText(QStringLiteral("needle"));
    QTest::keyClicks(Child<QLineEdit>(dialog, "FindEdit"), QStringLiteral("s"));
    dialog.Execute();
    QSignalSpy findNext(&dialog, &TFindDialog::FindNext);
    QTest::mouseClick(Child<QPushButton>(dialog, "FindNextButton"), Qt::LeftButton);
    QTest::keyClick(Child<QLineEdit>(dialog, "FindEdit"), Qt::Key_Return);
    EXPECT_EQ(findNext.count(), 2);
    QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.FindText(), QStringLiteral("needles"));  // kept for next time
    dialog.Execute();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ReplaceDialog, ButtonsAndTexts)
{
    TReplaceDialog dialog;
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.findChild<QRadioButton*>(), nullptr);
    EXPECT_TRUE(dialog.Options().down);
    dialog.Execute();
    QSignalSpy findNext(&dialog, &TReplaceDialog::FindNext);
    QSignalSpy replace(&dialog, &TReplaceDialog::Replace);
    QSignalSpy replaceAll(&dialog, &TReplaceDialog::ReplaceAll);
    QTest::mouseClick(Child<QPushButton>(dialog, "ReplaceButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(dialog, "ReplaceAllButton"), Qt::LeftButton);
    QTest::keyClick(Child<QLineEdit>(dialog, "ReplaceEdit"), Qt::Key_Return);
    EXPECT_EQ(std::tuple(findNext.count(), replace.count(), replaceAll.count()), std::tuple(1, 1, 1));
}

// Runs the font dialog; once its modal loop has started, underlines the font,
// presses Apply, turns on strike-out and closes the dialog with `button`.
bool RunFontDialog(TFontDialog& fonts, QDialogButtonBox::StandardButton button)
{
    QTimer::singleShot(0, [=]() {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(Child<QPushButton>(*dialog, "ColorButton") && Child<QPushButton>(*dialog, "ApplyButton"));
        QFont font = dialog->currentFont();
        font.setUnderline(true);
        dialog->setCurrentFont(font);
        Child<QPushButton>(*dialog, "ApplyButton")->click();
        font.setStrikeOut(true);
        dialog->setCurrentFont(font);
        dialog->findChild<QDialogButtonBox*>()->button(button)->click();
    });
    return fonts.Execute(nullptr);
}

TEST(FontDialog, OkReturnsTheChoiceCancelKeepsOnlyWhatWasApplied)
{
    TFontDialog fonts;
    QFont start = QApplication::font();
    start.setUnderline(false);
    start.setStrikeOut(false);
    fonts.SetFont(start);
    fonts.SetColor(Qt::red);
    std::vector<bool> underlinedAtApply;
    QObject::connect(&fonts, &TFontDialog::Applied, [&] { underlinedAtApply.push_back(fonts.Font().underline()); });

    EXPECT_FALSE(RunFontDialog(fonts, QDialogButtonBox::Cancel));
    EXPECT_EQ(underlinedAtApply, std::vector<bool>{true});
    EXPECT_TRUE(fonts.Font().underline());
    EXPECT_FALSE(fonts.Font().strikeOut());
    EXPECT_EQ(fonts.Color(), QColor(Qt::red));

    fonts.SetFont(start);
    EXPECT_TRUE(RunFontDialog(fonts, QDialogButtonBox::Ok));
    EXPECT_TRUE(fonts.Font().strikeOut());
}
