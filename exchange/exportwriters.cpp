#include "exportwriters.h"

#include "bufferedfile.h"
#include "inouterror.h"
#include "multiexportnames.h"
#include "treelist.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view FiveEmptyLines = "\r\n\r\n\r\n\r\n\r\n";

template <typename WriteRecord>
void ExportSingleFile(const TTreeList& tree, const std::string& fileName, WriteRecord writeRecord)
{
    tree.CommitEdits();
    TBufferedFile file(fileName);
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        writeRecord(file, item->GetText(TreeListColumnName), item->GetText(TreeListColumnDesc));
    file.Close();
}

// Owns the open folder, so every file is created relative to the folder the
// export started with, whatever happens to the path meanwhile.
class FolderHandle {
public:
    explicit FolderHandle(const std::string& folder)
    {
        do
            m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        while (m_fd < 0 && errno == EINTR);
        if (m_fd < 0)
            EInOutError::RaiseLastError();
    }
    ~FolderHandle() { ::close(m_fd); }
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    int Fd() const { return m_fd; }

private:
    int m_fd = -1;
};

}  // namespace

void ExportTxt(const TTreeList& tree, const std::string& fileName)
{
    ExportSingleFile(tree, fileName, [](TBufferedFile& file, const std::string& name, const std::string& desc) {
        file.Write(name);
        file.Write(LineEnd);
        file.Write('=', name.size());
        file.Write(LineEnd);
        file.Write(desc);
        file.Write(LineEnd);
        file.Write(FiveEmptyLines);
    });
}

void ExportIni(const TTreeList& tree, const std::string& fileName)
{
    ExportSingleFile(tree, fileName, [](TBufferedFile& file, const std::string& name, const std::string& desc) {
        file.Write("[");
        file.Write(name);
        file.Write("]\r\n");
        file.Write(desc);
        file.Write("\r\n\r\n");
    });
}

void ExportMulti(const TTreeList& tree, const std::string& folder)
{
    tree.CommitEdits();
    const FolderHandle folderHandle(folder);
    TMultiExportNames names;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        const std::string& desc = item->GetText(TreeListColumnDesc);
        // Most descriptions are small: size the buffer to the content.
        TBufferedFile file(names.FileName(item->GetText(TreeListColumnName)), folderHandle.Fd(),
                           std::min(desc.size() + LineEnd.size(), TBufferedFile::DefaultBufferSize));
        file.Write(desc);
        file.Write(LineEnd);
        file.Close();
    }
}
