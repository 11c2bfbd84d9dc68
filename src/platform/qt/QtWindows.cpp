#include "platform/qt/QtWindows.h"

#include "platform/qt/QtWindow.h"

#include <QApplication>
#include <QWidget>

#include <utility>

namespace veltrane::qtshell {

void QtWindows::registerWindow(const std::string& identifier, Factory factory)
{
    factories_[identifier] = std::move(factory);
}

std::shared_ptr<platform::Window> QtWindows::makeWindow(const std::string& identifier)
{
    const auto found = factories_.find(identifier);
    if (found == factories_.end()) {
        return nullptr;
    }
    auto widget = found->second();
    return widget ? std::make_shared<QtWindow>(std::move(widget)) : nullptr;
}

void QtWindows::activateApplication()
{
    if (QWidget* window = QApplication::activeWindow()) {
        window->raise();
        window->activateWindow();
    }
}

}  // namespace veltrane::qtshell
