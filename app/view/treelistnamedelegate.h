#pragma once

#include <QStyledItemDelegate>

class TTreeListModel;

// The in-place name editor of the tree view. Names go back through the tree's
// EndRename, never through the model's setData, so the tree can tell the
// window whether the user changed anything. Enter or leaving the editor
// commits, Esc cancels.
class TTreeListNameDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    TTreeListNameDelegate(TTreeListModel& model, QObject* parent = nullptr);

    // The option a row is painted with; the view computes its hit areas from it.
    void InitOption(QStyleOptionViewItem* option, const QModelIndex& index) const;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    TTreeListModel& m_model;
};
