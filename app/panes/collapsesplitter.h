#pragma once

#include <QSplitter>

class QChildEvent;
class QShowEvent;
class TSplitterLine;

// A splitter between a pane on the left and the rest, with a button in its
// middle that folds the pane away to MinSize pixels and brings it back at the
// width it had. The pane is the first widget added, the rest the second; the
// pane keeps its width when the splitter is resized. Dragging is the splitter's
// own (a hatched line until release, Esc cancels) and clamps both widgets to
// MinSize; a drag to MinSize folds the pane too. Writing Maximized or Minimized
// has the effect of the user's action; both only record the flag until the
// splitter is first shown, which then folds the pane if either is set.
// Every widget added gets MinSize as its minimum width, and all but the first
// a horizontal stretch of 1.
class TCollapseSplitter : public QSplitter
{
    Q_OBJECT
    Q_PROPERTY(bool Maximized READ Maximized WRITE SetMaximized)
    Q_PROPERTY(bool Minimized READ Minimized WRITE SetMinimized)
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
    Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE SetButtonWidth)
    Q_PROPERTY(int RestorePos READ RestorePos)

public:
    explicit TCollapseSplitter(QWidget* parent = nullptr);
    ~TCollapseSplitter() override;

    // The pane folded by the button (arrows point right while set).
    bool Maximized() const { return m_maximized; }
    void SetMaximized(bool value);
    // The pane folded by a stored state; the button turns it into Maximized.
    bool Minimized() const { return m_minimized; }
    void SetMinimized(bool value);
    // The smallest width of the pane and of the rest, at least 1.
    int MinSize() const { return m_minSize; }
    void SetMinSize(int value);
    // The button's length in percent of the splitter's height, 0 to 100.
    int ButtonWidth() const { return m_buttonWidth; }
    void SetButtonWidth(int percent);
    // The width the pane gets back when it unfolds.
    int RestorePos() const { return m_restorePos; }

    // The button in the handle's coordinates; empty when there is none.
    QRect ButtonRect() const;
    static QRect ButtonRect(const QSize& handleSize, int percent);

signals:
    void OnMaximize();
    void OnMinimize();
    void OnRestore();

protected:
    QSplitterHandle* createHandle() override;
    void childEvent(QChildEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TCollapseSplitterHandle;

    QWidget* Pane() const;
    int PaneWidth() const;
    void ResizePane(int width);
    void SetFolded(bool value, bool& flag, bool& other, void (TCollapseSplitter::*signal)());
    int LargestWidth() const;
    bool StartDrag(int globalX);
    void MoveDrag(int globalX);
    bool EndDrag(bool commit);
    void DragFinished();

    bool m_maximized = false;
    bool m_minimized = false;
    int m_minSize = 1;
    int m_buttonWidth = 30;
    int m_restorePos = 0;
    bool m_built = false;
    bool m_addingOwnChild = false;
    TSplitterLine* m_line = nullptr;
    bool m_dragging = false;
    int m_dragStartX = 0;
    int m_dragStartWidth = 0;
    int m_dragWidth = 0;
};
