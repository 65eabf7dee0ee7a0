#pragma once

#include <QObject>
#include <QPoint>

#include <string>
#include <vector>

class QWidget;
class TDescriptionPane;
class TDocumentSession;
class TDropFileTarget;
class TIconComboBox;
class TSubtreeFocus;
class TTreeList;

// Files dropped from other programs: on the tree each file (or folder)
// becomes a new last top-level item, on the description editor the first
// file becomes the focused item's description.
class TFileDropImport : public QObject {
    Q_OBJECT
public:
    TFileDropImport(TTreeList& tree, TIconComboBox& iconComboBox, TDocumentSession& session,
                    TDescriptionPane& descriptionPane, QWidget& window, const TDropFileTarget& dropFileOnTreeList,
                    const TDropFileTarget& dropFileOnMemo);
    ~TFileDropImport() override;

    // An import running longer than this shows how far it is, with Cancel.
    int ProgressDelayMs = 500;

    // The drop handlers of the two targets. The work runs once the drop has
    // returned, so the program the files came from is not kept waiting.
    void DropFileOnTreeListDrop(Qt::KeyboardModifiers shift, QPoint point, Qt::DropAction& effect);
    void DropFileOnMemoDrop(Qt::KeyboardModifiers shift, QPoint point, Qt::DropAction& effect);
    // True from a drop until its work has ended.
    bool Busy() const { return m_busy; }

    // Throws when the icon picker's text is no number (nothing is imported
    // then) and, after importing the rest, when some paths could not be read.
    void AddFilesAsItems(const std::vector<std::string>& files);
    void LoadFileIntoDescription(const std::vector<std::string>& files);
    // While the tree shows one subtree, dropped files become its last children.
    void FollowSubtree(const TSubtreeFocus& subtree) { m_subtree = &subtree; }

private:
    using TDropWork = void (TFileDropImport::*)(const std::vector<std::string>& files);
    void RunAfterDrop(Qt::DropAction& effect, TDropWork work, std::vector<std::string> files);

    TTreeList& m_tree;
    TIconComboBox& m_iconComboBox;
    TDocumentSession& m_session;
    TDescriptionPane& m_descriptionPane;
    QWidget& m_window;
    const TDropFileTarget& m_dropFileOnTreeList;
    const TDropFileTarget& m_dropFileOnMemo;
    bool m_busy = false;
    const TSubtreeFocus* m_subtree = nullptr;
};
