#pragma once

#include <QObject>
#include <QTimer>
#include <exception>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class TFileKey;
class TTreeList;
class TTreeSnapshot;

// One save of the tree that does not hold the window up. The tree's bytes
// as it is when the save begins are taken on the window's thread a few
// milliseconds at a time between events, whatever changes meanwhile
// (TTreeSnapshot). A worker thread then encrypts them (with a key), writes
// them through the atomic replace and syncs them.
class TBackgroundSave : public QObject {
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
    // The bytes are all taken; only the worker's write is left.
    bool Writing() const { return m_snapshot == nullptr; }
    // After Wait: what the write failed with; none when the file is written.
    std::exception_ptr Error() const { return m_error; }

signals:
    // The worker has ended; sent once, and received between events.
    void Finished();

private:
    void Slice();
    void StartWriting();
    void Write();

    const std::string m_fileName;
    const std::shared_ptr<const TFileKey> m_key;
    std::unique_ptr<TTreeSnapshot> m_snapshot;
    std::vector<std::string> m_parts;
    QTimer m_slice;
    std::exception_ptr m_error;
    std::thread m_worker;
};
