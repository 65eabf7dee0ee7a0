#pragma once

#include "app/droptarget/droptarget.h"

#include <string>
#include <vector>

// Takes lists of local files, as file managers drag them.
class TDropFileTarget : public TDropTarget {
    Q_OBJECT

public:
    using TDropTarget::TDropTarget;

    // The full paths of the dropped files, in the order the drag source
    // lists them, as the file system's bytes: a name that is not UTF-8 keeps
    // every byte. Filled at a drop, emptied once its handler has run.
    const std::vector<std::string>& DroppedFiles() const { return m_droppedFiles; }

    // The local file paths a drag offers.
    static std::vector<std::string> LocalFiles(const QMimeData& data);

protected:
    bool ReadDropData(const QMimeData& data) override;
    void ResetDropData() override;
    bool HasAcceptedFormat(const QMimeData& data) const override;

private:
    std::vector<std::string> m_droppedFiles;
};
