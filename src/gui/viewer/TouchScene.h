#pragma once

#include "touch/TouchEvent.h"

#include <QWidget>

#include <vector>

namespace veltrane::gui {

// One device's touches as circles on a white surface, placed as the fingers lie on the device.
// The scene always fills its view, whatever the window's size.
class TouchScene final : public QWidget {
public:
    static constexpr double kTouchRadius = 15.0;

    explicit TouchScene(QWidget* parent = nullptr);

    // Replaces the circles by the event's touches; once the fingers are lifted the scene is empty.
    void drawTouches(const TouchEvent& event);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Normalised, with y growing towards the device's top edge.
    std::vector<TouchPoint> touches_;
};

}  // namespace veltrane::gui
