#pragma once

#include <QToolBar>

class QEvent;
class QMouseEvent;
class QPaintEvent;
struct TPaneColors;

// A horizontal toolbar with a grip at its left end: a click on the grip folds
// the toolbar to a thin strip with a small tab, a click on the tab brings it
// back at the height it had. Actions and widgets are added as to any QToolBar;
// they are laid out right of the grip, whose room is the toolbar's first
// action, a blank widget. The edges on the left, top and right are
// part of the frame. Writing Maximized has the effect of the user's click.
class TCollapseToolBar : public QToolBar
{
    Q_OBJECT
    Q_PROPERTY(bool Maximized READ Maximized WRITE SetMaximized)

public:
    static constexpr int EdgeSize = 2;
    static constexpr int TabSizeMaximized = 10;
    static constexpr int TabSizeMinimized = 62;
    static constexpr int TabIndent = 4;

    explicit TCollapseToolBar(QWidget* parent = nullptr);

    // Expanded (true) or folded to a strip (false).
    bool Maximized() const { return m_maximized; }
    void SetMaximized(bool value);

    // The grip while expanded, the tab's bounds while folded.
    QRect GripRect() const;

signals:
    void OnMaximize();
    void OnRestore();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool OnGrip(const QPoint& pos) const;
    int TabRowEnd(int row) const;
    void SetHot(bool hot);
    void UpdateMargins();
    void PaintGrip(QPainter& painter, const TPaneColors& colors);
    void PaintTab(QPainter& painter, const TPaneColors& colors);

    QWidget* m_gripRoom = nullptr;
    bool m_maximized = true;
    bool m_hot = false;
    bool m_pressOnGrip = false;
    int m_savedHeight = 0;
    int m_savedMinHeight = 0;
    int m_savedMaxHeight = QWIDGETSIZE_MAX;
};
