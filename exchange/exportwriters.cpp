#include "exchange/exportwriters.h"

#include "document/fileio.h"
#include "document/treelist.h"
#include "exchange/inouterror.h"
#include "exchange/multiexportnames.h"

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view FiveEmptyLines = "\r\n\r\n\r\n\r\n\r\n";
constexpr size_t BufferSize = 1024 * 1024;

// Creates (or empties) the file the user chose.
TBufferedWriter CreateFile(const std::string& name, size_t bufferSize)
{
    TFileHandle file = OpenFile(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (!file.IsOpen())
        EInOutError::Raise(errno, name);
    return TBufferedWriter(std::move(file), name, &EInOutError::Raise, bufferSize);
}

// Creates (or empties) `name` relative to the open export folder `folderFd`;
// failures name `shownName`, the path the user sees. A name there may
// already stand for something we did not put there: a link (symbolic or
// hard) is replaced by a file of our own, never written through, so nothing
// outside the folder changes. Anything but a regular file is refused.
TBufferedWriter CreateFileInFolder(const std::string& name, const std::string& shownName, size_t bufferSize,
                                   int folderFd)
{
    constexpr int Flags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    TFileHandle file = OpenFile(name, Flags | O_CREAT, 0666, folderFd);
    // O_NOFOLLOW fails a symbolic link with ELOOP.
    if (!file.IsOpen() && errno != ELOOP)
        EInOutError::Raise(errno, shownName);
    struct stat st {};
    if (file.IsOpen() && ::fstat(file.Get(), &st) != 0)
        EInOutError::Raise(errno, shownName);
    if (!file.IsOpen() || (S_ISREG(st.st_mode) && st.st_nlink > 1)) {
        file = TFileHandle();
        if (::unlinkat(folderFd, name.c_str(), 0) != 0)
            EInOutError::Raise(errno, shownName);
        file = OpenFile(name, Flags | O_CREAT | O_EXCL, 0666, folderFd);
        if (!file.IsOpen())
            EInOutError::Raise(errno, shownName);
    } else if (!S_ISREG(st.st_mode)) {
        EInOutError::Raise(EACCES, shownName);
    } else if (st.st_size > 0 && ::ftruncate(file.Get(), 0) != 0) {
        EInOutError::Raise(errno, shownName);
    }
    return TBufferedWriter(std::move(file), shownName, &EInOutError::Raise, bufferSize);
}

template <typename WriteRecord>
void ExportSingleFile(const TTreeList& tree, const std::string& fileName, WriteRecord writeRecord)
{
    tree.CommitEdits();
    TBufferedWriter file = CreateFile(fileName, BufferSize);
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        writeRecord(file, item->GetText(TreeListColumnName), item->GetText(TreeListColumnDesc));
    file.Close();
}

}  // namespace

void ExportTxt(const TTreeList& tree, const std::string& fileName)
{
    ExportSingleFile(tree, fileName, [](TBufferedWriter& file, std::string_view name, std::string_view desc) {
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
    ExportSingleFile(tree, fileName, [](TBufferedWriter& file, std::string_view name, std::string_view desc) {
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
    // Every file is created relative to the folder the export started with,
    // whatever happens to the path meanwhile.
    const TFileHandle folderHandle = OpenFolder(folder);
    if (!folderHandle.IsOpen())
        EInOutError::Raise(errno, folder);
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    TMultiExportNames names;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        const std::string_view desc = item->GetText(TreeListColumnDesc);
        const std::string name = names.FileName(item->GetText(TreeListColumnName));
        // Most descriptions are small: size the buffer to the content.
        const size_t bufferSize = std::min(desc.size() + LineEnd.size(), BufferSize);
        TBufferedWriter file = CreateFileInFolder(name, prefix + name, bufferSize, folderHandle.Get());
        file.Write(desc);
        file.Write(LineEnd);
        file.Close();
    }
}

TBufferedWriter CreateExportFile(const std::string& fileName)
{
    return CreateFile(fileName, BufferSize);
}
