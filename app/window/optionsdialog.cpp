#include "app/window/optionsdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TOptionsDialog::TOptionsDialog(const TEditorOptions& options, QWidget* parent)
    : QDialog(parent), m_reopenLast(new QCheckBox(tr("&Start with the last document"))),
      m_autoSave(new QCheckBox(tr("Save &automatically"))), m_seconds(new QSpinBox),
      m_numberHeadings(new QCheckBox(tr("&Number the headings when printing")))
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(tr("Options"));
    m_reopenLast->setObjectName(QStringLiteral("ReopenLast"));
    m_reopenLast->setToolTip(tr("When no file is given on the command line"));
    m_reopenLast->setChecked(options.ReopenLast);
    m_autoSave->setObjectName(QStringLiteral("AutoSave"));
    m_autoSave->setChecked(options.AutoSave);
    m_seconds->setObjectName(QStringLiteral("AutoSaveSeconds"));
    m_seconds->setRange(TEditorOptions::MinAutoSaveSeconds, TEditorOptions::MaxAutoSaveSeconds);
    m_seconds->setValue(options.AutoSaveSeconds);
    m_seconds->setSuffix(tr(" s after the last change"));
    m_seconds->setAccessibleName(tr("Seconds after the last change"));
    m_seconds->setEnabled(options.AutoSave);
    connect(m_autoSave, &QCheckBox::toggled, m_seconds, &QSpinBox::setEnabled);
    m_numberHeadings->setObjectName(QStringLiteral("NumberHeadings"));
    m_numberHeadings->setChecked(options.NumberHeadings);

    auto* autoSaveRow = new QHBoxLayout;
    autoSaveRow->addWidget(m_autoSave);
    autoSaveRow->addWidget(m_seconds);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_reopenLast);
    layout->addLayout(autoSaveRow);
    layout->addWidget(m_numberHeadings);
    layout->addWidget(buttons);
}

TEditorOptions TOptionsDialog::Options() const
{
    TEditorOptions options;
    options.ReopenLast = m_reopenLast->isChecked();
    options.AutoSave = m_autoSave->isChecked();
    options.AutoSaveSeconds = m_seconds->value();
    options.NumberHeadings = m_numberHeadings->isChecked();
    return options;
}
