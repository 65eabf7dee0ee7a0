#pragma once

#include "document/treelist.h"

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

class QPagedPaintDevice;
class QPdfWriter;

// What goes on the pages besides the items.
struct TPrintContent {
    QString title;   // the document's name, atop every page
    QFont bodyFont;  // the descriptions' font, the editor's
    bool numbered = false;
};

// Lays the tree, or one item with its sub-items, out on the pages of a
// printer or PDF writer: each name a heading sized by its depth, numbered
// "1.2.3" when asked, its description below it with its line breaks kept and
// long lines wrapped, the title on top of each page and its number at the
// foot. The work is done in slices, so the caller can keep the window
// answering and stop at any slice. The tree must hold still between slices:
// a change of its structure stops the job.
class TTreePrinter : private TTreeListObserver {
public:
    // `root` null: the whole tree.
    TTreePrinter(TTreeList& tree, const TTreeListTextNode* root, TPrintContent content);
    ~TTreePrinter() override;
    TTreePrinter(const TTreePrinter&) = delete;
    TTreePrinter& operator=(const TTreePrinter&) = delete;

    // Starts the first page; false when the device cannot be painted on.
    bool Begin(QPagedPaintDevice& device);
    // Lays out and paints items for about `budgetMs` milliseconds; true once
    // the last one is on its page and the painter has ended. Throws when the
    // tree changed under the job.
    bool Step(int budgetMs);
    // Ends the painter where the job stands (a cancel).
    void End();

    // A4 with 15 mm margins at 300 dots per inch, titled, for the PDF export.
    static void PreparePdf(QPdfWriter& writer, const QString& title);

    int ItemCount() const { return m_count; }
    int ItemsDone() const { return m_done; }
    int PageCount() const { return m_page; }

private:
    void NewPage();
    void PrintItem(const TTreeListTextNode& item);
    // Wrapped to the width left of `indent`, breaking pages between lines.
    void PrintParagraph(const QString& text, const QFont& font, qreal indent);
    QString Number(int depth);
    const TTreeListTextNode* Next(const TTreeListTextNode* item) const;

    void ItemsAboutToBeRemoved(TTreeListTextNode*, int, int) override { m_broken = true; }
    void ItemAboutToBeMoved(TTreeListTextNode*, TTreeListTextNode*, int) override { m_broken = true; }
    void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>&) override { m_broken = true; }
    void AboutToReset() override { m_broken = true; }
    void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { m_broken = true; }

    TTreeList& m_tree;
    const TTreeListTextNode* m_root;
    int m_rootLevel = 0;
    TPrintContent m_content;
    QPagedPaintDevice* m_device = nullptr;
    QPainter m_painter;
    QFont m_smallFont;
    QRectF m_paper;
    QRectF m_body;
    qreal m_y = 0;
    qreal m_indentStep = 0;
    const TTreeListTextNode* m_next = nullptr;
    std::vector<int> m_numbers;
    int m_count = 0;
    int m_done = 0;
    int m_page = 0;
    bool m_broken = false;
};
