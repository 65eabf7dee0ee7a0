#include "app/search/linksherepane.h"

#include "app/search/linkshere.h"
#include "app/search/linksheremodel.h"
#include "app/search/matchdelegate.h"
#include "app/view/itemtext.h"

#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

TLinksHerePane::TLinksHerePane(TLinksHere& links, QWidget* parent)
    : QWidget(parent), m_links(links), m_model(new TLinksHereModel(links, this)), m_count(new QLabel),
      m_view(new QTreeView)
{
    setObjectName(QStringLiteral("LinksHerePane"));
    m_count->setObjectName(QStringLiteral("LinksHereCount"));
    m_count->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_view->setObjectName(QStringLiteral("LinksHereResults"));
    m_view->setAccessibleName(tr("Links Here"));
    m_view->setModel(m_model);
    SetUpMatchList(*m_view, TLinksHereModel::ColumnText);
    m_view->setColumnWidth(TLinksHereModel::ColumnItem, 220);
    m_view->setColumnWidth(TLinksHereModel::ColumnLine, 45);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_count);
    layout->addWidget(m_view, 1);

    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit Activated(index.row());
    });
    connect(&m_links, &TLinksHere::ProgressChanged, this, &TLinksHerePane::ProgressChanged);
    ProgressChanged();
}

QString TLinksHerePane::CountText(const TLinksHere& links)
{
    const TTreeListTextNode* target = links.Target();
    if (!links.Enabled() || !target)
        return QString();
    const QString name = ItemBytesToText(target->GetText(TreeListColumnName)).text;
    if (links.Running())
        return tr("Looking for links to %1...").arg(name);
    if (links.Results().empty())
        return tr("No links to %1").arg(name);
    const size_t count = links.Results().size();
    return count == 1 ? tr("1 link to %1").arg(name) : tr("%1 links to %2").arg(count).arg(name);
}

void TLinksHerePane::ProgressChanged()
{
    m_count->setText(CountText(m_links));
}
