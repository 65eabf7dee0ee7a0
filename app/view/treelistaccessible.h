#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QItemSelectionModel>

#include <unordered_map>

#include "document/treelist.h"

class TTreeListView;

// What a screen reader sees of the item tree: a tree whose children are its
// visible rows, one column wide. A row's interface is made when asked for
// and kept only while its row is on screen, focused, or was just asked for;
// nothing here walks the tree beyond the rows concerned.
// It follows the tree's changes itself and announces them: the focused row,
// selection and expanded states of the rows a reader knows, renames, and
// rows coming and going.
class TTreeListAccessible : public QAccessibleWidget, public QAccessibleTableInterface, private TTreeListObserver {
public:
    explicit TTreeListAccessible(TTreeListView* view);
    ~TTreeListAccessible() override;

    // Where announcements go instead of to Qt, which passes them on only
    // while a reader's bridge is active: for checks of what a reader hears.
    class TAnnouncer {
    public:
        virtual ~TAnnouncer() = default;
        virtual void Announce(QAccessibleEvent& event) = 0;
    };
    // None: to Qt again.
    static void SetAnnouncer(TAnnouncer* announcer);

    // The factory Qt asks for the view's interface; installed once, by the
    // first view.
    static QAccessibleInterface* Create(const QString& className, QObject* object);
    static void InstallFactory();

    TTreeListView* View() const;
    // The row's interface, made if needed; none for an item not shown.
    QAccessibleInterface* RowOf(TTreeListTextNode* item) const;
    int RowIndexOf(const TTreeListTextNode* item) const;
    // Focus announced for the focused row, when the view has the keyboard.
    void AnnounceFocus();
    // The view shows other rows all at once (its rows start at another item).
    void RowsReplaced();
    // The view is going away before its interface: stop listening to the tree.
    void Detach();
    // Row interfaces held right now.
    int CachedRows() const { return static_cast<int>(m_rows.size()); }

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::Tree; }
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int /*row*/) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return selectedCellCount(); }
    int columnCount() const override { return 1; }
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int /*column*/) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int /*column*/) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int /*column*/) override { return false; }
    // Rows are found by their items, so a change of rows leaves them right.
    void modelChange(QAccessibleTableModelChangeEvent* /*event*/) override {}

private:
    struct TRowEntry {
        QAccessible::Id id = 0;
        // What a reader was last told, to announce only real changes.
        bool selected = false;
        bool expanded = false;
        QString name;
        // When a reader last asked for it.
        unsigned long long asked = 0;
    };

    bool Announcing() const;
    bool SelectRow(int row, QItemSelectionModel::SelectionFlags command);
    static void Send(QAccessibleEvent& event);
    // Drops the row interfaces neither on screen nor focused, once the
    // caller that asked for them is done.
    void SchedulePrune() const;
    void Prune() const;
    void Forget(TTreeListTextNode* item) const;
    void ForgetAll() const;
    // The rows the items `first` .. `last` of `parent` take on screen, the
    // expanded items' rows included; count 0 when hidden.
    std::pair<int, int> RowSpan(TTreeListTextNode* parent, int first, int last) const;
    void AnnounceRows(QAccessibleTableModelChangeEvent::ModelChangeType type, std::pair<int, int> span);
    void AnnounceState(TTreeListTextNode* item);
    // The same for every row a reader holds.
    void AnnounceStates();

    // TTreeListObserver
    void ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last) override;
    void ItemsInserted() override;
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemsRemoved() override;
    void ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* destinationParent,
                            int destinationRow) override;
    void ItemMoved() override;
    void ChildrenReordered() override;
    void AboutToReset() override;
    void ResetDone() override;
    void ItemChanged(TTreeListTextNode* item) override;
    void ExpandedChanged(TTreeListTextNode* item) override;
    void FocusChanged(TTreeListTextNode* item) override;
    void SelectionChanged(TTreeListTextNode* item) override;

    TTreeList* m_tree;
    mutable std::unordered_map<TTreeListTextNode*, TRowEntry> m_rows;
    mutable bool m_prunePending = false;
    mutable unsigned long long m_asked = 0;
    // An insertion or move under way: where the new rows go, or the rows leaving.
    TTreeListTextNode* m_insertParent = nullptr;
    int m_insertFirst = 0;
    int m_insertLast = -1;
    TTreeListTextNode* m_movingItem = nullptr;
    std::pair<int, int> m_leavingRows{0, 0};
};
