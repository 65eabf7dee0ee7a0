#include "app/widgets/cursors.h"

// The platform's own shapes: they follow the user's cursor theme and size,
// which drawn bitmaps would not.
QCursor HandPointCursor()
{
    return QCursor(Qt::PointingHandCursor);
}

QCursor DragCursor()
{
    return QCursor(Qt::DragMoveCursor);
}
