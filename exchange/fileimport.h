#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TTreeList;

// Text file bytes as a description: up to the first NUL byte, with every line
// break (CR LF, a lone CR, a lone LF) made CR LF. Nothing is added at the end.
std::string NormaliseLineBreaks(std::string_view bytes);

// The text of a file's lines, each followed by CR LF: NormaliseLineBreaks,
// and a last line without a break gets one. An empty file gives "".
std::string TextFileLines(std::string_view bytes);

// The bytes of a regular file up to its first NUL byte (the rest is never
// read), read while no other program holds the file locked. Throws
// EFOpenError "Cannot open file %s: <the system's reason>".
std::string ReadTextFile(const std::string& path);

// The name part of a path: everything after the last "/" (trailing ones
// ignored). The bytes are kept as they are: a name that is not UTF-8 is shown
// through the text codec, so no byte is lost.
std::string FileNameOfPath(const std::string& path);

struct TFileImportOptions {
    // Icon index of every new item.
    int32_t ImageIndex = 0;
    // Puts names of a folder's entries (bytes) in the order they are
    // imported in. Unset: byte order. Called once for the subfolders and
    // once for the files of each folder, so a caller can make each name's
    // collation key once instead of at every comparison.
    std::function<void(std::vector<std::string>& names)> SortNames;
    // Called after each file and folder with the number of them done so far
    // (imported, failed or skipped); returning false cancels the import.
    std::function<bool(size_t filesDone)> OnProgress;
};

struct TFileImportResult {
    int ItemsAdded = 0;  // all levels
    // One line per path not imported, in import order: "Cannot open file %s:
    // <reason>" or "Skipped binary file %s", with the path's bytes.
    std::vector<std::string> Failures;
    bool Cancelled = false;
};

// Appends one top-level item per path, in the order given, after the tree's
// last top-level item: a file becomes an item named after it whose
// description is TextFileLines of its content; a folder becomes an item with
// an empty description and its entries below it, subfolders first, each group
// in SortNames order (hidden ones skipped, links to folders not followed, files
// with a NUL in their first 8 KiB skipped as binary). A path that cannot be
// read gets no item and a message; the import goes on with the rest. The items reach the tree at the end, all at once, so
// a view sees one insertion and never a half-made item, also after a cancel.
TFileImportResult ImportFiles(TTreeList& tree, const std::vector<std::string>& paths,
                              const TFileImportOptions& options);
