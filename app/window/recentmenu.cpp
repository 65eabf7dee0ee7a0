#include "app/window/recentmenu.h"

#include "app/window/application.h"
#include "app/window/documentsession.h"
#include "settings/recentfiles.h"

#include <QAction>
#include <QMenu>

TRecentMenu::TRecentMenu(QMenu& fileMenu, QAction* before, QAction& clearRecent, TDocumentSession& session)
    : QObject(&fileMenu), m_menu(new QMenu(tr("Open R&ecent"), &fileMenu)), m_clearRecent(clearRecent),
      m_session(session)
{
    m_menu->setObjectName(QStringLiteral("miRecent"));
    m_menu->menuAction()->setObjectName(QStringLiteral("miRecent"));
    // Named as the menu builder names its entries.
    m_menu->menuAction()->setProperty(("menuEntry/" + fileMenu.objectName()).toLatin1().constData(),
                                      QStringLiteral("miRecent"));
    fileMenu.insertMenu(before, m_menu);
    ConnectGuarded(m_menu, &QMenu::aboutToShow, this, &TRecentMenu::Rebuild);
}

void TRecentMenu::Rebuild()
{
    // The entries are the menu's own and go with it; Clear Recent is the window's.
    m_menu->clear();
    const QStringList files = TRecentFiles::Read();
    const bool ready = !m_session.Loading() && !m_session.Saving();
    for (int i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        // 1 to 9, then 0 for the tenth: one key each.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QString name = TDocumentSession::FileNamePart(path);
        auto* entry = new QAction(number + QLatin1Char(' ') + name.replace(QLatin1Char('&'), QStringLiteral("&&")),
                                  m_menu);
        entry->setObjectName(QStringLiteral("miRecent%1").arg(i + 1));
        entry->setStatusTip(path);
        entry->setEnabled(ready);
        connect(entry, &QAction::triggered, this, Guarded([this, path] { m_session.OpenRecent(path); }));
        m_menu->addAction(entry);
    }
    if (!files.isEmpty())
        m_menu->addSeparator();
    m_menu->addAction(&m_clearRecent);
}
