#include "app/search/findallmodel.h"

#include "app/view/itemtext.h"

#include <QStringList>
#include <algorithm>

TFindAllModel::TFindAllModel(TTreeSearch& search, QObject* parent) : QAbstractTableModel(parent), m_search(search)
{
    m_search.AddObserver(this);
}

TFindAllModel::~TFindAllModel()
{
    m_search.RemoveObserver(this);
}

int TFindAllModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_search.Results().size());
}

int TFindAllModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString TFindAllModel::ItemPath(const TTreeListTextNode* item)
{
    return ::ItemPath(item).join(PathSeparator());
}

QVariant TFindAllModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TFindAllResult& result = m_search.Results()[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case ColumnItem:
            return ItemPath(result.item);
        case ColumnWhere:
            return result.column == TreeListColumnName ? tr("Name") : tr("Description");
        case ColumnLine:
            return result.line;
        default:
            return result.lineText;
        }
    case Qt::TextAlignmentRole:
        if (index.column() == ColumnLine)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case MatchStartRole:
        return result.lineMatchStart;
    case MatchLengthRole:
        return std::min(result.length, static_cast<int>(result.lineText.size()) - result.lineMatchStart);
    default:
        return {};
    }
}

QVariant TFindAllModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ColumnItem:
        return tr("Item");
    case ColumnWhere:
        return tr("In");
    case ColumnLine:
        return tr("Line");
    case ColumnText:
        return tr("Text");
    default:
        return {};
    }
}

void TFindAllModel::ResultsAboutToBeInserted(int first, int last)
{
    beginInsertRows(QModelIndex(), first, last);
}

void TFindAllModel::ResultsInserted()
{
    endInsertRows();
}

void TFindAllModel::ResultsAboutToBeRemoved(int first, int last)
{
    beginRemoveRows(QModelIndex(), first, last);
}

void TFindAllModel::ResultsRemoved()
{
    endRemoveRows();
}

void TFindAllModel::ResultsChanged(int first, int last)
{
    emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

void TFindAllModel::ResultsAboutToBeReset()
{
    beginResetModel();
}

void TFindAllModel::ResultsReset()
{
    endResetModel();
}
