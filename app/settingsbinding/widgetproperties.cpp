#include "app/settingsbinding/widgetproperties.h"

#include "app/widgets/theme.h"

#include "settings/screenfacts.h"
#include "settings/storedfont.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>

namespace {

bool Shown(Qt::ScrollBarPolicy policy)
{
    return policy != Qt::ScrollBarAlwaysOff;
}

Qt::ScrollBarPolicy Policy(bool shown)
{
    return shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
}

QString WithoutTrailingDelimiter(QString folder)
{
    const auto isDelimiter = [](QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); };
    if (folder.size() > 1 && isDelimiter(folder.back()) && folder[folder.size() - 2] != QLatin1Char(':'))
        folder.chop(1);
    return folder;
}

} // namespace

TStoredProperty CheckedProperty(QAction* action)
{
    return BooleanProperty([action] { return action->isChecked(); }, [action](bool v) { action->setChecked(v); });
}

TStoredProperty ComboBoxTextProperty(QComboBox* comboBox)
{
    return TextProperty([comboBox] { return comboBox->currentText(); },
                        [comboBox](const QString& v) { comboBox->setCurrentText(v); });
}

TStoredProperty WordWrapProperty(QPlainTextEdit* editor)
{
    return BooleanProperty([editor] { return editor->lineWrapMode() != QPlainTextEdit::NoWrap; },
                           [editor](bool v) {
                               editor->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
                           });
}

TStoredProperty ScrollBarsProperty(QPlainTextEdit* editor)
{
    // The identifiers' order gives horizontal bit 0 and vertical bit 1.
    return EnumerationProperty(
        {QStringLiteral("ssNone"), QStringLiteral("ssHorizontal"), QStringLiteral("ssVertical"),
         QStringLiteral("ssBoth")},
        [editor] {
            return qint32(Shown(editor->horizontalScrollBarPolicy())) | qint32(Shown(editor->verticalScrollBarPolicy())) << 1;
        },
        [editor](qint32 v) {
            editor->setHorizontalScrollBarPolicy(Policy(v & 1));
            editor->setVerticalScrollBarPolicy(Policy(v & 2));
        });
}

TStoredProperty EditorFontProperty(QPlainTextEdit* editor)
{
    TFontAccess access;
    access.GetFont = [editor] { return editor->font(); };
    access.SetFont = [editor](const QFont& font) { editor->setFont(font); };
    access.GetColor = [editor] { return editor->palette().color(QPalette::Text); };
    access.SetColor = [editor](const QColor& color) { SetOwnTextColor(*editor, color); };
    access.Palette = [editor] { return QApplication::palette(editor); };
    access.PixelsPerInch = [] { return TScreenFacts::Current().PixelsPerInch; };
    return FontProperty(std::move(access));
}

TStoredProperty FolderProperty(std::function<QString()> get, std::function<void(const QString&)> set)
{
    return TextProperty(std::move(get),
                        [set = std::move(set)](const QString& v) { set(WithoutTrailingDelimiter(v)); });
}
