#include "app/widgets/imagelists.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterIconResource()
{
    Q_INIT_RESOURCE(vekicons);
}

void InitResources()
{
    static const bool registered = (RegisterIconResource(), true);
    (void)registered;
}

TImageList::TImageList(const QString& prefix, int count)
    : m_prefix(prefix)
    , m_count(count)
{
    InitResources();
}

int TImageList::Count() const
{
    return m_count;
}

QIcon TImageList::Icon(int index) const
{
    const QPixmap pixmap = Pixmap(index);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QPixmap TImageList::Pixmap(int index) const
{
    if (index < 0 || index >= m_count)
        return QPixmap();
    // QPixmap's file loading goes through QPixmapCache, so repeated paints of
    // the same icon do not decode the PNG again.
    return QPixmap(QStringLiteral(":/icons/%1/%2.png").arg(m_prefix).arg(index));
}

const TImageList& ImageListTV()
{
    static const TImageList list(QStringLiteral("tv"), 216);
    return list;
}

const TImageList& ImageListMenu()
{
    static const TImageList list(QStringLiteral("menu"), 32);
    return list;
}

const TImageList& ImageListMemo()
{
    static const TImageList list(QStringLiteral("memo"), 12);
    return list;
}
