#pragma once

#include <string>

class TFileDialogs;
class TTreeList;

// The three export commands: the whole tree as one text file, as one
// ini-style file, or as one text file per item in a folder.
class TExportCommands {
public:
    TExportCommands(TTreeList& tree, TFileDialogs& fileDialogs);

    void actFileExportTxtExecute();
    void actFileExportIniExecute();
    void actFileExportMultiExecute();

private:
    void ExportSingle(void (*writer)(const TTreeList&, const std::string&));

    TTreeList& m_tree;
    TFileDialogs& m_fileDialogs;
};
