#include "app/widgets/fontdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {

// The effects group is the one holding the strikeout and underline boxes.
QGroupBox* FindEffectsGroup(QFontDialog& dialog)
{
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (group->findChild<QCheckBox*>() != nullptr && group->layout() != nullptr)
            return group;
    }
    return nullptr;
}

// The sample text sits in the other group box.
QLineEdit* FindSampleEdit(QFontDialog& dialog)
{
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (group->findChild<QCheckBox*>() == nullptr) {
            if (auto* edit = group->findChild<QLineEdit*>())
                return edit;
        }
    }
    return nullptr;
}

QPixmap ColorSwatch(const QColor& color)
{
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap swatch(QSize(24, 12) * ratio);
    swatch.setDevicePixelRatio(ratio);
    swatch.fill(color);
    QPainter painter(&swatch);
    painter.setPen(QApplication::palette().color(QPalette::WindowText));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    return swatch;
}

} // namespace

TFontDialog::TFontDialog(QObject* parent)
    : QObject(parent)
    , m_color(QApplication::palette().color(QPalette::Text))
{
}

void TFontDialog::SetFont(const QFont& font)
{
    m_font = font;
}

QFont TFontDialog::Font() const
{
    return m_font;
}

void TFontDialog::SetColor(const QColor& color)
{
    m_color = color;
}

QColor TFontDialog::Color() const
{
    return m_color;
}

bool TFontDialog::Execute(QWidget* parent)
{
    QFontDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(m_font);
    m_dialog = &dialog;
    m_pendingColor = m_color;
    AddApplyButton(dialog);
    AddColorButton(dialog);

    const bool confirmed = dialog.exec() == QDialog::Accepted;
    if (confirmed) {
        m_font = dialog.selectedFont();
        m_color = m_pendingColor;
    }
    m_dialog = nullptr;
    m_colorButton = nullptr;
    return confirmed;
}

void TFontDialog::AddApplyButton(QFontDialog& dialog)
{
    auto* box = dialog.findChild<QDialogButtonBox*>();
    if (box == nullptr)
        return;
    QPushButton* apply = box->addButton(QDialogButtonBox::Apply);
    apply->setText(tr("&Apply"));
    apply->setObjectName(QStringLiteral("ApplyButton"));
    connect(apply, &QPushButton::clicked, this, [this]() {
        m_font = m_dialog->currentFont();
        m_color = m_pendingColor;
        emit Applied();
    });
}

void TFontDialog::AddColorButton(QFontDialog& dialog)
{
    m_colorButton = new QPushButton(tr("C&olour..."));
    m_colorButton->setObjectName(QStringLiteral("ColorButton"));
    connect(m_colorButton, &QPushButton::clicked, this, &TFontDialog::ChooseColor);
    if (QGroupBox* effects = FindEffectsGroup(dialog)) {
        m_colorButton->setParent(effects);
        effects->layout()->addWidget(m_colorButton);
    } else if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
        box->addButton(m_colorButton, QDialogButtonBox::ActionRole);
    } else {
        m_colorButton->setParent(&dialog);
    }
    ShowColor();
}

void TFontDialog::ShowColor()
{
    m_colorButton->setIcon(QIcon(ColorSwatch(m_pendingColor)));
    m_colorButton->setIconSize(QSize(24, 12));
    // The sample text previews the colour as well as the font.
    if (QLineEdit* sample = FindSampleEdit(*m_dialog)) {
        QPalette palette = sample->palette();
        palette.setColor(QPalette::Text, m_pendingColor);
        sample->setPalette(palette);
    }
}

void TFontDialog::ChooseColor()
{
    const QColor color = QColorDialog::getColor(m_pendingColor, m_dialog, tr("Colour"),
                                                QColorDialog::DontUseNativeDialog);
    if (!color.isValid())
        return;
    m_pendingColor = color;
    ShowColor();
}
