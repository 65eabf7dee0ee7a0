#pragma once

#include <QWidget>

class QLabel;
class QTreeView;
class TLinksHere;
class TLinksHereModel;

// What links to the focused item: a line saying so and the list of links.
class TLinksHerePane : public QWidget {
    Q_OBJECT
public:
    explicit TLinksHerePane(TLinksHere& links, QWidget* parent = nullptr);

    QLabel* CountLabel() const { return m_count; }
    QTreeView* ResultView() const { return m_view; }
    TLinksHereModel* Model() const { return m_model; }

    // "2 links to Budget", or that it is still looking.
    static QString CountText(const TLinksHere& links);

signals:
    // Enter or a double click on a link.
    void Activated(int row);

private:
    void ProgressChanged();

    TLinksHere& m_links;
    TLinksHereModel* m_model;
    QLabel* m_count;
    QTreeView* m_view;
};
