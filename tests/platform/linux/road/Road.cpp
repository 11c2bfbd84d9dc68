#include "Road.h"

#include "platform/KeyTable.h"

#include <stdexcept>

namespace veltrane::linuxbackend {

Road::Road() : mainThread_([this] { mainLoop.run(); }) {}

Road::~Road()
{
    mainLoop.quit();
    mainThread_.join();
    // No device callback may run once the hyper key that it records into is gone.
    hidQueue.sync([] {});
}

std::shared_ptr<LinuxKeyboard> Road::plugIn(const std::string& name)
{
    auto keyboard = std::make_shared<LinuxKeyboard>(LinuxKeyboard::Identity{name});
    hid.connect(keyboard);
    return keyboard;
}

void Road::change(const std::shared_ptr<LinuxKeyboard>& keyboard, KeyDecoder::Change change, bool wait)
{
    keyRoad->add(KeyRoad::Key{keyboard, change});
    if (wait) {
        mainLoop.sync([] {});
    }
}

void Road::key(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name, bool down, bool wait)
{
    const platform::KeyTable::Key* known = platform::KeyTable::byName(name);
    if (known == nullptr) {
        throw std::invalid_argument("no key is named " + std::string(name));
    }
    using Kind = KeyDecoder::Change::Kind;
    change(keyboard, {down ? Kind::down : Kind::up, known->linuxCode, known->usagePage, known->usage}, wait);
}

void Road::tap(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name)
{
    key(keyboard, name, true);
    key(keyboard, name, false);
}

void Road::unplug(const std::shared_ptr<LinuxKeyboard>& keyboard)
{
    keyRoad->add(KeyRoad::Gone{keyboard, {}});
}

void Road::settle()
{
    mainLoop.sync([] {});
    hidQueue.sync([] {});
}

std::vector<std::string> Road::written()
{
    settle();
    return output.take();
}

}  // namespace veltrane::linuxbackend
