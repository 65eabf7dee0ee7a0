#pragma once

#include <QItemSelectionModel>

class TTreeListModel;
class TTreeListSelector;

// What Qt's own view code selects (select all, the current index of a
// keyboard search) goes on to the tree's focus and selection. It keeps
// nothing: its answers would always be "nothing selected, no current index",
// and the tree view never asks it.
class TTreeListSelectionModel : public QItemSelectionModel {
    Q_OBJECT

public:
    TTreeListSelectionModel(TTreeListModel& model, TTreeListSelector& selector, QObject* parent = nullptr);

    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override;

private:
    TTreeListModel& m_model;
    TTreeListSelector& m_selector;
};
