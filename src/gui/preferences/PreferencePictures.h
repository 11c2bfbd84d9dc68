#pragma once

#include <QColor>
#include <QPixmap>

#include <cstdint>
#include <string>

namespace veltrane::gui {

// The pictures of the preferences window, drawn rather than shipped, by name: a key cap for each
// key that can be the hyper key ("capslockTemplate", "leftCommandTemplate", "menuTemplate", one
// "functionKeyTemplate" for F1 to F24) and a trackpad with the slide that triggers the hyper key
// ("hyperSlideTopLeftTemplate" ... "hyperSlideDownTemplate"). Drawn in one ink, the theme's text
// colour, so that they read on light and dark windows alike.
class PreferencePictures {
public:
    // Logical pixels; pictures are square.
    static constexpr int kSize = 64;

    // A null pixmap for a name no picture has.
    static QPixmap picture(const std::string& name, const QColor& ink, qreal devicePixelRatio = 1.0);
    // The picture of the key of that HID usage; a usage that cannot be the hyper key shows caps lock.
    static std::string physicalKeyPicture(std::int64_t usage);
    // The picture of a gesture value; any value that is not one corner shows the slide down.
    static std::string gesturePicture(std::int64_t gestures);
};

}  // namespace veltrane::gui
