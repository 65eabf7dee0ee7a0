#pragma once

#include <QColor>
#include <QFont>
#include <QObject>

class QFontDialog;
class QPushButton;
class QWidget;

// The editor's font dialog: Qt's own (non-native) font dialog with an Apply
// button and a colour choice added. Font() and Color() hold the last
// confirmed or applied choice; cancelling leaves them as they were.
class TFontDialog : public QObject {
    Q_OBJECT
public:
    explicit TFontDialog(QObject* parent = nullptr);

    void SetFont(const QFont& font);
    QFont Font() const;
    void SetColor(const QColor& color);
    QColor Color() const;

    // Shows the dialog modally; true when the user confirmed it.
    bool Execute(QWidget* parent);

signals:
    // Apply was pressed; Font() and Color() took the dialog's current choice.
    void Applied();

private:
    void AddApplyButton(QFontDialog& dialog);
    void AddColorButton(QFontDialog& dialog);
    void ShowColor();
    void ChooseColor();

    QFont m_font;
    QColor m_color;
    // Valid only while Execute() runs.
    QFontDialog* m_dialog = nullptr;
    QPushButton* m_colorButton = nullptr;
    QColor m_pendingColor;
};
