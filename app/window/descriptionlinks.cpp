#include "app/window/descriptionlinks.h"

#include "app/view/itemtext.h"
#include "app/window/application.h"
#include "app/window/editorlayers.h"
#include "app/window/itemcommands.h"
#include "app/window/prompter.h"
#include "app/window/visibletext.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QUrl>
#include <algorithm>

namespace {

// How far beyond the screen a long block is scanned, so a link that starts
// off screen is still found whole.
constexpr int ScanMargin = 4096;

}  // namespace

TDescriptionLinks::TDescriptionLinks(TTreeList& tree, QPlainTextEdit& memo, TEditorLayers& layers, QLabel& hintPanel,
                                     TItemCommands& itemCommands)
    : m_tree(tree), m_memo(memo), m_layers(layers), m_hintPanel(hintPanel), m_itemCommands(itemCommands)
{
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    ConnectGuarded(&m_refreshTimer, &QTimer::timeout, this, &TDescriptionLinks::RefreshLinks);
    ConnectGuarded(&m_memo, &QPlainTextEdit::textChanged, this, &TDescriptionLinks::ScheduleRefresh);
    ConnectGuarded(m_memo.verticalScrollBar(), &QScrollBar::valueChanged, this, &TDescriptionLinks::ScheduleRefresh);
    ConnectGuarded(m_memo.horizontalScrollBar(), &QScrollBar::valueChanged, this,
                   &TDescriptionLinks::ScheduleRefresh);
    m_memo.installEventFilter(this);
    m_memo.viewport()->installEventFilter(this);
    m_memo.viewport()->setMouseTracking(true);
    m_tree.AddObserver(this);
}

TDescriptionLinks::~TDescriptionLinks()
{
    m_tree.RemoveObserver(this);
}

void TDescriptionLinks::ItemChanged(TTreeListTextNode* item)
{
    // Typing in the focused item's description changes the item each key;
    // only a change of a name can change what a link finds.
    if (item && item == m_tree.FocusedItem() && item->GetText(TreeListColumnName) == m_focusedName)
        return;
    TreeChanged();
}

void TDescriptionLinks::FocusChanged(TTreeListTextNode* item)
{
    m_focusedName = item ? std::string(item->GetText(TreeListColumnName)) : std::string();
}

void TDescriptionLinks::TreeChanged()
{
    m_resolved.clear();
    if (TTreeListTextNode* focused = m_tree.FocusedItem())
        m_focusedName = std::string(focused->GetText(TreeListColumnName));
    ScheduleRefresh();
}

void TDescriptionLinks::ScheduleRefresh()
{
    m_refreshTimer.start();
}

std::vector<TEditorLink> TDescriptionLinks::LinksIn(const QTextBlock& block, int from, int to) const
{
    int offset = 0;
    const QString text = StretchText({block, from, to}, ScanMargin, &offset);
    std::vector<TEditorLink> links;
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
    for (const TLinkSpan& span : FindLinks(view)) {
        const int start = block.position() + offset + static_cast<int>(span.start);
        links.push_back({start, start + static_cast<int>(span.length), span.kind,
                         text.mid(static_cast<qsizetype>(span.start), static_cast<qsizetype>(span.length))});
    }
    return links;
}

void TDescriptionLinks::RefreshLinks()
{
    m_refreshTimer.stop();
    std::vector<TEditorLink> links;
    for (const TVisibleStretch& stretch : VisibleStretches(m_memo)) {
        std::vector<TEditorLink> found = LinksIn(stretch.block, stretch.from, stretch.to);
        links.insert(links.end(), found.begin(), found.end());
    }
    std::vector<bool> broken;
    for (const TEditorLink& link : links)
        broken.push_back(IsBroken(link));

    auto same = [](const TEditorLink& a, const TEditorLink& b) {
        return a.start == b.start && a.end == b.end && a.kind == b.kind && a.text == b.text;
    };
    // Setting the selections repaints the editor; the same links need none.
    if (broken == m_drawnBroken && std::equal(links.begin(), links.end(), m_drawn.begin(), m_drawn.end(), same))
        return;
    QList<QTextEdit::ExtraSelection> selections;
    const QPalette palette = m_memo.palette();
    for (size_t i = 0; i < links.size(); ++i) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(m_memo.document());
        selection.cursor.setPosition(links[i].start);
        selection.cursor.setPosition(links[i].end, QTextCursor::KeepAnchor);
        if (broken[i]) {
            selection.format.setForeground(palette.color(QPalette::Disabled, QPalette::Text));
            selection.format.setUnderlineStyle(QTextCharFormat::DotLine);
        } else {
            selection.format.setForeground(palette.color(QPalette::Link));
            selection.format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        }
        selections << selection;
    }
    m_layers.SetLayer(TEditorLayer::Links, std::move(selections));
    m_drawn = std::move(links);
    m_drawnBroken = std::move(broken);
}

std::optional<TEditorLink> TDescriptionLinks::LinkAtPosition(int position) const
{
    const QTextBlock block = m_memo.document()->findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    const int inBlock = position - block.position();
    for (const TEditorLink& link : LinksIn(block, inBlock, inBlock))
        if (position >= link.start && position <= link.end)
            return link;
    return std::nullopt;
}

