#pragma once

#include <QString>

// The messages of the document, exchange and recovery layers, which build
// English text without Qt, in the language the window speaks: the first
// pattern that matches the whole message gives its translation, with the
// parts it matched put back, each translated in turn where it is a message
// itself ("Cannot open file %1: %2" with the reason). A message no pattern
// matches, or one whose pattern has no translation, stays as it is.
class TLowerLayerText {
public:
    static QString Translated(const QString& message);
};
