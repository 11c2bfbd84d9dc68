#include "gui/preferences/PreferencePictures.h"

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

namespace veltrane::gui {
namespace {

TEST(PreferencePicturesTest, EveryNameHasAPictureOfItsOwnAndOthersHaveNone)
{
    std::vector<QImage> drawn;
    for (const std::string key :
         {"capslock", "rightOption", "rightCommand", "rightShift", "rightControl", "leftOption",
          "leftCommand", "leftShift", "leftControl", "menu", "functionKey", "hyperSlideTopLeft",
          "hyperSlideTopRight", "hyperSlideBottomLeft", "hyperSlideBottomRight", "hyperSlideDown"}) {
        const auto name = key + "Template";
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

// Caps lock's picture for an unknown key and the gestures' pictures are in the window's tests.
TEST(PreferencePicturesTest, KeysNameTheirPictures)
{
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(0xE7), "rightCommandTemplate");
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(0x65), "menuTemplate");
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(0x3A), "functionKeyTemplate");
    EXPECT_EQ(PreferencePictures::physicalKeyPicture(0x73), "functionKeyTemplate");
}

}  // namespace
}  // namespace veltrane::gui
