#pragma once

#include <QObject>

class QAction;
class QMenu;
class TDocumentSession;

// File > Open Recent: the shared list of recent documents, read afresh each
// time the submenu opens so that it shows what the other editors added,
// numbered 1 to 9 and 0 for the keyboard, each with its full path as hint,
// and Clear Recent below them.
class TRecentMenu : public QObject {
    Q_OBJECT
public:
    // The submenu goes into `fileMenu` before `before`.
    TRecentMenu(QMenu& fileMenu, QAction* before, QAction& clearRecent, TDocumentSession& session);

    QMenu& Menu() const { return *m_menu; }
    // Fills the submenu from the stored list.
    void Rebuild();

private:
    QMenu* m_menu;
    QAction& m_clearRecent;
    TDocumentSession& m_session;
};
