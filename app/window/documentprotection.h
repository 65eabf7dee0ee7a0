#pragma once

#include "document/protectedfile.h"
#include "document/treefile.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <memory>
#include <string>

class QLabel;
class QWidget;
class TDocumentSession;

// Whether the document is saved encrypted with a password, and the key it
// is encrypted with: the password questions, Set and Remove Password, and
// the warning before its text is written in the clear.
class TDocumentProtection : public QObject {
    Q_OBJECT
public:
    TDocumentProtection(TDocumentSession& session, QWidget& window);

    bool Protected() const { return m_key != nullptr; }
    // The key its saves and recovery copies are encrypted with; null when clear.
    const std::shared_ptr<const TFileKey>& Key() const { return m_key; }
    // Another document came (null: a clear one), or the password changed.
    void SetKey(std::shared_ptr<const TFileKey> key);
    // The cost of the keys Set Password makes (tests make them cheap).
    void SetProtectionParams(const TProtectionParams& params) { m_protectionParams = params; }
    // The status panel that says whether the document is protected.
    void SetProtectionPanel(QLabel* panel) { m_protectionPanel = panel; }
    void UpdatePanel();
    // Asks for the password of the protected file `shownName` and derives its key.
    TKeySource PasswordQuestion(const QString& shownName, const std::string& fileName);

    // Asks for a new password twice; the next save encrypts with it.
    void actFileSetPasswordExecute();
    // The next save writes the document in the clear again.
    void actFileRemovePasswordExecute();
    // Before the document's text is written in the clear (an export, a
    // description saved to a text file; the command dispatcher asks it for
    // every command whose row says it writes clear text): asks once per
    // protected document whether that is wanted. True when it may go ahead.
    bool ConfirmClearExport();
    // The document was just loaded from or saved to `path`: whether it was
    // protected then is what a later load of that path is held to.
    void NoteFile(const QString& path);
    // Before a clear file replaces the document: a path whose document was
    // protected asks, so a file put there in its place cannot turn the
    // protection off unnoticed. True when it may go ahead.
    bool ConfirmClearFile(const QString& path);
    // Where the paths whose document was protected are kept between runs,
    // so the file named on the command line is held to them too; empty:
    // this run only.
    void SetRecordFolder(const QString& folder) { m_recordFolder = folder; }
    static QString DefaultRecordFolder();

signals:
    // A password was set or removed, or another document came. What is
    // written from it follows.
    void Changed();

private:
    bool WasProtected(const QString& key) const;
    QString RecordOf(const QString& key) const;

    TDocumentSession& m_session;
    QWidget& m_window;
    QLabel* m_protectionPanel = nullptr;
    // Derived once per open or password change; the password is not kept.
    std::shared_ptr<const TFileKey> m_key;
    TProtectionParams m_protectionParams;
    bool m_clearExportConfirmed = false;
    // The paths whose document was protected when it was last loaded or
    // saved; only Remove Password and a save take one out.
    QSet<QString> m_protectedPaths;
    // Each path of m_protectedPaths has an empty file here, named by a hash
    // of the path, so the folder does not list the paths.
    QString m_recordFolder;
};
