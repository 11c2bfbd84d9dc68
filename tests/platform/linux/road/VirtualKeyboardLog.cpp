#include "VirtualKeyboardLog.h"

#include "platform/KeyTable.h"

#include <utility>

namespace veltrane::linuxbackend {

namespace {

bool isFramedKey(const input_event& key, const input_event& report)
{
    return key.type == EV_KEY && report.type == EV_SYN && report.code == SYN_REPORT;
}

// A key the table does not know goes by its number.
std::string nameOf(std::uint16_t linuxCode)
{
    const platform::KeyTable::Key* key = platform::KeyTable::byLinuxCode(linuxCode);
    return key != nullptr ? std::string(key->name) : std::to_string(linuxCode);
}

}  // namespace

KeyPipeline::Writer VirtualKeyboardLog::writer()
{
    return [this](std::span<const input_event> events) { write(events); };
}

std::vector<std::string> VirtualKeyboardLog::take()
{
    return std::exchange(keys_, {});
}

void VirtualKeyboardLog::write(std::span<const input_event> events)
{
    for (std::size_t i = 0; i < events.size(); i += 2) {
        const input_event& event = events[i];
        if (i + 1 < events.size() && isFramedKey(event, events[i + 1])) {
            keys_.push_back((event.value != 0 ? "+" : "-") + nameOf(event.code));
        } else {
            keys_.push_back("?" + std::to_string(event.type) + ":" + std::to_string(event.code));
        }
    }
}

}  // namespace veltrane::linuxbackend
