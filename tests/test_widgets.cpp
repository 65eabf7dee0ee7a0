#include "cursors.h"
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

#include <optional>

// ---- StrToInt --------------------------------------------------------------

struct StrToIntCase {
    const char* text;
    std::optional<int32_t> value; // nullopt: conversion error expected
};

class StrToIntTest : public ::testing::TestWithParam<StrToIntCase> {};

TEST_P(StrToIntTest, Converts)
{
    const StrToIntCase& c = GetParam();
    if (c.value) {
        EXPECT_EQ(StrToInt(c.text), *c.value) << '"' << c.text << '"';
    } else {
        try {
            StrToInt(c.text);
            FAIL() << "no error for \"" << c.text << '"';
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("'") + c.text + "' is not a valid integer value");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StrToIntTest, ::testing::Values(
    StrToIntCase{"0", 0},
    StrToIntCase{"215", 215},
    StrToIntCase{"007", 7},
    StrToIntCase{" 12", 12},
    StrToIntCase{"\t 12", 12},
    StrToIntCase{"-5", -5},
    StrToIntCase{"+5", 5},
    StrToIntCase{"  -0", 0},
    StrToIntCase{"$FF", 255},
    StrToIntCase{"$ff", 255},
    StrToIntCase{"x1f", 31},
    StrToIntCase{"X1F", 31},
    StrToIntCase{"0x10", 16},
    StrToIntCase{"0X10", 16},
    StrToIntCase{"-$10", -16},
    StrToIntCase{"$7FFFFFFF", 2147483647},
    StrToIntCase{"$80000000", INT32_MIN},
    StrToIntCase{"$FFFFFFFF", -1},
    StrToIntCase{"2147483647", 2147483647},
    StrToIntCase{"-2147483648", INT32_MIN},
    StrToIntCase{"abc", std::nullopt},
    StrToIntCase{"", std::nullopt},
    StrToIntCase{"   ", std::nullopt},
    StrToIntCase{"12 ", std::nullopt},
    StrToIntCase{"1 2", std::nullopt},
    StrToIntCase{"12a", std::nullopt},
    StrToIntCase{"-", std::nullopt},
    StrToIntCase{"+-1", std::nullopt},
    StrToIntCase{"- 1", std::nullopt},
    StrToIntCase{"$", std::nullopt},
    StrToIntCase{"0x", std::nullopt},
    StrToIntCase{"$G", std::nullopt},
    StrToIntCase{"1.5", std::nullopt},
    StrToIntCase{"2147483648", std::nullopt},
    StrToIntCase{"-2147483649", std::nullopt},
    StrToIntCase{"99999999999999999999", std::nullopt},
    StrToIntCase{"$100000000", std::nullopt}));

// ---- FindInText ------------------------------------------------------------

struct FindCase {
    const char* name;
    const char* text;
    const char* what;
    int selStart;
    int selEnd;
    TSearchOptions options;
    int expected;
};

class FindInTextTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindInTextTest, Finds)
{
    const FindCase& c = GetParam();
    EXPECT_EQ(FindInText(QString::fromUtf8(c.text), QString::fromUtf8(c.what), c.selStart,
                         c.selEnd, c.options), c.expected);
}

constexpr TSearchOptions Down{false, false, true};
constexpr TSearchOptions Up{false, false, false};
constexpr TSearchOptions DownCase{true, false, true};
constexpr TSearchOptions UpCase{true, false, false};
constexpr TSearchOptions DownWord{false, true, true};
constexpr TSearchOptions UpWord{false, true, false};

