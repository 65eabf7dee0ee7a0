#include "app/widgets/searchdialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TSearchDialog::TSearchDialog(QWidget* parent, bool withDirection)
    : QDialog(parent)
{
    setModal(false);
    setSizeGripEnabled(false);

    m_textRows = new QFormLayout;
    m_findEdit = AddTextRow(tr("Fi&nd what:"), QStringLiteral("FindEdit"));

    m_wholeWord = new QCheckBox(tr("Match &whole word only"), this);
    m_wholeWord->setObjectName(QStringLiteral("WholeWordCheck"));
    m_matchCase = new QCheckBox(tr("Match &case"), this);
    m_matchCase->setObjectName(QStringLiteral("MatchCaseCheck"));
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);
    checks->addStretch();

    auto* optionsRow = new QHBoxLayout;
    optionsRow->addLayout(checks);
    if (withDirection) {
        m_direction = new QGroupBox(tr("Direction"), this);
        m_direction->setObjectName(QStringLiteral("DirectionGroup"));
        m_up = new QRadioButton(tr("&Up"), m_direction);
        m_up->setObjectName(QStringLiteral("UpRadio"));
        m_down = new QRadioButton(tr("&Down"), m_direction);
        m_down->setObjectName(QStringLiteral("DownRadio"));
        m_down->setChecked(true);
        auto* directionLayout = new QHBoxLayout(m_direction);
        directionLayout->addWidget(m_up);
        directionLayout->addWidget(m_down);
        optionsRow->addWidget(m_direction, 0, Qt::AlignTop);
    }

    auto* left = new QVBoxLayout;
    left->addLayout(m_textRows);
    left->addLayout(optionsRow);
    left->addStretch();

    auto* findNext = new QPushButton(tr("&Find Next"), this);
    findNext->setObjectName(QStringLiteral("FindNextButton"));
    findNext->setDefault(true);
    connect(findNext, &QPushButton::clicked, this, &TSearchDialog::FindNext);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_buttons = new QVBoxLayout;
    m_buttons->addWidget(findNext);
    m_buttons->addWidget(cancel);
    m_buttons->addStretch();

    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(m_buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* TSearchDialog::AddTextRow(const QString& label, const QString& objectName)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    edit->setMinimumWidth(200);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(edit);
    m_textRows->addRow(caption, edit);
    return edit;
}

QPushButton* TSearchDialog::AddButton(const QString& caption, const QString& objectName)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    // Keep Cancel last, before the stretch.
    m_buttons->insertWidget(m_buttons->count() - 2, button);
    return button;
}

QString TSearchDialog::FindText() const
{
    return m_findEdit->text();
}

void TSearchDialog::SetFindText(const QString& text)
{
    m_findEdit->setText(text);
}

TSearchOptions TSearchDialog::Options() const
{
    TSearchOptions options;
    options.matchCase = m_matchCase->isChecked();
    options.wholeWord = m_wholeWord->isChecked();
    options.down = m_down == nullptr || m_down->isChecked();
    return options;
}

void TSearchDialog::Execute()
{
    show();
    raise();
    activateWindow();
    m_findEdit->setFocus();
    m_findEdit->selectAll();
}
