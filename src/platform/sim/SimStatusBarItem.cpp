#include "platform/sim/SimStatusBarItem.h"

#include "platform/sim/SimProcess.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

void SimStatusBarItem::setMenu(platform::StatusMenu menu)
{
    menu_ = menu;
    transcript_.record("status", menu == platform::StatusMenu::main ? "menu main" : "menu unauthorized");
}

void SimStatusBarItem::setVisible(bool visible)
{
    transcript_.record("status", visible ? "visible" : "hidden");
}

void SimStatusBarItem::setImage(const std::string& name)
{
    transcript_.record("image", name);
}

void SimStatusBarItem::performClick()
{
    transcript_.record("status", "click");
    if (menu_ == platform::StatusMenu::main) {
        process_.openMenu(std::nullopt);
    }
}

}  // namespace veltrane::sim
