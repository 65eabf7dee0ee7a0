#pragma once

#include "app/search/treesearch.h"

#include <QAbstractTableModel>

// The search's results as a table: the item's path, where the match is, its
// line and that line's text, with the match's place in that text for the
// highlight.
class TFindAllModel : public QAbstractTableModel, private TTreeSearchObserver {
    Q_OBJECT
public:
    enum TColumn { ColumnItem, ColumnWhere, ColumnLine, ColumnText, ColumnCount };
    enum TRole { MatchStartRole = Qt::UserRole + 1, MatchLengthRole };

    explicit TFindAllModel(TTreeSearch& search, QObject* parent = nullptr);
    ~TFindAllModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The names from the top down to the item: "Projects › 2026 › Budget".
    static QString ItemPath(const TTreeListTextNode* item);

private:
    void ResultsAboutToBeInserted(int first, int last) override;
    void ResultsInserted() override;
    void ResultsAboutToBeRemoved(int first, int last) override;
    void ResultsRemoved() override;
    void ResultsChanged(int first, int last) override;
    void ResultsAboutToBeReset() override;
    void ResultsReset() override;

    TTreeSearch& m_search;
};
