// Any answers of an X server to the property requests the frontmost application is found by:
// _NET_ACTIVE_WINDOW, _NET_WM_PID and WM_CLASS, each as a format byte, a type, the count of values it
// claims and a length byte followed by that many bytes, padded to whole words as the protocol
// carries them. Checked on every input:
// - a reply of another type or format than asked holds nothing;
// - a reply holds at most the bytes it carries, and those are its first bytes;
// - the application concluded from WM_CLASS has a printable identifier and name.

#include "ApplicationCheck.h"
#include "FuzzInput.h"
#include "TemporaryFolder.h"
#include "platform/linux/x11/DesktopEntries.h"
#include "platform/linux/x11/X11ActiveApplication.h"
#include "platform/linux/x11/X11Property.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using veltrane::fuzz::checkApplication;
using veltrane::fuzz::fail;
using veltrane::fuzz::FuzzInput;
using veltrane::linuxbackend::DesktopEntries;
using veltrane::linuxbackend::X11ActiveApplication;
using veltrane::linuxbackend::X11Property;

// A reply as xcb hands it over: its header, then as many words as `length` says, in one block.
class Reply {
public:
    explicit Reply(FuzzInput& input)
    {
        const std::uint8_t format = input.byte();
        const xcb_atom_t type = input.word();
        const std::uint32_t claimed = input.word();
        const std::string carried = input.text();
        const std::size_t words = (carried.size() + 3) / 4;
        block_.resize(sizeof(xcb_get_property_reply_t) / 4 + words);
        *header() = {.response_type = 1,
                     .format = format,
                     .length = static_cast<std::uint32_t>(words),
                     .type = type,
                     .value_len = claimed};
        std::memcpy(header() + 1, carried.data(), carried.size());
    }

    // What follows the header.
    std::string_view carried() { return {reinterpret_cast<const char*>(header() + 1), header()->length * 4}; }

    // What the program reads as that type in that format, checked against what the reply carries.
    std::string read(xcb_atom_t type, std::uint8_t format, const std::string& what)
    {
        const std::string value =
            format == 32 ? asBytes(X11Property::values(*header(), type)) : X11Property::text(*header(), type);
        const bool typed = type == XCB_GET_PROPERTY_TYPE_ANY || header()->type == type;
        if (!value.empty() && (!typed || header()->format != format)) {
            fail(what + ": a reply of another type or format holds something");
        }
        if (!carried().starts_with(value)) {
            fail(what + ": holds more than the reply carries, or other bytes");
        }
        return value;
    }

private:
    static std::string asBytes(const std::vector<std::uint32_t>& values)
    {
        return {reinterpret_cast<const char*>(values.data()), values.size() * 4};
    }
    xcb_get_property_reply_t* header() { return reinterpret_cast<xcb_get_property_reply_t*>(block_.data()); }

    std::vector<std::uint32_t> block_;
};

// An application the entries know by its class and one by its program.
const DesktopEntries& entries()
{
    static const veltrane::testsupport::TemporaryFolder folder;
    static const DesktopEntries known = [] {
        std::ofstream(folder / "org.example.Editor.desktop")
            << "[Desktop Entry]\nType=Application\nName=Editor\nStartupWMClass=EditorMain\n";
        std::ofstream(folder / "player.desktop")
            << "[Desktop Entry]\nType=Application\nName=Player\nExec=player\n";
        return DesktopEntries({folder.path()});
    }();
    return known;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    Reply(input).read(XCB_ATOM_WINDOW, 32, "_NET_ACTIVE_WINDOW");
    const auto pid = Reply(input).read(XCB_ATOM_CARDINAL, 32, "_NET_WM_PID");
    const auto windowClass = Reply(input).read(XCB_GET_PROPERTY_TYPE_ANY, 8, "WM_CLASS");
    // The process's executable comes from the kernel, not from the server: a known one or none.
    const auto executable =
        pid.empty() ? std::nullopt : std::optional<std::filesystem::path>("/usr/bin/player");
    checkApplication(X11ActiveApplication::identify(entries(), windowClass, executable), "WM_CLASS");
    return 0;
}
