#include "app/about/aboutdialog.h"

#include "app/about/helpcommands.h"
#include "app/about/product.h"
#include "app/about/version.h"
#include "app/widgets/cursors.h"
#include "app/widgets/imagelists.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

TfrmAboutDlg* frmAboutDlg = nullptr;

uint64_t PhysicalMemoryBytes()
{
#ifdef _WIN32
    MEMORYSTATUSEX status;
    status.dwLength = sizeof(status);
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
#else
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return uint64_t(pages) * uint64_t(pageSize);
#endif
}

QString MemoryFigure(uint64_t bytes)
{
    return QString::number(bytes >> 10) + QStringLiteral(" KB");
}

namespace {

constexpr int ClientWidth = 321;
constexpr int ClientHeight = 273;

// The dialog was drawn with Windows faces. Liberation Serif has Times New
// Roman's metrics; MS Sans Serif and Verdana become the desktop's default
// sans-serif face, whatever fontconfig's "sans-serif" names.
QFont Face(const char* family, int pixelSize, bool bold, QFont::StyleHint hint)
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont SansSerif(int pixelSize, bool bold = false)
{
    return Face("sans-serif", pixelSize, bold, QFont::SansSerif);
}

QFont Serif(int pixelSize, bool bold)
{
    return Face("Liberation Serif", pixelSize, bold, QFont::Serif);
}

// The box is where the text starts, or ends when right-aligned; a text wider
// than its box (another face, a longer setting, a bigger figure) widens it the
// way the text runs instead of being cut.
void FitToText(QLabel* label)
{
    const QRect box = label->geometry();
    const int width = label->fontMetrics().horizontalAdvance(label->text());
    if (width <= box.width())
        return;
    if (label->alignment() & Qt::AlignRight)
        label->setGeometry(box.right() + 1 - width, box.top(), width, box.height());
    else
        label->setGeometry(box.left(), box.top(), width, box.height());
}

} // namespace

TfrmAboutDlg::TfrmAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAboutDlg"));
    setWindowTitle(tr("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(SansSerif(11));
    CreateComponents();
    FormCreate();

    // Moving it first keeps Qt from centring it on the parent instead.
    QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
        move(screen->availableGeometry().center() - rect().center());
}

QLabel* TfrmAboutDlg::AddLabel(const char* name, const QString& text, const QRect& box, const QFont& font,
                               Qt::Alignment alignment)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setAlignment(alignment);
    label->setGeometry(box);
    FitToText(label);
    return label;
}

void TfrmAboutDlg::CreateComponents()
{
    auto* imgProductIcon = new QLabel(this);
    imgProductIcon->setObjectName(QStringLiteral("imgProductIcon"));
    imgProductIcon->setPixmap(ProductIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    imgProductIcon->setAlignment(Qt::AlignCenter);
    imgProductIcon->setGeometry(8, 8, 32, 32);

    // The two names overlap: the second sits just below and beside the first.
    AddLabel("lbProductName1", QStringLiteral("Vek"), {48, 8, 42, 24}, Serif(21, true));
    AddLabel("lbProductName2", QStringLiteral("TreeViewEditor"), {48, 24, 206, 29}, SansSerif(24, true));
    AddLabel("lbVersion", tr("Version %1").arg(QStringLiteral(VEK_VERSION_MAJOR_MINOR)), {48, 56, 53, 13}, font());
    AddLabel("lbCopyright", CopyrightNotice(), {48, 72, 133, 13}, font());

    QFont linkFont = font();
    linkFont.setUnderline(true);
    m_lbWebLink = AddLabel("lbWebLink", AuthorEmail(), {48, 88, 222, 13}, linkFont);
    QPalette linkPalette = m_lbWebLink->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    m_lbWebLink->setPalette(linkPalette);
    m_lbWebLink->setToolTip(QStringLiteral("MailTo:\n") + AuthorEmail());
    m_lbWebLink->installEventFilter(this);

    auto* BevelMidt = new QFrame(this);
    BevelMidt->setObjectName(QStringLiteral("BevelMidt"));
    BevelMidt->setFrameShape(QFrame::HLine);
    BevelMidt->setFrameShadow(QFrame::Sunken);
    BevelMidt->setGeometry(48, 120, 261, 2);

    AddLabel("lbMemory1", tr("Physical memory:"), {48, 128, 144, 13}, font());
    m_lbMemory2 = AddLabel("lbMemory2", QStringLiteral("0 KB"), {286, 128, 23, 13}, font(),
                           Qt::AlignRight | Qt::AlignTop);

    auto* BtnOk = new QPushButton(tr("OK"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setGeometry(234, 152, 75, 25);
    BtnOk->setDefault(true);
    // Esc reaches QDialog::reject(), which closes it the same way.
    connect(BtnOk, &QPushButton::clicked, this, &TfrmAboutDlg::BtnOkClick);

    auto* pnlComments = new QFrame(this);
    pnlComments->setObjectName(QStringLiteral("pnlComments"));
    pnlComments->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    pnlComments->setGeometry(48, 192, 261, 73);
    auto* comments = new QLabel(tr("A note organiser: a tree of items, each with a name, an icon and "
                                               "a free-text description, kept in one tree data file."),
                                pnlComments);
    comments->setObjectName(QStringLiteral("lbComments"));
    comments->setWordWrap(true);
    comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    comments->setGeometry(pnlComments->contentsRect().adjusted(4, 4, -4, -4));
}

void TfrmAboutDlg::FormCreate()
{
    m_lbWebLink->setCursor(HandPointCursor());
    m_lbMemory2->setText(MemoryFigure(PhysicalMemoryBytes()));
    FitToText(m_lbMemory2);
}

bool TfrmAboutDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lbWebLink && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_lbWebLink->rect().contains(mouse->position().toPoint())) {
            lbWebLinkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAboutDlg::lbWebLinkClick()
{
    OpenLink(MailLink());
}

void TfrmAboutDlg::BtnOkClick()
{
    accept();
}
