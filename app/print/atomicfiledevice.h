#pragma once

#include <QIODevice>
#include <exception>
#include <memory>
#include <string>

class TAtomicFile;

// A write-only device over the atomic file, for writers that want a
// QIODevice (QPdfWriter): the content takes the target's place only at
// Commit, so a cancelled or failed job leaves the previous file as it was.
class TAtomicFileDevice : public QIODevice {
    Q_OBJECT
public:
    // Throws EFCreateError when the target cannot be replaced.
    explicit TAtomicFileDevice(const std::string& fileName);
    ~TAtomicFileDevice() override;

    // Puts the content in place; throws the first write error, if any.
    void Commit();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::unique_ptr<TAtomicFile> m_file;
    // A write error cannot unwind through the writer's frames; it waits here.
    std::exception_ptr m_error;
};
