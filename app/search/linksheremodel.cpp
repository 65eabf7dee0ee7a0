#include "app/search/linksheremodel.h"

#include "app/search/findallmodel.h"
#include "app/search/linkshere.h"

#include <algorithm>

TLinksHereModel::TLinksHereModel(TLinksHere& links, QObject* parent) : QAbstractTableModel(parent), m_links(links)
{
    connect(&m_links, &TLinksHere::ResultsAboutToBeReset, this, &TLinksHereModel::beginResetModel);
    connect(&m_links, &TLinksHere::ResultsReset, this, &TLinksHereModel::endResetModel);
}

int TLinksHereModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_links.Results().size());
}

int TLinksHereModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TLinksHereModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TLinkHereResult& result = m_links.Results()[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case ColumnItem:
            return TFindAllModel::ItemPath(result.item);
        case ColumnLine:
            return result.line;
        default:
            return result.lineText;
        }
    case Qt::TextAlignmentRole:
        if (index.column() == ColumnLine)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case TFindAllModel::MatchStartRole:
        return result.lineLinkStart;
    case TFindAllModel::MatchLengthRole:
        return std::min(result.length, static_cast<int>(result.lineText.size()) - result.lineLinkStart);
    default:
        return {};
    }
}

QVariant TLinksHereModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const titles[ColumnCount] = {QT_TR_NOOP("Item"), QT_TR_NOOP("Line"), QT_TR_NOOP("Text")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return tr(titles[section]);
}
