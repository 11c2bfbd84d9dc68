#pragma once

#include <QWidget>

#include <memory>

namespace veltrane::gui {

// Says why the program cannot start its engine yet (the input devices are closed to it) and how
// to open them, with the one command to run, which a button copies. Closing it quits the program,
// which has nothing to do without the devices.
class PermissionViewController final : public QWidget {
public:
    PermissionViewController(const QString& explanation, const QString& command, QWidget* parent = nullptr);

    static std::unique_ptr<QWidget> makeWindow(const QString& explanation, const QString& command);
};

}  // namespace veltrane::gui
