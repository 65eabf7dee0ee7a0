#include "app/droptarget/dropfiletarget.h"

#include <QMimeData>
#include <QUrl>

#include <algorithm>

std::vector<std::string> TDropFileTarget::LocalFiles(const QMimeData& data)
{
    std::vector<std::string> files;
    if (!data.hasUrls())
        return files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        // From the percent-encoded form: QUrl's decoded text would turn bytes
        // that are not UTF-8 into replacement characters.
        QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!url.host().isEmpty())
            path.prepend("//" + url.host().toUtf8());
        if (!path.isEmpty())
            files.push_back(path.toStdString());
    }
    return files;
}

bool TDropFileTarget::ReadDropData(const QMimeData& data)
{
    m_droppedFiles = LocalFiles(data);
    return !m_droppedFiles.empty();
}

void TDropFileTarget::ResetDropData()
{
    m_droppedFiles.clear();
}

bool TDropFileTarget::HasAcceptedFormat(const QMimeData& data) const
{
    const QList<QUrl> urls = data.hasUrls() ? data.urls() : QList<QUrl>();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}
