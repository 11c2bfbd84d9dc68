#pragma once

#include <QWidget>

namespace veltrane::gui {

class ViewerViewController;

// The window of one device's viewer, opened as large as the device's touch surface in points.
class ViewerWindowController final : public QWidget {
public:
    ViewerWindowController(int width, int height);

    ViewerViewController& contentViewController() { return *content_; }

private:
    ViewerViewController* content_;
};

}  // namespace veltrane::gui
