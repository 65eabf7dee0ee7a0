#include "exchange/exportwriters.h"

#include "document/fileio.h"
#include "document/treelist.h"
#include "exchange/inouterror.h"
#include "exchange/multiexportnames.h"

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view FiveEmptyLines = "\r\n\r\n\r\n\r\n\r\n";
constexpr size_t BufferSize = 1024 * 1024;

// Creates (or empties) `name`, relative to the open folder `folderFd`;
// failures name `shownName`, the path the user chose.
TBufferedWriter CreateFile(const std::string& name, const std::string& shownName, size_t bufferSize,
                           int folderFd = AT_FDCWD)
{
    TFileHandle file = OpenFile(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666, folderFd);
    if (!file.IsOpen())
        EInOutError::Raise(errno, shownName);
    return TBufferedWriter(std::move(file), shownName, &EInOutError::Raise, bufferSize);
}

template <typename WriteRecord>
void ExportSingleFile(const TTreeList& tree, const std::string& fileName, WriteRecord writeRecord)
{
    tree.CommitEdits();
    TBufferedWriter file = CreateFile(fileName, fileName, BufferSize);
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
        TBufferedWriter file =
            CreateFile(name, prefix + name, std::min(desc.size() + LineEnd.size(), BufferSize), folderHandle.Get());
        file.Write(desc);
        file.Write(LineEnd);
        file.Close();
    }
}

TBufferedWriter CreateExportFile(const std::string& fileName)
{
    return CreateFile(fileName, fileName, BufferSize);
}
