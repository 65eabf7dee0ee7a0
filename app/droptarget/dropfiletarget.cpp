#include "app/droptarget/dropfiletarget.h"

#include <QMimeData>
#include <QSysInfo>
#include <QUrl>

namespace {

// A file URL may name the machine its path is on. Here the path means
// something only on this one: Linux would take "//host/path" for "/host/path".
bool OnThisMachine(const QString& host)
{
    return host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::vector<std::string> TDropFileTarget::LocalFiles(const QMimeData& data)
{
    std::vector<std::string> files;
    if (!data.hasUrls())
        return files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile() || !OnThisMachine(url.host()))
            continue;
        // From the percent-encoded form: QUrl's decoded text would turn bytes
        // that are not UTF-8 into replacement characters.
        const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
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
    return !LocalFiles(data).empty();
}
