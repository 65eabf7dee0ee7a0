#pragma once

#include <QComboBox>

#include <cstdint>

// The toolbar's icon picker: an editable combo box whose entries "0".."215"
// show only the item icon of that index in the drop-down list, named after
// its picture for a reader and in its tooltip, while the edit field shows the
// number, which the user may also type.
class TIconComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TIconComboBox(QWidget* parent = nullptr);

    // The current text as a number; throws EConvertError for anything else.
    int32_t Value() const;
};
