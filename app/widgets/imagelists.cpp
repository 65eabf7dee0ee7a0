#include "app/widgets/imagelists.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

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
    if (index < 0 || index >= m_count)
        return QIcon();
    // QPixmap's file loading goes through QPixmapCache, so repeated paints of
    // the same icon do not decode the PNGs again.
    // The "@2x" name gives the larger picture the pixel ratio 2, and the icon
    // would then keep it for ratios of 2 only; at 1 both are chosen by size
    // alone, so 1.5 gets the larger picture made smaller, not the smaller blown up.
    QIcon icon;
    for (const char* suffix : {"", "@2x"}) {
        QPixmap picture(QStringLiteral(":/icons/%1/%2%3.png").arg(m_prefix).arg(index).arg(QLatin1String(suffix)));
        picture.setDevicePixelRatio(1);
        icon.addPixmap(picture);
    }
    return icon;
}

QPixmap TImageList::Pixmap(int index) const
{
    return Pixmap(index, qGuiApp->devicePixelRatio());
}

QPixmap TImageList::Pixmap(int index, qreal devicePixelRatio) const
{
    if (index < 0 || index >= m_count)
        return QPixmap();
    return Icon(index).pixmap(QSize(16, 16), devicePixelRatio);
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

QIcon ProductIcon()
{
    InitResources();
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(QPixmap(QStringLiteral(":/icons/app/%1.png").arg(size)));
    // Tango draws the small sizes by hand; the larger ones the desktop and a
    // scaled about box ask for come from the scalable original.
    QSvgRenderer renderer(QStringLiteral(":/icons/app/app.svg"));
    for (int size : {48, 64, 96, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
