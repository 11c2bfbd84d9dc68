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
    settle();
}

std::shared_ptr<LinuxKeyboard> Road::plugIn(const std::string& name)
{
    auto keyboard = std::make_shared<LinuxKeyboard>(LinuxKeyboard::Identity{name});
    hid.connect(keyboard);
    return keyboard;
}

void Road::key(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name, bool down)
{
    const platform::KeyTable::Key* known = platform::KeyTable::byName(name);
    if (known == nullptr) {
        throw std::invalid_argument("no key is named " + std::string(name));
    }
    using Kind = KeyDecoder::Change::Kind;
    pipeline.key(keyboard, {down ? Kind::down : Kind::up, known->linuxCode, known->usagePage, known->usage});
}

void Road::tap(const std::shared_ptr<LinuxKeyboard>& keyboard, std::string_view name)
{
    key(keyboard, name, true);
    key(keyboard, name, false);
}

}  // namespace veltrane::linuxbackend
