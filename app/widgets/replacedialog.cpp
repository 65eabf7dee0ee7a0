#include "app/widgets/replacedialog.h"

#include <QLineEdit>
#include <QPushButton>

TReplaceDialog::TReplaceDialog(QWidget* parent)
    : TSearchDialog(parent, false)
{
    setObjectName(QStringLiteral("ReplaceDialog"));
    setWindowTitle(tr("Replace"));
    m_replaceEdit = AddTextRow(tr("Re&place with:"), QStringLiteral("ReplaceEdit"));
    QPushButton* replace = AddButton(tr("&Replace"), QStringLiteral("ReplaceButton"));
    connect(replace, &QPushButton::clicked, this, &TReplaceDialog::Replace);
    QPushButton* replaceAll = AddButton(tr("Replace &All"), QStringLiteral("ReplaceAllButton"));
    connect(replaceAll, &QPushButton::clicked, this, &TReplaceDialog::ReplaceAll);
}

QString TReplaceDialog::ReplaceText() const
{
    return m_replaceEdit->text();
}

void TReplaceDialog::SetReplaceText(const QString& text)
{
    m_replaceEdit->setText(text);
}
