#pragma once

#include "app/widgets/searchdialog.h"

class QLineEdit;

// The modeless replace dialog of the description pane. Like the platform's
// replace dialog it has no direction choice: it always searches down.
class TReplaceDialog : public TSearchDialog {
    Q_OBJECT
public:
    explicit TReplaceDialog(QWidget* parent = nullptr);

    QString ReplaceText() const;
    void SetReplaceText(const QString& text);

signals:
    void Replace();
    void ReplaceAll();

private:
    QLineEdit* m_replaceEdit;
};
