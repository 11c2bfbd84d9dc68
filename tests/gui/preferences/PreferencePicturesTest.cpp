#include "gui/preferences/PreferencePictures.h"

#include <gtest/gtest.h>

#include <QImage>

#include <set>
#include <string>
#include <vector>

namespace veltrane::gui {
namespace {

TEST(PreferencePicturesTest, EveryNameHasAPictureOfItsOwnAndOthersHaveNone)
{
    const std::set<std::string> names = {"capslockTemplate",
                                         "rightOptionTemplate",
                                         "rightCommandTemplate",
                                         "rightShiftTemplate",
                                         "rightControlTemplate",
                                         "leftOptionTemplate",
                                         "leftCommandTemplate",
                                         "leftShiftTemplate",
                                         "leftControlTemplate",
                                         "menuTemplate",
                                         "functionKeyTemplate",
                                         "hyperSlideTopLeftTemplate",
                                         "hyperSlideTopRightTemplate",
                                         "hyperSlideBottomLeftTemplate",
                                         "hyperSlideBottomRightTemplate",
                                         "hyperSlideDownTemplate"};
    std::vector<QImage> drawn;
    for (const auto& name : names) {
        const auto image = PreferencePictures::picture(name, Qt::black).toImage();
        ASSERT_FALSE(image.isNull()) << name;
        QImage blank(image.size(), image.format());
        blank.fill(Qt::transparent);
        EXPECT_NE(image, blank) << name;
        for (const auto& earlier : drawn) {
            EXPECT_NE(image, earlier) << name;
        }
        drawn.push_back(image);
    }
    EXPECT_TRUE(PreferencePictures::picture("StatusTemplate", Qt::black).isNull());
    EXPECT_EQ(PreferencePictures::picture("menuTemplate", Qt::black, 2.0).width(),
              2 * PreferencePictures::kSize);
}

TEST(PreferencePicturesTest, KeysAndGesturesNameTheirPictures)
{
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(0xE7), "rightCommandTemplate");
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(0x65), "menuTemplate");
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(0x3A), "functionKeyTemplate");
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(0x73), "functionKeyTemplate");
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(4), "capslockTemplate");
    EXPECT_EQ(PreferencePictures::gesturePicture(8), "hyperSlideBottomRightTemplate");
    EXPECT_EQ(PreferencePictures::gesturePicture(3), "hyperSlideDownTemplate");
}

}  // namespace
}  // namespace veltrane::gui
