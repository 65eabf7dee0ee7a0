#pragma once

#include "app/widgets/textsearch.h"

#include <QDialog>

class QCheckBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

// What the find and replace dialogs have in common: the find text, the
// match options, the Find Next and Cancel buttons, and modeless showing.
// Cancel and Esc only hide the dialog, so its texts survive until next time.
class TSearchDialog : public QDialog {
    Q_OBJECT
public:
    QString FindText() const;
    void SetFindText(const QString& text);
    TSearchOptions Options() const;

    // Shows the dialog without blocking and brings it to the front.
    void Execute();

signals:
    void FindNext();

protected:
    // withDirection false leaves out the Up/Down choice; Options() then
    // always searches down.
    TSearchDialog(QWidget* parent, bool withDirection);

    // Adds a labelled line edit under "Find what:".
    QLineEdit* AddTextRow(const QString& label, const QString& objectName);
    // Adds a button to the column under Find Next, above Cancel.
    QPushButton* AddButton(const QString& caption, const QString& objectName);

private:
    QFormLayout* m_textRows;
    QVBoxLayout* m_buttons;
    QLineEdit* m_findEdit;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QGroupBox* m_direction = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
};
