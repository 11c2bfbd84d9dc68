#include "KeyNames.h"

#include "platform/KeyTable.h"

namespace veltrane::linuxbackend {

namespace {

std::string nameOr(const platform::KeyTable::Key* key, std::string number)
{
    return key != nullptr ? std::string(key->name) : number;
}

}  // namespace

std::string nameOfLinuxCode(std::uint16_t linuxCode)
{
    return nameOr(platform::KeyTable::byLinuxCode(linuxCode), std::to_string(linuxCode));
}

std::string nameOfUsage(platform::HidUsage usage)
{
    return nameOr(platform::KeyTable::byUsage(usage.page, usage.usage),
                  std::to_string(usage.page) + ":" + std::to_string(usage.usage));
}

std::string nameOfKeyCode(std::uint16_t keyCode)
{
    return nameOr(platform::KeyTable::byKeyCode(keyCode), "code" + std::to_string(keyCode));
}

}  // namespace veltrane::linuxbackend
