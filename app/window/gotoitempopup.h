#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QTreeWidget;
class TGoToSearch;
class TTreeList;
class TTreeListTextNode;

// Go to Item's popup: a text box over the list of the best matches, each
// with its icon, name and ancestors, and the count of all matches. Enter
// chooses, Esc closes having changed nothing.
class TGoToItemPopup : public QFrame {
    Q_OBJECT
public:
    TGoToItemPopup(TTreeList& tree, QWidget* parent);
    ~TGoToItemPopup() override;

    // Shows it centred over `over`, with the text of the last visit selected.
    void Popup(QWidget* over);

    QLineEdit* Text() const { return m_text; }
    QTreeWidget* List() const { return m_list; }
    QLabel* CountLabel() const { return m_count; }
    TGoToSearch& Search() const { return *m_search; }

signals:
    void Chosen(TTreeListTextNode* item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void Choose();

    TGoToSearch* m_search;
    QLineEdit* m_text;
    QTreeWidget* m_list;
    QLabel* m_count;
};
