#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Registers the bundled pictures (a static library's resources are not
// registered by themselves). Safe to call more than once; the image lists
// call it on first use, main() calls it so ":/icons/..." paths work anywhere.
void InitResources();

// A fixed list of 16 x 16 pictures bundled as ":/icons/<prefix>/<index>.png",
// each with its 32 x 32 picture beside it, so that at a scale factor of 2 every
// picture is drawn from one of at least its size on the screen.
class TImageList {
public:
    TImageList(const QString& prefix, int count);

    int Count() const;
    // Null outside 0..Count()-1. The icon holds both pictures.
    QIcon Icon(int index) const;
    // 16 x 16 device-independent pixels for the application's scale factor.
    QPixmap Pixmap(int index) const;
    // 16 x 16 device-independent pixels on a device of the given pixel ratio:
    // 16 times the ratio in device pixels, from the picture of at least that size.
    QPixmap Pixmap(int index, qreal devicePixelRatio) const;

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
// The program's own picture, drawn sharp at any size: Tango's 16 x 16 and
// 32 x 32 pictures, and its scalable one for the larger sizes.
QIcon ProductIcon();
