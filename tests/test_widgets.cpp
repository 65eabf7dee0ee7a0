#include "finddialog.h"
#include "fontdialog.h"
#include "iconcombobox.h"
#include "imagelists.h"
#include "replacedialog.h"
#include "strtoint.h"
#include "textsearch.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
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

TEST(StrToInt, ConvertsDecimalAndHex)
{
    const std::pair<const char*, int32_t> cases[] = {
        {"0", 0}, {"215", 215}, {"007", 7}, {" 12", 12}, {"\t 12", 12}, {"-5", -5}, {"+5", 5}, {"  -0", 0},
        {"$FF", 255}, {"$ff", 255}, {"x1f", 31}, {"X1F", 31}, {"0x10", 16}, {"0X10", 16}, {"-$10", -16},
        {"$7FFFFFFF", 2147483647}, {"$80000000", INT32_MIN}, {"$FFFFFFFF", -1}, {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(StrToInt(text), value) << '"' << text << '"';
}

TEST(StrToInt, RejectsWithTheUsersText)
{
    for (const char* text : {"abc", "", "   ", "12 ", "1 2", "12a", "-", "+-1", "- 1", "$", "0x", "$G", "1.5",
                             "2147483648", "-2147483649", "99999999999999999999", "$100000000"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "no error for \"" << text << '"';
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(FindInText, Table)
{
    constexpr TSearchOptions Down{false, false, true}, Up{false, false, false}, DownCase{true, false, true},
        UpCase{true, false, false}, DownWord{false, true, true}, UpWord{false, true, false};
    struct {
        const char *text, *what;
        int selStart, selEnd;
        TSearchOptions options;
        int expected;
    } const cases[] = {
        {"one two one", "one", 0, 0, Down, 0}, {"one two one", "one", 0, 3, Down, 8},
        {"aaaa", "aa", 0, 1, Down, 1},  // a match starting inside the selection is skipped
        {"one two one", "one", 9, 9, Down, -1},  // no wrap-around
        {"abc", "c", 3, 3, Down, -1}, {"one two", "three", 0, 0, Down, -1}, {"one two", "", 0, 0, Down, -1},
        {"", "a", 0, 0, Down, -1}, {"Hello", "hELLO", 0, 0, Down, 0}, {"hello HELLO", "HELLO", 0, 0, DownCase, 6},
        {"hello", "HELLO", 0, 0, DownCase, -1}, {"one two one", "one", 11, 11, Up, 8},
        {"one two one", "one", 8, 11, Up, 0}, {"one two one", "one", 10, 10, Up, 0},  // overlapping skipped
        {"one two one", "one", 0, 0, Up, -1}, {"ONE one", "ONE", 7, 7, UpCase, 0},
        {"cat concat cat", "cat", 0, 0, DownWord, 0}, {"concat cat", "cat", 0, 0, DownWord, 7},
        {"a_cat cat_ cat", "cat", 0, 0, DownWord, 11}, {"cat1 cat", "cat", 0, 0, DownWord, 5},
        {"(cat)", "cat", 0, 0, DownWord, 1}, {"concat cats", "cat", 0, 0, DownWord, -1},
        {"cat cats", "cat", 8, 8, UpWord, 0}, {"abca", "a", 99, 99, Up, 3}, {"abca", "a", -5, -5, Down, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(FindInText(QString::fromUtf8(c.text), QString::fromUtf8(c.what), c.selStart, c.selEnd, c.options),
                  c.expected) << c.text << " / " << c.what << " at " << c.selStart << "-" << c.selEnd;

    // Repeated searches, each from the previous match, walk through the text.
    const QString text = QStringLiteral("x ab y ab z ab");
    int start = 0, end = 0;
    auto walk = [&](bool down) {
        std::vector<int> found;
        for (int pos; (pos = FindInText(text, QStringLiteral("AB"), start, end, {false, false, down})) >= 0;
             start = pos, end = pos + 2)
            found.push_back(pos);
        return found;
    };
    EXPECT_EQ(walk(true), (std::vector<int>{2, 7, 12}));
    EXPECT_EQ(walk(false), (std::vector<int>{7, 2}));
}

TEST(ImageLists, CountsAndPictures)
{
    const std::pair<const TImageList&, int> lists[] = {{ImageListTV(), 216}, {ImageListMenu(), 19}, {ImageListMemo(), 11}};
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

    QSignalSpy changed(&box, &QComboBox::currentTextChanged);
    box.setCurrentIndex(12);
    EXPECT_EQ(box.Value(), 12);
    box.setEditText(QStringLiteral("$10"));
    EXPECT_EQ(box.Value(), 16);
    EXPECT_EQ(changed.count(), 2);
    box.setEditText(QStringLiteral("folder"));
    try {
        box.Value();
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'folder' is not a valid integer value");
    }

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
    auto options = [&]() {
        const TSearchOptions o = dialog.Options();
        return std::tuple{o.matchCase, o.wholeWord, o.down};
    };
    EXPECT_EQ(options(), std::tuple(false, false, true));
    Child<QCheckBox>(dialog, "MatchCaseCheck")->setChecked(true);
    Child<QRadioButton>(dialog, "UpRadio")->setChecked(true);
    EXPECT_EQ(options(), std::tuple(true, false, false));
    Child<QCheckBox>(dialog, "WholeWordCheck")->setChecked(true);
    EXPECT_EQ(options(), std::tuple(true, true, false));

    dialog.SetFindText(QStringLiteral("needle"));
    QTest::keyClicks(Child<QLineEdit>(dialog, "FindEdit"), QStringLiteral("s"));
    EXPECT_EQ(dialog.FindText(), QStringLiteral("needles"));

    dialog.Execute();
    QSignalSpy findNext(&dialog, &TFindDialog::FindNext);
    QTest::mouseClick(Child<QPushButton>(dialog, "FindNextButton"), Qt::LeftButton);
    QTest::keyClick(Child<QLineEdit>(dialog, "FindEdit"), Qt::Key_Return);
    EXPECT_EQ(findNext.count(), 2);
    EXPECT_TRUE(dialog.isVisible());
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
    dialog.SetReplaceText(QStringLiteral("new"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "ReplaceEdit")->text(), QStringLiteral("new"));

    dialog.Execute();
    QSignalSpy findNext(&dialog, &TReplaceDialog::FindNext);
    QSignalSpy replace(&dialog, &TReplaceDialog::Replace);
    QSignalSpy replaceAll(&dialog, &TReplaceDialog::ReplaceAll);
    QTest::mouseClick(Child<QPushButton>(dialog, "ReplaceButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(dialog, "ReplaceAllButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(dialog, "ReplaceAllButton"), Qt::LeftButton);
    QTest::keyClick(Child<QLineEdit>(dialog, "ReplaceEdit"), Qt::Key_Return);
    EXPECT_EQ(replace.count(), 1);
    EXPECT_EQ(replaceAll.count(), 2);
    EXPECT_EQ(findNext.count(), 1);
    QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

// Runs the font dialog; once its modal loop has started, turns on strike-out
// and underline, presses Apply if asked, then closes it with `button`.
bool RunFontDialog(TFontDialog& fonts, QDialogButtonBox::StandardButton button, bool pressApplyFirst = false)
{
    QTimer::singleShot(0, [=]() {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_NE(Child<QPushButton>(*dialog, "ColorButton"), nullptr);
        QFont font = dialog->currentFont();
        font.setStrikeOut(true);
        font.setUnderline(true);
        dialog->setCurrentFont(font);
        if (pressApplyFirst) {
            if (auto* apply = Child<QPushButton>(*dialog, "ApplyButton"))
                apply->click();
            EXPECT_TRUE(dialog->isVisible());
        }
        auto* box = dialog->findChild<QDialogButtonBox*>();
        ASSERT_TRUE(box && box->button(button));
        box->button(button)->click();
    });
    return fonts.Execute(nullptr);
}

TEST(FontDialog, OkReturnsTheChoiceCancelDiscardsItApplyReportsIt)
{
    TFontDialog fonts;
    QFont start = QApplication::font();
    start.setUnderline(false);
    start.setStrikeOut(false);
    fonts.SetFont(start);
    fonts.SetColor(Qt::red);
    int applied = 0;
    bool underlinedAtApply = false;
    fonts.OnApply = [&]() {
        ++applied;
        underlinedAtApply = fonts.Font().underline();
    };

    EXPECT_FALSE(RunFontDialog(fonts, QDialogButtonBox::Cancel));
    EXPECT_FALSE(fonts.Font().strikeOut());
    EXPECT_EQ(applied, 0);

    // What was applied stays although the dialog is cancelled afterwards.
    EXPECT_FALSE(RunFontDialog(fonts, QDialogButtonBox::Cancel, true));
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(underlinedAtApply);
    EXPECT_TRUE(fonts.Font().underline());
    EXPECT_EQ(fonts.Color(), QColor(Qt::red));

    fonts.SetFont(start);
    EXPECT_TRUE(RunFontDialog(fonts, QDialogButtonBox::Ok));
    EXPECT_TRUE(fonts.Font().strikeOut());
}