std::optional<TEditorLink> TDescriptionLinks::LinkAtPoint(const QPoint& point) const
{
    const int position = m_memo.cursorForPosition(point).position();
    std::optional<TEditorLink> link = LinkAtPosition(position);
    if (!link)
        return std::nullopt;
    // The caret position nearest the point: at either end of the link it
    // may lie beside it, as past the end of its line.
    auto x = [this](int at) {
        QTextCursor cursor(m_memo.document());
        cursor.setPosition(at);
        return m_memo.cursorRect(cursor).x();
    };
    if ((position == link->start && point.x() < x(link->start)) || (position == link->end && point.x() > x(link->end)))
        return std::nullopt;
    return link;
}

TTreeListTextNode* TDescriptionLinks::Resolve(const QString& link) const
{
    std::u16string key = link.toStdU16String();
    const auto found = m_resolved.find(key);
    if (found != m_resolved.end())
        return found->second;
    TTreeListTextNode* item = ResolveItemLink(m_tree, ItemLinkPath(key));
    m_resolved.emplace(std::move(key), item);
    return item;
}

bool TDescriptionLinks::IsBroken(const TEditorLink& link) const
{
    return link.kind == TLinkKind::Item && !Resolve(link.text);
}

void TDescriptionLinks::FollowLink(const TEditorLink& link)
{
    if (link.kind == TLinkKind::Item) {
        FollowItemLink(link.text);
        return;
    }
    // The desktop opens a file: link as it opens a file from its file
    // manager; nothing is ever started here.
    QDesktopServices::openUrl(QUrl(link.text, QUrl::TolerantMode));
}

void TDescriptionLinks::FollowItemLink(const QString& link)
{
    if (TTreeListTextNode* item = Resolve(link)) {
        item->MakeVisible();
        m_tree.ClearSelection();
        item->SetSelected(true);
        emit Jumping();
        item->SetFocused();
        return;
    }
    TTreeListTextNode* focused = m_tree.FocusedItem();
    const std::vector<std::u16string> path = ItemLinkPath(link.toStdU16String());
    if (!focused || path.back().empty())
        return;
    const QString name = QString::fromStdU16String(path.back());
    const TItemText parent = ItemBytesToText(focused->GetText(TreeListColumnName));
    if (Prompter().Ask(m_memo.window(), QMessageBox::Question, QString::fromLatin1(ApplicationTitle),
                       tr("No item is named \"%1\". Create it under \"%2\"?").arg(name, parent.text),
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_itemCommands.NewSubItemNamed(ItemTextToBytes(name, parent.encoding));
}

QMenu* TDescriptionLinks::CreateLinkMenu(const QPoint& point)
{
    const std::optional<TEditorLink> link = LinkAtPoint(point);
    if (!link)
        return nullptr;
    QMenu* menu = m_memo.createStandardContextMenu();
    QAction* first = menu->actions().value(0);
    auto* open = new QAction(tr("Open Link"), menu);
    open->setObjectName(QStringLiteral("pmiMemoOpenLink"));
    connect(open, &QAction::triggered, this, Guarded([this, target = *link] { FollowLink(target); }));
    auto* copy = new QAction(tr("Copy Link Address"), menu);
    copy->setObjectName(QStringLiteral("pmiMemoCopyLinkAddress"));
    connect(copy, &QAction::triggered, this,
            Guarded([text = link->text] { QGuiApplication::clipboard()->setText(text); }));
    menu->insertAction(first, open);
    menu->insertAction(first, copy);
    menu->insertSeparator(first);
    return menu;
}

void TDescriptionLinks::ShowHover(const QPoint& point, bool control)
{
    const std::optional<TEditorLink> link = control ? LinkAtPoint(point) : std::nullopt;
    m_memo.viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::IBeamCursor);
    if (link) {
        m_hintPanel.setText(link->text);
        m_showingHint = true;
    } else if (m_showingHint) {
        m_hintPanel.clear();
        m_showingHint = false;
    }
}

bool TDescriptionLinks::eventFilter(QObject* watched, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = FilterEvent(watched, event); });
    return handled || QObject::eventFilter(watched, event);
}

bool TDescriptionLinks::FilterEvent(QObject* watched, QEvent* event)
{
    QWidget* viewport = m_memo.viewport();
    if (watched == &m_memo) {
        // The links' colours are the palette's; a new theme draws them anew.
        if (event->type() == QEvent::PaletteChange) {
            m_drawn.clear();
            m_drawnBroken.clear();
            ScheduleRefresh();
            return false;
        }
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Control) {
            ShowHover(viewport->mapFromGlobal(QCursor::pos()), event->type() == QEvent::KeyPress);
            return false;
        }
        if (event->type() == QEvent::KeyPress && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers().testFlag(Qt::ControlModifier)) {
            if (const std::optional<TEditorLink> link = LinkAtPosition(m_memo.textCursor().position())) {
                FollowLink(*link);
                return true;
            }
        }
        return false;
    }
    if (watched != viewport)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
        ScheduleRefresh();
        return false;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::NoButton)
            ShowHover(mouse->position().toPoint(), mouse->modifiers().testFlag(Qt::ControlModifier));
        return false;
    }
    case QEvent::Leave:
        ShowHover(QPoint(), false);
        return false;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !mouse->modifiers().testFlag(Qt::ControlModifier))
            return false;
        const std::optional<TEditorLink> link = LinkAtPoint(mouse->position().toPoint());
        if (!link)
            return false;
        m_pressed = true;
        ShowHover(QPoint(), false);
        FollowLink(*link);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_pressed)
            return false;
        m_pressed = false;
        return true;
    case QEvent::ContextMenu: {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        QMenu* menu = CreateLinkMenu(menuEvent->pos());
        if (!menu)
            return false;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(menuEvent->globalPos());
        return true;
    }
    default:
        return false;
    }
}
