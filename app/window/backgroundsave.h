#pragma once

#include "document/treelist.h"

#include <QObject>
#include <QTimer>
#include <exception>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class TFileKey;
class TTreeSerialiser;

// One save of the tree that does not hold the window up. The tree's bytes
// are taken on the window's thread a few milliseconds at a time between
// events, and they are the tree exactly as it was when the save began: an
// item whose strings or numbers are about to change has its record taken
// first, and before items are added, removed or moved the rest of the tree
// is taken at once. A worker thread then encrypts the bytes (with a key),
// writes them through the atomic replace and syncs them, while the tree is
// free to change again.
class TBackgroundSave : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    // Pending edits must be in the tree already.
    TBackgroundSave(TTreeList& tree, std::string fileName, std::shared_ptr<const TFileKey> key);
    // Waits for the worker: the file is either replaced or left as it was.
    ~TBackgroundSave() override;
    TBackgroundSave(const TBackgroundSave&) = delete;
    TBackgroundSave& operator=(const TBackgroundSave&) = delete;

    // Takes what is left of the tree now, and waits until the file is written.
    void Wait();
    // After Wait: what the write failed with; none when the file is written.
    std::exception_ptr Error() const { return m_error; }
    // The bytes are all taken; only the worker's write is left.
    bool Serialised() const { return m_serialiser == nullptr; }

signals:
    // The worker has ended; sent once, and received between events.
    void Finished();

private:
    void Slice();
    void TakeRest();
    void StartWriting();
    void Write();

    void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { TakeRest(); }
    void ItemsAboutToBeRemoved(TTreeListTextNode*, int, int) override { TakeRest(); }
    void ItemAboutToBeMoved(TTreeListTextNode*, TTreeListTextNode*, int) override { TakeRest(); }
    void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>&) override { TakeRest(); }
    void AboutToReset() override { TakeRest(); }
    // A changed string or number leaves the order as it is: only that
    // item's record is taken at once.
    void ItemAboutToChange(TTreeListTextNode* item) override;

    TTreeList& m_tree;
    const std::string m_fileName;
    const std::shared_ptr<const TFileKey> m_key;
    std::unique_ptr<TTreeSerialiser> m_serialiser;
    std::vector<std::string> m_parts;
    QTimer m_slice;
    std::exception_ptr m_error;
    std::thread m_worker;
};
