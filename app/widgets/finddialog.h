#pragma once

#include "app/widgets/searchdialog.h"

// The modeless find dialog of the description pane.
class TFindDialog : public TSearchDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* parent = nullptr);
};
