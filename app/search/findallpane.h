#pragma once

#include "app/search/treesearch.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeView;
class TFindAllModel;

// The text to find in all items, its options, how many matches there are,
// and the list of results. Typing searches at once.
class TFindAllPane : public QWidget, private TTreeSearchObserver {
    Q_OBJECT
public:
    explicit TFindAllPane(TTreeSearch& search, QWidget* parent = nullptr);
    ~TFindAllPane() override;

    QLineEdit* FindText() const { return m_findText; }
    QCheckBox* MatchCase() const { return m_matchCase; }
    QCheckBox* WholeWord() const { return m_wholeWord; }
    // Names and descriptions, Names, Descriptions: in the order of TFindScope.
    QComboBox* Scope() const { return m_scope; }
    QLabel* CountLabel() const { return m_count; }
    QTreeView* ResultView() const { return m_view; }
    TFindAllModel* Model() const { return m_model; }

    // -1 when no result is current.
    int CurrentRow() const;
    void SetCurrentRow(int row);

    // "1,234 matches in 567 items", and how many are not listed.
    static QString CountText(const TTreeSearch& search);

signals:
    // Enter or a double click on a result.
    void Activated(int row);
    // Esc anywhere in the pane.
    void EscapePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StartSearch();
    void ActivateCurrent();
    void ProgressChanged() override;

    TTreeSearch& m_search;
    TFindAllModel* m_model;
    QLineEdit* m_findText;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWord;
    QComboBox* m_scope;
    QLabel* m_count;
    QTreeView* m_view;
};