INSTANTIATE_TEST_SUITE_P(Table, FindInTextTest, ::testing::Values(
    FindCase{"DownFromStart", "one two one", "one", 0, 0, Down, 0},
    FindCase{"DownAfterSelection", "one two one", "one", 0, 3, Down, 8},
    FindCase{"DownStartsInsideSelectionSkipped", "aaaa", "aa", 0, 1, Down, 1},
    FindCase{"DownNoWrap", "one two one", "one", 9, 9, Down, -1},
    FindCase{"DownAtEnd", "abc", "c", 3, 3, Down, -1},
    FindCase{"NotFound", "one two", "three", 0, 0, Down, -1},
    FindCase{"EmptyWhat", "one two", "", 0, 0, Down, -1},
    FindCase{"EmptyText", "", "a", 0, 0, Down, -1},
    FindCase{"CaseInsensitiveByDefault", "Hello", "hELLO", 0, 0, Down, 0},
    FindCase{"MatchCaseRejects", "hello HELLO", "HELLO", 0, 0, DownCase, 6},
    FindCase{"MatchCaseNotFound", "hello", "HELLO", 0, 0, DownCase, -1},
    FindCase{"UpFromEnd", "one two one", "one", 11, 11, Up, 8},
    FindCase{"UpBeforeSelection", "one two one", "one", 8, 11, Up, 0},
    FindCase{"UpOverlappingSelectionSkipped", "one two one", "one", 10, 10, Up, 0},
    FindCase{"UpAtStart", "one two one", "one", 0, 0, Up, -1},
    FindCase{"UpMatchCase", "ONE one", "ONE", 7, 7, UpCase, 0},
    FindCase{"WholeWordRejectsThenAccepts", "cat concat cat", "cat", 0, 0, DownWord, 0},
    FindCase{"WholeWordSkipsInnerMatch", "concat cat", "cat", 0, 0, DownWord, 7},
    FindCase{"WholeWordUnderscoreIsWordChar", "a_cat cat_ cat", "cat", 0, 0, DownWord, 11},
    FindCase{"WholeWordDigitIsWordChar", "cat1 cat", "cat", 0, 0, DownWord, 5},
    FindCase{"WholeWordPunctuationBounds", "(cat)", "cat", 0, 0, DownWord, 1},
    FindCase{"WholeWordNone", "concat cats", "cat", 0, 0, DownWord, -1},
    FindCase{"WholeWordUp", "cat cats", "cat", 8, 8, UpWord, 0},
    FindCase{"UpSelectionBeyondEndClamped", "abca", "a", 99, 99, Up, 3},
    FindCase{"DownNegativeSelectionClamped", "abca", "a", -5, -5, Down, 0}),
    [](const ::testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST(FindInText, ConsecutiveSearchesWalkThroughOccurrences)
{
    const QString text = QStringLiteral("x ab y ab z ab");
    const QString what = QStringLiteral("AB");
    std::vector<int> found;
    int start = 0, end = 0;
    for (int pos; (pos = FindInText(text, what, start, end, Down)) >= 0;) {
        found.push_back(pos);
        start = pos;
        end = pos + 2;
    }
    EXPECT_EQ(found, (std::vector<int>{2, 7, 12}));

    found.clear();
    for (int pos; (pos = FindInText(text, what, start, end, Up)) >= 0;) {
        found.push_back(pos);
        start = pos;
        end = pos + 2;
    }
    EXPECT_EQ(found, (std::vector<int>{7, 2}));
}

// ---- Image lists -----------------------------------------------------------

TEST(ImageLists, CountsAndPictures)
{
    struct {
        const TImageList& list;
        int count;
    } lists[] = {{ImageListTV(), 216}, {ImageListMenu(), 19}, {ImageListMemo(), 11}};
    for (const auto& l : lists) {
        ASSERT_EQ(l.list.Count(), l.count);
        for (int i = 0; i < l.count; ++i) {
            const QPixmap pixmap = l.list.Pixmap(i);
            ASSERT_FALSE(pixmap.isNull()) << l.count << ":" << i;
            EXPECT_EQ(pixmap.size(), QSize(16, 16)) << l.count << ":" << i;
            EXPECT_FALSE(l.list.Icon(i).isNull()) << l.count << ":" << i;
        }
        EXPECT_TRUE(l.list.Icon(-1).isNull());
        EXPECT_TRUE(l.list.Icon(l.count).isNull());
        EXPECT_TRUE(l.list.Pixmap(l.count).isNull());
    }
}

TEST(ImageLists, ItemIconsAreNotAllTheSame)
{
    EXPECT_NE(ImageListTV().Pixmap(0).toImage(), ImageListTV().Pixmap(14).toImage());
}

TEST(Cursors, AreDistinctShapes)
{
    EXPECT_EQ(HandPointCursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(DragCursor().shape(), Qt::DragMoveCursor);
}

// ---- Icon picker -----------------------------------------------------------

TEST(IconComboBox, OffersTheItemIconsByNumber)
{
    TIconComboBox box;
    EXPECT_EQ(box.objectName(), QStringLiteral("IconComboBox"));
    EXPECT_TRUE(box.isEditable());
    EXPECT_EQ(box.width(), 79);
    ASSERT_EQ(box.count(), 216);
    for (int i = 0; i < box.count(); ++i)
        ASSERT_EQ(box.itemText(i), QString::number(i));
    // The list rows are pictures only, sized for one icon.
    const QSize hint = box.view()->sizeHintForIndex(box.model()->index(5, 0));
    EXPECT_LT(hint.height(), 32);
}

TEST(IconComboBox, ValueConvertsTheText)
{
    TIconComboBox box;
    QSignalSpy changed(&box, &QComboBox::currentTextChanged);
    box.setCurrentIndex(12);
    EXPECT_EQ(box.Value(), 12);
    box.setEditText(QStringLiteral("$10"));
    EXPECT_EQ(box.Value(), 16);
    EXPECT_EQ(changed.count(), 2);
    box.setEditText(QStringLiteral("300"));
    EXPECT_EQ(box.Value(), 300);
    box.setEditText(QStringLiteral("folder"));
    try {
        box.Value();
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'folder' is not a valid integer value");
    }
}

TEST(IconComboBox, TypedTextIsNotAddedAsEntry)
{
    TIconComboBox box;
    box.lineEdit()->clear();
    QTest::keyClicks(box.lineEdit(), QStringLiteral("999"));
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box.count(), 216);
    EXPECT_EQ(box.currentText(), QStringLiteral("999"));
}

// ---- Find and replace dialogs ----------------------------------------------

template <class T>
T* Child(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST(FindDialog, ButtonsAndOptions)
{
    TFindDialog dialog;
    EXPECT_FALSE(dialog.isModal());
    TSearchOptions options = dialog.Options();
    EXPECT_FALSE(options.matchCase);
    EXPECT_FALSE(options.wholeWord);
    EXPECT_TRUE(options.down);

    dialog.SetFindText(QStringLiteral("needle"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "FindEdit")->text(), QStringLiteral("needle"));
    QTest::keyClicks(Child<QLineEdit>(dialog, "FindEdit"), QStringLiteral("s"));
    EXPECT_EQ(dialog.FindText(), QStringLiteral("needles"));

    Child<QCheckBox>(dialog, "MatchCaseCheck")->setChecked(true);
    Child<QRadioButton>(dialog, "UpRadio")->setChecked(true);
    options = dialog.Options();
    EXPECT_TRUE(options.matchCase);
    EXPECT_FALSE(options.wholeWord);
    EXPECT_FALSE(options.down);
    Child<QCheckBox>(dialog, "WholeWordCheck")->setChecked(true);
    EXPECT_TRUE(dialog.Options().wholeWord);

    dialog.Execute();
    EXPECT_TRUE(dialog.isVisible());
    QSignalSpy findNext(&dialog, &TFindDialog::FindNext);
    QTest::mouseClick(Child<QPushButton>(dialog, "FindNextButton"), Qt::LeftButton);
    EXPECT_EQ(findNext.count(), 1);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.FindText(), QStringLiteral("needles"));
}

TEST(FindDialog, EnterFindsNextEscapeHides)
{
    TFindDialog dialog;
    dialog.Execute();
    QSignalSpy findNext(&dialog, &TFindDialog::FindNext);
    QTest::keyClick(Child<QLineEdit>(dialog, "FindEdit"), Qt::Key_Return);
    EXPECT_EQ(findNext.count(), 1);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ReplaceDialog, ButtonsAndTexts)
{
    TReplaceDialog dialog;
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.findChild<QRadioButton*>(), nullptr);
    EXPECT_TRUE(dialog.Options().down);

    dialog.SetFindText(QStringLiteral("old"));
    dialog.SetReplaceText(QStringLiteral("new"));
    EXPECT_EQ(dialog.FindText(), QStringLiteral("old"));
    EXPECT_EQ(dialog.ReplaceText(), QStringLiteral("new"));
    Child<QCheckBox>(dialog, "WholeWordCheck")->setChecked(true);
    EXPECT_TRUE(dialog.Options().wholeWord);
    EXPECT_TRUE(dialog.Options().down);

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

// ---- Font dialog -----------------------------------------------------------

namespace {

// Runs `step` on the font dialog once its modal loop has started.
void WhenFontDialogShows(std::function<void(QFontDialog&)> step)
{
    QTimer::singleShot(0, [step]() {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(*dialog);
    });
}

QPushButton* StandardButton(QFontDialog& dialog, QDialogButtonBox::StandardButton which)
{
    auto* box = dialog.findChild<QDialogButtonBox*>();
    QPushButton* button = box ? box->button(which) : nullptr;
    if (button == nullptr)
        ADD_FAILURE() << "no standard button " << which;
    return button;
}

QPushButton* ButtonNamed(QFontDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    if (button == nullptr)
        ADD_FAILURE() << name;
    return button;
}

} // namespace

TEST(FontDialog, ApplyReportsTheCurrentChoiceAndCancelKeepsIt)
{
    TFontDialog fonts;
    QFont start = QApplication::font();
    start.setUnderline(false);
    fonts.SetFont(start);
    fonts.SetColor(Qt::red);
    EXPECT_EQ(fonts.Color(), QColor(Qt::red));

    int applied = 0;
    bool underlinedAtApply = false;
    fonts.OnApply = [&]() {
        ++applied;
        underlinedAtApply = fonts.Font().underline();
    };
    WhenFontDialogShows([](QFontDialog& dialog) {
        QFont font = dialog.currentFont();
        font.setUnderline(true);
        dialog.setCurrentFont(font);
        if (QPushButton* apply = ButtonNamed(dialog, "ApplyButton"))
            apply->click();
        EXPECT_TRUE(dialog.isVisible());
        if (QPushButton* cancel = StandardButton(dialog, QDialogButtonBox::Cancel))
            cancel->click();
    });
    EXPECT_FALSE(fonts.Execute(nullptr));
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(underlinedAtApply);
    EXPECT_TRUE(fonts.Font().underline());
    EXPECT_EQ(fonts.Color(), QColor(Qt::red));
}

TEST(FontDialog, OkReturnsTheChoiceCancelDiscardsIt)
{
    TFontDialog fonts;
    QFont start = QApplication::font();
    start.setStrikeOut(false);
    fonts.SetFont(start);

    WhenFontDialogShows([](QFontDialog& dialog) {
        EXPECT_NE(ButtonNamed(dialog, "ColorButton"), nullptr);
        QFont font = dialog.currentFont();
        font.setStrikeOut(true);
        dialog.setCurrentFont(font);
        dialog.reject();
    });
    EXPECT_FALSE(fonts.Execute(nullptr));
    EXPECT_FALSE(fonts.Font().strikeOut());

    WhenFontDialogShows([](QFontDialog& dialog) {
        QFont font = dialog.currentFont();
        font.setStrikeOut(true);
        dialog.setCurrentFont(font);
        if (QPushButton* ok = StandardButton(dialog, QDialogButtonBox::Ok))
            ok->click();
    });
    EXPECT_TRUE(fonts.Execute(nullptr));
    EXPECT_TRUE(fonts.Font().strikeOut());
}
