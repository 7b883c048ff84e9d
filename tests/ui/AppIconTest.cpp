#include "ui/AppIcon.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(AppIcon, HoldsTheInstalledPicturesAtEverySize)
{
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QPixmap picture = icon.pixmap(size, size);
        EXPECT_EQ(picture.width(), size) << size;
        // The picture is drawn, not empty: some pixel is opaque.
        const QImage image = picture.toImage();
        bool opaque = false;
        for (int y = 0; y < image.height() && !opaque; ++y)
            for (int x = 0; x < image.width() && !opaque; ++x)
                opaque = qAlpha(image.pixel(x, y)) > 0;
        EXPECT_TRUE(opaque) << size;
    }
}

} // namespace
} // namespace quarvel
