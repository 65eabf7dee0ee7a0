#pragma once

#include <QObject>

#include <vector>

class QShortcut;
class QWidget;

// F6 takes the keyboard to the next pane of the window that is shown (the
// tree, the description, Find in All Items), Shift+F6 to the one before,
// round and round, as desktop programs do.
class TPaneCycler : public QObject {
    Q_OBJECT
public:
    explicit TPaneCycler(QWidget& window);

    // A pane in the order of the round: `area` holds the keyboard while any
    // widget inside it does, `target` receives it.
    void AddPane(QWidget* area, QWidget* target);
    void Next() { Move(1); }
    void Previous() { Move(-1); }

private:
    struct TPane {
        QWidget* area;
        QWidget* target;
    };
    void Move(int step);

    std::vector<TPane> m_panes;
};
