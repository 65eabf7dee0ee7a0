#pragma once

#include <QCursor>

// The application's hand-point cursor (over clickable pane parts).
QCursor HandPointCursor();
// The cursor shown while items are dragged inside the tree.
QCursor DragCursor();
