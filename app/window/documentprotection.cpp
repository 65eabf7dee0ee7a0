#include "app/window/documentprotection.h"

#include "app/window/documentsession.h"
#include "app/window/prompter.h"
#include "app/window/waitcursor.h"
#include "document/secretbytes.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <optional>
#include <stdexcept>

namespace {
// The password as the key derivation takes it (UTF-8). The dialog's copy
// and the conversion's are overwritten at once: neither QString nor
// QByteArray wipes the memory it gives back.
TSecretBytes PasswordBytes(QString& password)
{
    QByteArray utf8 = password.toUtf8();
    password.fill(QChar(u'\0'));
    TSecretBytes bytes(utf8.constData(), static_cast<size_t>(utf8.size()));
    TSecretBytes::Wipe(utf8.data(), static_cast<size_t>(utf8.size()));
    return bytes;
}

QString PathKey(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
}  // namespace

TDocumentProtection::TDocumentProtection(TDocumentSession& session, QWidget& window)
    : m_session(session), m_window(window)
{
}

void TDocumentProtection::SetKey(std::shared_ptr<const TFileKey> key)
{
    if (key == m_key)
        return;
    m_key = std::move(key);
    m_clearExportConfirmed = false;
    emit Changed();
}

void TDocumentProtection::UpdatePanel()
{
    if (m_protectionPanel)
        m_protectionPanel->setText(Protected() ? tr("Protected") : QString());
}

TKeySource TDocumentProtection::PasswordQuestion(const QString& shownName, const std::string& fileName)
{
    return [this, shownName, fileName](const TProtectionHeader& header) -> std::shared_ptr<const TFileKey> {
        std::optional<QString> answer =
            Prompter().AskPassword(&m_window, tr("Password"),
                                   tr("%1 is protected by a password. Password:").arg(shownName));
        if (!answer)
            return nullptr;
        const TSecretBytes password = PasswordBytes(*answer);
        TWaitCursor wait;
        return TFileKey::ForHeader(password.View(), header, fileName);
    };
}

void TDocumentProtection::actFileSetPasswordExecute()
{
    m_session.FinishEditing();
    std::optional<QString> first =
        Prompter().AskPassword(&m_window, tr("Set Password"), tr("New password:"));
    if (!first)
        return;
    std::optional<QString> second =
        Prompter().AskPassword(&m_window, tr("Set Password"), tr("Repeat the password:"));
    if (!second) {
        first->fill(QChar(u'\0'));
        return;
    }
    const bool same = *first == *second;
    const TSecretBytes password = PasswordBytes(*first);
    const TSecretBytes repeated = PasswordBytes(*second);
    if (!same)
        throw std::runtime_error(tr("The passwords do not match. The password was not changed").toStdString());
    if (password.View().empty())
        throw std::runtime_error(tr("The password must not be empty. The password was not changed").toStdString());
    std::shared_ptr<const TFileKey> key;
    {
        TWaitCursor wait;
        key = TFileKey::Create(password.View(), m_protectionParams);
    }
    SetKey(std::move(key));
    // Not an undo step: the document's content stays as it is.
    m_session.MarkModified();
}

void TDocumentProtection::actFileRemovePasswordExecute()
{
    if (!Protected())
        return;
    m_session.FinishEditing();
    SetKey(nullptr);
    m_session.MarkModified();
}

bool TDocumentProtection::ConfirmClearExport()
{
    if (!Protected() || m_clearExportConfirmed)
        return true;
    const auto answer = Prompter().Ask(
        &m_window, QMessageBox::Warning, tr("Export"),
        tr("This document is protected by a password, but the export writes its text without "
                       "protection. Export anyway?"),
        QMessageBox::Yes | QMessageBox::No);
    m_clearExportConfirmed = answer == QMessageBox::Yes;
    return m_clearExportConfirmed;
}

QString TDocumentProtection::DefaultRecordFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/protected");
}

QString TDocumentProtection::RecordOf(const QString& key) const
{
    return m_recordFolder + QLatin1Char('/') +
           QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex());
}

bool TDocumentProtection::WasProtected(const QString& key) const
{
    return m_protectedPaths.contains(key) || (!m_recordFolder.isEmpty() && QFileInfo::exists(RecordOf(key)));
}

// A record that cannot be written leaves this run's memory of the path.
void TDocumentProtection::NoteFile(const QString& path)
{
    const QString key = PathKey(path);
    if (Protected()) {
        m_protectedPaths.insert(key);
        QFile record(RecordOf(key));
        if (!m_recordFolder.isEmpty() && QDir().mkpath(m_recordFolder) && record.open(QIODevice::WriteOnly))
            record.close();
    } else {
        m_protectedPaths.remove(key);
        if (!m_recordFolder.isEmpty())
            QFile::remove(RecordOf(key));
    }
}

bool TDocumentProtection::ConfirmClearFile(const QString& path)
{
    if (!WasProtected(PathKey(path)))
        return true;
    const auto answer = Prompter().Ask(
        &m_window, QMessageBox::Warning, tr("Password"),
        tr("The file %1 is not protected by a password, but the document last opened or saved there "
                       "was.\n\nOpen it without protection? No keeps the document as it is.")
            .arg(QDir::toNativeSeparators(path)),
        QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}
