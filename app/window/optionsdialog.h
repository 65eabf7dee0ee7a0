#pragma once

#include "settings/editoroptions.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

// View > Options: starting with the last document, saving automatically and
// how soon, and numbered headings in print.
class TOptionsDialog : public QDialog {
    Q_OBJECT
public:
    TOptionsDialog(const TEditorOptions& options, QWidget* parent);
    TEditorOptions Options() const;

private:
    QCheckBox* m_reopenLast;
    QCheckBox* m_autoSave;
    QSpinBox* m_seconds;
    QCheckBox* m_numberHeadings;
};
