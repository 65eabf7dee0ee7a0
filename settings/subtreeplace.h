#pragma once

#include <QString>

#include <vector>

// Which item of a document the tree was last narrowed to, one value per file
// in a section of its own, under a digest of the file's full path. The item
// is kept as the positions leading to it from the top level ("0.3.1"); an
// empty list means the whole tree.
class TSubtreePlace {
public:
    static constexpr const char Section[] = "FocusedSubtree";

    // An empty list for a file never narrowed, and for a value that is not
    // positions (a hand-edited file).
    static std::vector<int> Read(const QString& filePath);
    // Throws ESettingsError when the settings cannot be written.
    static void Write(const QString& filePath, const std::vector<int>& positions);

    static QString Ident(const QString& filePath);
    static QString ToText(const std::vector<int>& positions);
    static std::vector<int> FromText(const QString& text);
};
