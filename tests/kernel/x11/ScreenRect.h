#pragma once

namespace veltrane::kernel {

// A rectangle in the root window's coordinates.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int centreX() const { return x + width / 2; }
    int centreY() const { return y + height / 2; }
};

}  // namespace veltrane::kernel
