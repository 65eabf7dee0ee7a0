#pragma once

#include <QAbstractTableModel>

class TLinksHere;
class TTreeListTextNode;

// The links to the focused item as a table: the linking item's path, the
// link's line and that line's text, with the link's place in it for the
// highlight (the roles of the Find in All Items list, so its delegate draws
// both).
class TLinksHereModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { ColumnItem, ColumnLine, ColumnText, ColumnCount };

    explicit TLinksHereModel(TLinksHere& links, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TLinksHere& m_links;
};
