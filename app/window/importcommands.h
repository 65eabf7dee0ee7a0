#pragma once

#include <QCoreApplication>

#include <string>

class TDocumentSession;
class TFileDialogs;
class TTreeList;

// File > Import: the items of an OPML outline, a Markdown document, an
// indented text file or another tree data file, appended behind the last
// top-level item as dropped files are.
class TImportCommands {
public:
    static constexpr const char ImportFilter[] = QT_TRANSLATE_NOOP("TFileDialog",
        "OPML Files (*.opml)|*.opml|Markdown Files (*.md;*.markdown)|*.md;*.markdown|"
        "Indented Text Files (*.txt)|*.txt|Tree Data Files (*.trd)|*.trd|All Files (*.*)|*.*");

    TImportCommands(TTreeList& tree, TFileDialogs& fileDialogs, TDocumentSession& session);

    void actFileImportExecute();

    // Reads the file in the format its name (or else its first bytes)
    // suggests and appends its items. A file that cannot be read or parsed
    // throws, naming the file (and the line and column of a parse error),
    // and adds nothing.
    void ImportPath(const std::string& path);

    // The one step that changes the document, undone as a whole: every
    // top-level item of `imported` (with its subtree) moves behind the tree's
    // last top-level item, and `imported` is left empty.
    void AppendImported(TTreeList& imported);

private:
    TTreeList& m_tree;
    TFileDialogs& m_fileDialogs;
    TDocumentSession& m_session;
};
