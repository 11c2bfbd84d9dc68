#pragma once

#include "platform/Windows.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class QWidget;

namespace veltrane::qtshell {

// The shell's windows by identifier. The program registers how each one is made; every
// makeWindow makes a new one, which its caller keeps.
class QtWindows final : public platform::Windows {
public:
    using Factory = std::function<std::unique_ptr<QWidget>()>;

    void registerWindow(const std::string& identifier, Factory factory);
    // Before what the factories use goes away.
    void unregisterAll() { factories_.clear(); }

    std::shared_ptr<platform::Window> makeWindow(const std::string& identifier) override;
    // Other applications' windows are not ours to raise: this brings forward the shell's own
    // active window, if it has one.
    void activateApplication() override;

private:
    std::map<std::string, Factory, std::less<>> factories_;
};

}  // namespace veltrane::qtshell
