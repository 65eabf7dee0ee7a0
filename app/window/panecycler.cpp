#include "app/window/panecycler.h"

#include <QApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

TPaneCycler::TPaneCycler(QWidget& window) : QObject(&window)
{
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), &window);
    next->setObjectName(QStringLiteral("NextPane"));
    connect(next, &QShortcut::activated, this, &TPaneCycler::Next);
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), &window);
    previous->setObjectName(QStringLiteral("PreviousPane"));
    connect(previous, &QShortcut::activated, this, &TPaneCycler::Previous);
}

void TPaneCycler::AddPane(QWidget* area, QWidget* target)
{
    m_panes.push_back({area, target});
}

void TPaneCycler::Move(int step)
{
    const int count = static_cast<int>(m_panes.size());
    if (count == 0)
        return;
    // Where the keyboard is now; from nowhere, the first pane comes next.
    const QWidget* focus = QApplication::focusWidget();
    int current = step > 0 ? -1 : count;
    for (int i = 0; i < count; ++i)
        if (focus && (focus == m_panes[i].area || m_panes[i].area->isAncestorOf(focus)))
            current = i;
    for (int i = 1; i <= count; ++i) {
        const TPane& pane = m_panes[((current + step * i) % count + count) % count];
        if (pane.target->isVisible() && pane.target->isEnabled()) {
            pane.target->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
