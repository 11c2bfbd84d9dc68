#pragma once

#include <QWidget>

namespace veltrane::gui {

class TouchScene;

// A viewer window's content: the scene of the device's touches, filling it.
class ViewerViewController final : public QWidget {
public:
    explicit ViewerViewController(QWidget* parent = nullptr);

    TouchScene& scene() { return *scene_; }

private:
    TouchScene* scene_;
};

}  // namespace veltrane::gui
