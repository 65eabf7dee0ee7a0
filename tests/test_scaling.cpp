#include "app/widgets/imagelists.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const std::pair<const TImageList&, const char*> Lists[] = {
    {ImageListTV(), "tv"}, {ImageListMenu(), "menu"}, {ImageListMemo(), "memo"}};

// The program runs here at a scale factor of 2, as on a laptop's screen.
TEST(Scaling, EveryPictureHasTheDevicePixelsOfItsPlace)
{
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    for (const auto& [list, name] : Lists) {
        for (int i = 0; i < list.Count(); ++i) {
            const QPixmap pixmap = list.Pixmap(i);
            EXPECT_EQ(pixmap.size(), QSize(32, 32)) << name << " " << i;
            EXPECT_EQ(pixmap.devicePixelRatio(), 2.0) << name << " " << i;
            // Between the two pictures' sizes, the larger one made smaller.
            for (qreal ratio : {1.25, 1.5})
                EXPECT_EQ(list.Pixmap(i, ratio).size(), QSize(16, 16) * ratio) << name << " " << i << " at " << ratio;
            // A picture blown up from its 16 x 16 one is the blur this avoids.
            const QImage small = list.Pixmap(i, 1).toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage large = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
            for (Qt::TransformationMode mode : {Qt::FastTransformation, Qt::SmoothTransformation})
                EXPECT_NE(large, small.scaled(32, 32, Qt::IgnoreAspectRatio, mode)) << name << " " << i;
        }
    }
}

TEST(Scaling, TheProgramsPictureIsSharpUpToTheLargestWindowIcon)
{
    const QIcon icon = ProductIcon();
    for (int size : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    // The about box shows it at 32 x 32.
    const QPixmap about = icon.pixmap(QSize(32, 32), 2.0);
    EXPECT_EQ(about.size(), QSize(64, 64));
    EXPECT_EQ(about.devicePixelRatio(), 2.0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (setenv("QT_SCALE_FACTOR", "2", 1) != 0)
        return 1;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
