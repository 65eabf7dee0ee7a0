#include "app/widgets/finddialog.h"

TFindDialog::TFindDialog(QWidget* parent)
    : TSearchDialog(parent, true)
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(tr("Find"));
}
