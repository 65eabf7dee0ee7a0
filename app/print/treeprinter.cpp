#include "app/print/treeprinter.h"

#include "app/view/itemtext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <stdexcept>

namespace {
// Point sizes of the headings by depth; deeper ones keep the last.
constexpr qreal HeadingPoints[] = {16, 14, 12, 11};
constexpr int MaxIndentLevels = 8;

// A font measured in pixels would shrink to nothing at a printer's
// resolution; in points it keeps its size on paper.
QFont InPoints(QFont font)
{
    if (font.pointSizeF() <= 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
    return font;
}
}  // namespace

TTreePrinter::TTreePrinter(TTreeList& tree, const TTreeListTextNode* root, TPrintContent content)
    : m_tree(tree), m_root(root), m_content(std::move(content))
{
    m_content.bodyFont = InPoints(m_content.bodyFont);
    m_rootLevel = root ? root->Level() : 0;
    m_next = root ? root : tree.TopItem(0);
    for (const TTreeListTextNode* item = m_next; item; item = Next(item))
        ++m_count;
    m_tree.AddObserver(this);
}

TTreePrinter::~TTreePrinter()
{
    m_tree.RemoveObserver(this);
    End();
}

const TTreeListTextNode* TTreePrinter::Next(const TTreeListTextNode* item) const
{
    const TTreeListTextNode* next = m_tree.NextInDocument(item);
    if (m_root && next && next->Level() <= m_rootLevel)
        return nullptr;
    return next;
}

void TTreePrinter::PreparePdf(QPdfWriter& writer, const QString& title)
{
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("VekTreeViewEditor"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                     QPageLayout::Millimeter));
}

bool TTreePrinter::Begin(QPagedPaintDevice& device)
{
    m_device = &device;
    if (!m_painter.begin(&device))
        return false;
    m_smallFont = QFont(m_content.bodyFont.family());
    m_smallFont.setPointSizeF(8);
    m_paper = QRectF(0, 0, device.width(), device.height());
    const qreal band = QFontMetricsF(m_smallFont, &device).height() * 2;
    m_body = m_paper.adjusted(0, band, 0, -band);
    m_indentStep = QFontMetricsF(m_content.bodyFont, &device).horizontalAdvance(QLatin1Char('M')) * 2;
    NewPage();
    return true;
}

void TTreePrinter::NewPage()
{
    if (m_page > 0)
        m_device->newPage();
    ++m_page;
    m_painter.setFont(m_smallFont);
    const qreal band = m_body.top();
    m_painter.drawText(QRectF(0, 0, m_paper.width(), band * 0.75), Qt::AlignHCenter | Qt::AlignBottom,
                       m_content.title);
    m_painter.drawText(QRectF(0, m_body.bottom() + band * 0.25, m_paper.width(), band * 0.75),
                       Qt::AlignHCenter | Qt::AlignBottom,
                       QCoreApplication::translate("TTreePrinter", "Page %1").arg(m_page));
    m_y = m_body.top();
}

bool TTreePrinter::Step(int budgetMs)
{
    if (!m_painter.isActive())
        return true;
    QElapsedTimer timer;
    timer.start();
    while (m_next && timer.elapsed() < budgetMs) {
        if (m_broken)
            throw std::runtime_error(
                QCoreApplication::translate("TTreePrinter", "The document changed while it was printed.").toStdString());
        PrintItem(*m_next);
        m_next = Next(m_next);
        ++m_done;
    }
    if (m_next)
        return false;
    m_painter.end();
    return true;
}

void TTreePrinter::End()
{
    if (m_painter.isActive())
        m_painter.end();
}

QString TTreePrinter::Number(int depth)
{
    m_numbers.resize(static_cast<size_t>(depth) + 1);
    ++m_numbers[static_cast<size_t>(depth)];
    QStringList parts;
    for (int n : m_numbers)
        parts << QString::number(n);
    return parts.join(QLatin1Char('.')) + QLatin1Char(' ');
}

void TTreePrinter::PrintItem(const TTreeListTextNode& item)
{
    const int depth = item.Level() - m_rootLevel;
    const qreal indent = m_indentStep * std::min(depth, MaxIndentLevels);
    QFont heading = m_content.bodyFont;
    heading.setFamily(QFont().family());
    heading.setBold(true);
    heading.setPointSizeF(HeadingPoints[std::min<size_t>(static_cast<size_t>(depth), std::size(HeadingPoints) - 1)]);
    const QFontMetricsF metrics(heading, m_device);
    // A heading goes to the next page rather than stand alone at the foot.
    if (m_y > m_body.top()) {
        m_y += metrics.height() * 0.5;
        if (m_y + metrics.height() + QFontMetricsF(m_content.bodyFont, m_device).height() > m_body.bottom())
            NewPage();
    }
    const QString name = ItemBytesToText(item.GetText(TreeListColumnName)).text;
    PrintParagraph(m_content.numbered ? Number(depth) + name : name, heading, indent);
    const std::string_view description = item.GetText(TreeListColumnDesc);
    if (description.empty())
        return;
    QString text = ItemBytesToText(description).text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& line : text.split(QLatin1Char('\n')))
        PrintParagraph(line, m_content.bodyFont, indent);
}

void TTreePrinter::PrintParagraph(const QString& text, const QFont& font, qreal indent)
{
    QTextLayout layout(text, font, m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(m_body.width() - indent);
    layout.endLayout();
    m_painter.setFont(font);
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (m_y + line.height() > m_body.bottom() && m_y > m_body.top())
            NewPage();
        line.draw(&m_painter, QPointF(m_body.left() + indent, m_y - line.y()));
        m_y += line.height();
    }
}
