#pragma once

#include <QWidget>

#include <memory>

class QLabel;

namespace veltrane::platform {
class Bundle;
}

namespace veltrane::gui {

// The about window's content: the application's name, version and copyright, read from the
// bundle once, when it is made. A key the bundle lacks leaves its field empty.
class AboutViewController final : public QWidget {
public:
    explicit AboutViewController(const platform::Bundle& bundle, QWidget* parent = nullptr);

    // The about window: a top-level window of fixed size, just large enough for its content.
    static std::unique_ptr<QWidget> makeWindow(const platform::Bundle& bundle);

    const QLabel& versionField() const { return *versionField_; }
    const QLabel& copyrightField() const { return *copyrightField_; }

private:
    QLabel* versionField_;
    QLabel* copyrightField_;
};

}  // namespace veltrane::gui
