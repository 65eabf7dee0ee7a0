#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Registers the bundled pictures (a static library's resources are not
// registered by themselves). Safe to call more than once; the image lists
// call it on first use, main() calls it so ":/icons/..." paths work anywhere.
void InitResources();

// A fixed list of 16 x 16 pictures bundled as ":/icons/<prefix>/<index>.png".
class TImageList {
public:
    TImageList(const QString& prefix, int count);

    int Count() const;
    // Null outside 0..Count()-1.
    QIcon Icon(int index) const;
    QPixmap Pixmap(int index) const;

private:
    QString m_prefix;
    int m_count;
};

// The 216 item icons of the tree and the icon picker.
const TImageList& ImageListTV();
// The 21 icons of the file, edit, view and help commands.
const TImageList& ImageListMenu();
// The 12 icons of the description commands.
const TImageList& ImageListMemo();
