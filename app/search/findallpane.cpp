#include "app/search/findallpane.h"

#include "app/search/findallmodel.h"
#include "app/search/matchdelegate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace {

QString Number(long long n)
{
    // Grouped as "1,234" whatever the desktop's language.
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(n);
}

// `text` in the plural form for n, with n grouped as above in place of %1.
QString Counted(long long n, const char* text)
{
    return QCoreApplication::translate("TFindAllPane", text, nullptr, static_cast<int>(std::min<long long>(n, INT_MAX)))
        .arg(Number(n));
}

}  // namespace

TFindAllPane::TFindAllPane(TTreeSearch& search, QWidget* parent)
    : QWidget(parent), m_search(search), m_model(new TFindAllModel(search, this)), m_findText(new QLineEdit),
      m_matchCase(new QCheckBox(tr("Match &case"))),
      m_wholeWord(new QCheckBox(tr("&Whole word"))), m_scope(new QComboBox), m_count(new QLabel),
      m_view(new QTreeView)
{
    setObjectName(QStringLiteral("FindAllPane"));
    m_findText->setObjectName(QStringLiteral("FindAllText"));
    m_findText->setPlaceholderText(tr("Find in all items"));
    m_findText->setClearButtonEnabled(true);
    m_findText->setAccessibleName(tr("Find in all items"));
    m_matchCase->setObjectName(QStringLiteral("FindAllMatchCase"));
    m_wholeWord->setObjectName(QStringLiteral("FindAllWholeWord"));
    m_scope->setObjectName(QStringLiteral("FindAllScope"));
    m_scope->setAccessibleName(tr("Look in"));
    m_scope->addItems({tr("Names and descriptions"), tr("Names"), tr("Descriptions")});
    m_count->setObjectName(QStringLiteral("FindAllCount"));
    m_count->setAccessibleDescription(tr("Matches found"));
    m_count->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_view->setObjectName(QStringLiteral("FindAllResults"));
    m_view->setAccessibleName(tr("Items found"));
    m_view->setModel(m_model);
    SetUpMatchList(*m_view, TFindAllModel::ColumnText);
    m_view->setColumnWidth(TFindAllModel::ColumnItem, 220);
    m_view->setColumnWidth(TFindAllModel::ColumnWhere, 80);
    m_view->setColumnWidth(TFindAllModel::ColumnLine, 45);

    auto* options = new QHBoxLayout;
    options->setContentsMargins(0, 0, 0, 0);
    options->addWidget(m_findText, 2);
    options->addWidget(m_matchCase);
    options->addWidget(m_wholeWord);
    options->addWidget(m_scope);
    options->addWidget(m_count, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(options);
    layout->addWidget(m_view, 1);

    const auto startSearch = [this] { m_search.Guard().Run([this] { StartSearch(); }); };
    connect(m_findText, &QLineEdit::textChanged, this, startSearch);
    connect(m_matchCase, &QCheckBox::toggled, this, startSearch);
    connect(m_wholeWord, &QCheckBox::toggled, this, startSearch);
    connect(m_scope, &QComboBox::currentIndexChanged, this, startSearch);
    connect(m_findText, &QLineEdit::returnPressed, this,
            [this] { m_search.Guard().Run([this] { ActivateCurrent(); }); });
    m_findText->installEventFilter(this);
    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit Activated(index.row());
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &TFindAllPane::EscapePressed);
    m_search.AddObserver(this);
}

TFindAllPane::~TFindAllPane()
{
    m_search.RemoveObserver(this);
}

void TFindAllPane::StartSearch()
{
    TSearchOptions options;
    options.matchCase = m_matchCase->isChecked();
    options.wholeWord = m_wholeWord->isChecked();
    m_search.Start(m_findText->text(), options, static_cast<TFindScope>(std::max(0, m_scope->currentIndex())));
}

int TFindAllPane::CurrentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TFindAllPane::SetCurrentRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index);
}

// The arrow keys in the text field move through the results, so the hand
// stays where it types.
bool TFindAllPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_findText && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int rows = m_model->rowCount();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && rows > 0) {
            const int current = CurrentRow();
            SetCurrentRow(current < 0 ? 0 : std::clamp(current + (key == Qt::Key_Down ? 1 : -1), 0, rows - 1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Enter in the text field goes to the current result, or to the first.
void TFindAllPane::ActivateCurrent()
{
    if (m_model->rowCount() == 0)
        return;
    if (CurrentRow() < 0)
        SetCurrentRow(0);
    emit Activated(CurrentRow());
}

QString TFindAllPane::CountText(const TTreeSearch& search)
{
    if (search.Matcher().IsEmpty())
        return QString();
    if (search.MatchCount() == 0)
        return search.Running() ? tr("Searching...") : tr("No matches");
    QString text = tr("%1 in %2", "matches in items")
                       .arg(Counted(search.MatchCount(), QT_TR_N_NOOP("%1 match(es)")),
                            Counted(search.ItemCount(), QT_TR_N_NOOP("%1 item(s)")));
    if (search.UnlistedCount() > 0)
        text += tr("; the first %1 are listed, %2 more are not")
                    .arg(Number(static_cast<long long>(search.Results().size())), Number(search.UnlistedCount()));
    if (search.Running())
        text += tr(", searching...");
    return text;
}

void TFindAllPane::ProgressChanged()
{
    m_count->setText(CountText(m_search));
}
