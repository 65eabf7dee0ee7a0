#pragma once

#include <string>

class TDocumentSession;
class TFileDialogs;
class TTreeList;

// The three export commands: the whole tree as one text file, as one
// ini-style file, or as one text file per item in a folder. Each writes the
// text in the clear, which the session confirms for a protected document.
class TExportCommands {
public:
    TExportCommands(TTreeList& tree, TDocumentSession& session, TFileDialogs& fileDialogs);

    void actFileExportTxtExecute();
    void actFileExportIniExecute();
    void actFileExportMultiExecute();

private:
    void ExportSingle(void (*writer)(const TTreeList&, const std::string&));

    TTreeList& m_tree;
    TDocumentSession& m_session;
    TFileDialogs& m_fileDialogs;
};
