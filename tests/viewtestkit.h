#pragma once

#include "document/treelist.h"

#include <QIcon>
#include <QString>
#include <string>

class QAbstractItemModel;
class QModelIndex;
class TTreeListView;

// Adds an item named `name` at the end of `parent`'s children, or of the
// top level without one.
TTreeListTextNode* Add(TTreeList& tree, TTreeListTextNode* parent, const std::string& name);
// What the model shows as the row's text.
QString Name(const QAbstractItemModel& model, const QModelIndex& index);
// A 16 x 16 picture of one colour.
QIcon SolidIcon(const QColor& color);
// Shows the view at a fixed size and waits until it is on the screen.
void ShowView(TTreeListView& view);
