#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <memory>

class TBackgroundLoad;
class TBackgroundSave;
class TDocumentSession;
class TFileDialogs;
class TTreeList;
class QWidget;

// The five file commands, the "save changes?" question before the document
// goes away, and the file named on the command line, read on a worker
// thread while the window shows.
class TFileCommands : public QObject {
    Q_OBJECT
public:
    TFileCommands(TDocumentSession& session, TTreeList& tree, TFileDialogs& dialogs, QWidget& window,
                  QStringList arguments);
    ~TFileCommands() override;

    void actFileNewExecute();
    void actFileOpenExecute();
    void actFileSaveExecute();
    void actFileSaveAsExecute();
    void actFileCloseExecute();
    void OpenRecent(const QString& path);
    // Save for a document that has a file name, asking nothing but the
    // question before a file another program changed. True when written; a
    // failed save throws.
    bool SaveAutomatically();

    // Replaces the document by a tree data file's content.
    void LoadDocument(const QString& path);
    // The window's first show: opens the file named first on the command line.
    void FormShow();
    // The file FormShow opens: the first named on the command line, else,
    // when the options ask for it, the document opened or saved last; empty
    // when there is none.
    QString CommandLineFile() const;
    // FormShow for the window: the file is read on a worker thread into a
    // tree of its own and moved into the document when it is in, so the
    // window shows at once and answers while a large file loads. A failed
    // read leaves what was read as an untitled document and throws, through
    // the guard, once it has ended.
    void FormShowInBackground();
    // True from FormShowInBackground until the file is in the document (or
    // failed); the commands that need the document wait for it.
    bool Loading() const;
    // Replaces the document by a recovery copy of an unsaved one: the tree is
    // the copy's, the file name the one the document had, and the document is
    // modified, so that saving puts it where it belongs. A copy that cannot be
    // read throws and leaves an empty, untitled document. A protected copy
    // asks for its password; false when that question was cancelled.
    bool OpenRecovered(const QString& copyPath, const QString& fileName);
    // False when the window must stay open. A failed save throws. During a
    // save the window waits for it, with the wait cursor, and is closed
    // again (the question included) once it has ended.
    bool FormCloseQuery();

    // Save, Save As and the automatic save of a document that holds at
    // least this many bytes write it while the window goes on; smaller ones
    // are written before the command returns.
    void SetBackgroundSaveFrom(size_t bytes) { m_backgroundFrom = bytes; }
    // A save is being written while the window goes on.
    bool Saving() const { return m_save != nullptr; }
    // The document as it was is all taken: changes from now on cannot
    // reach the file being written.
    bool SaveWriting() const;
    // Lets the save end now (the file written, the document up to date);
    // a failed save throws.
    void WaitForSave();

signals:
    // What the status bar says about a load that takes a while; empty when
    // it has ended.
    void LoadProgress(const QString& text);

private:
    // What a save step came to.
    enum class TSaveResult { Cancelled, NothingSaved, Saved };

    // New and Close.
    void CloseCommand();
    TSaveResult SaveChanges();
    // How a save may be written.
    enum class TSaveMode { Now, InBackground };
    TSaveResult SaveCommand(TSaveMode mode);
    bool ChooseSaveName(const QString& preset);
    // False when the user keeps the file that another program changed.
    bool SaveDocument(TSaveMode mode);
    // The written file's state becomes the document's; a failed write throws.
    void EndSave();
    void SaveFinished();
    static bool StartsAsProtected(const QString& path);
    static QString StartFile(const QStringList& arguments);
    void FinishBackgroundLoad();

    TDocumentSession& m_session;
    TTreeList& m_tree;
    TFileDialogs& m_dialogs;
    QWidget& m_window;
    const QString m_startFile;
    std::unique_ptr<TBackgroundLoad> m_load;
    std::unique_ptr<TBackgroundSave> m_save;
    size_t m_backgroundFrom = size_t(16) << 20;
    bool m_closeAfterSave = false;
};
