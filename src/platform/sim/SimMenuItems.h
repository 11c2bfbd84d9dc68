#pragma once

#include "platform/ApplicationDelegate.h"
#include "platform/MenuItems.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::sim {

class Transcript;

// The items of one process's status menus. What the application sets while a menu opens is
// recorded once the opening is over, one line per item it touched.
class SimMenuItems final : public platform::MenuItems {
public:
    explicit SimMenuItems(Transcript& transcript) : transcript_(transcript) {}

    void setTitle(const std::string& outlet, const std::string& title) override;
    void setState(const std::string& outlet, bool on) override;
    void setHidden(const std::string& outlet, bool hidden) override;

    // Runs the application's preparation of a menu about to open, then records the items it
    // touched, in the order it first touched them.
    void open(const std::function<void()>& menuWillOpen);
    // The check state of the item that sends the action; false for the plain items.
    bool isSenderOn(platform::MenuAction action) const;

private:
    struct Item {
        std::optional<std::string> title;
        bool on = false;
        bool hidden = false;
    };

    Item& touch(const std::string& outlet);
    void record(const std::string& outlet) const;

    Transcript& transcript_;
    std::map<std::string, Item, std::less<>> items_;
    std::vector<std::string> touched_;
};

}  // namespace veltrane::sim
