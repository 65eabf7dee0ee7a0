#include "app/window/secretclipboard.h"

#include <QMimeData>

namespace {
// The hint KDE's Klipper and the clipboard managers that follow it honour.
const QString HintType = QStringLiteral("x-kde-passwordManagerHint");
const QByteArray Secret = QByteArrayLiteral("secret");
}  // namespace

void MarkSecret(QMimeData& data)
{
    data.setData(HintType, Secret);
}

bool IsMarkedSecret(const QMimeData& data)
{
    return data.data(HintType) == Secret;
}
