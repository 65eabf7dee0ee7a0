#pragma once

#include "settings/storedproperty.h"

#include <functional>

class QAction;
class QComboBox;
class QPlainTextEdit;

// Stored properties of the widgets the main window keeps between runs.

// QAction "Checked" (a menu entry that shows an action's check mark is the action).
TStoredProperty CheckedProperty(QAction* action);
// QComboBox "Text": the edit text of an editable box, else the matching entry.
TStoredProperty ComboBoxTextProperty(QComboBox* comboBox);
// QPlainTextEdit "WordWrap": wrapped at the widget's width, or not at all.
TStoredProperty WordWrapProperty(QPlainTextEdit* editor);
// QPlainTextEdit "ScrollBars": "ssNone", "ssHorizontal", "ssVertical", "ssBoth";
// a scroll bar counts as shown unless it is switched off.
TStoredProperty ScrollBarsProperty(QPlainTextEdit* editor);
// QPlainTextEdit "Font": the font and the palette's text colour.
TStoredProperty EditorFontProperty(QPlainTextEdit* editor);
// A dialog's "InitialDir": a trailing path delimiter is dropped when a folder
// is assigned, except for a root ("/", "C:\").
TStoredProperty FolderProperty(std::function<QString()> get, std::function<void(const QString&)> set);
