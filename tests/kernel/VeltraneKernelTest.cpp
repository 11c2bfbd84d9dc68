#include "EvdevReader.h"
#include "InputNodes.h"
#include "TemporaryFolder.h"
#include "UinputKeyboard.h"
#include "UinputMouse.h"
#include "UinputTouchpad.h"
#include "VeltraneProcess.h"
#include "VirtualKeyboardTap.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ranges>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace veltrane::kernel {
namespace {

using Keys = std::vector<std::string>;

constexpr std::uint16_t kLogitech = 0x046D;
const Keys kHyperDown{"+lctrl", "+lopt", "+lcmd", "+lshift"};
const Keys kHyperUp{"-lctrl", "-lopt", "-lcmd", "-lshift"};
// An orderly stop lets every key go, in the order of their codes.
const Keys kAllUp{"-lctrl", "-lshift", "-lopt", "-lcmd"};
// Caps lock as the hyper key is left Command below the engine: its own release goes first.
const Keys kCapsHyperUp{"-lcmd", "-lctrl", "-lopt", "-lshift"};

// A log line that is whole: one time stamp ("12:34:56.789 "), at its start and nowhere else.
bool isWholeLogLine(std::string_view line)
{
    constexpr std::string_view kShape = "00:00:00.000 ";
    const auto stampAt = [&](std::size_t at) {
        return line.size() - at >= kShape.size() &&
               std::equal(
                   kShape.begin(), kShape.end(), line.begin() + static_cast<std::ptrdiff_t>(at),
                   [](char shape, char c) { return shape == '0' ? c >= '0' && c <= '9' : c == shape; });
    };
    return stampAt(0) && std::ranges::none_of(std::views::iota(std::size_t{1}, line.size()), stampAt);
}

Keys join(std::initializer_list<Keys> parts)
{
    Keys all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// What the virtual pointer sends until it is quiet: "+left", "-left", "move 5,-3", "wheel 1".
Keys pointerEvents(EvdevReader& pointer)
{
    Keys events;
    std::string motion;
    while (const auto event = pointer.next(std::chrono::milliseconds(1500))) {
        if (event->type == EV_KEY) {
            events.push_back((event->value != 0 ? "+" : "-") +
                             std::string(event->code == BTN_LEFT ? "left" : "other"));
        } else if (event->type == EV_REL) {
            const auto value = std::to_string(event->value);
            motion += event->code == REL_X   ? "move " + value
                      : event->code == REL_Y ? "," + value
                                             : "wheel " + value;
        } else if (event->type == EV_SYN && !motion.empty()) {
            events.push_back(std::exchange(motion, ""));
        }
    }
    return events;
}

// The program's environment for faults made on demand: the library that makes them, and the rules
// (see FaultInjection.cpp).
std::vector<std::string> withFaults(const std::string& rules, std::vector<std::string> environment = {})
{
    environment.push_back("LD_PRELOAD=/bin/libveltrane_faults.so");
    environment.push_back("VELTRANE_FAULTS=" + rules);
    // Built under AddressSanitizer, the program would refuse to start behind a preloaded library;
    // the library calls on to what comes next, so the order does no harm here.
    environment.push_back("ASAN_OPTIONS=verify_asan_link_order=0");
    return environment;
}

// What the desktop sees of caps lock held as the hyper key around a tap of A.
const Keys kHyperA = join({kHyperDown, {"+a", "-a"}, kCapsHyperUp});

// What a session waits for before it types: the key mapping written, and the hyper key listener.
enum class Ready { mapping, mappingWithPairs, listener };

// A keyboard, the real program holding it, and the program's virtual keyboard as the desktop
// reads it, once the program is ready.
class Session {
public:
    explicit Session(const std::string& settings, Ready ready = Ready::mapping,
                     UinputKeyboard::Bus bus = UinputKeyboard::Bus::usb,
                     std::vector<std::string> environment = {})
        : keyboard("Test Keyboard", bus, kLogitech, 0xC31C), veltrane(settings, {}, std::nullopt, environment)
    {
        waitUntil(ready);
        EXPECT_TRUE(InputNodes::waitUntilGrabbed(keyboard.eventNode())) << veltrane.output();
        tap = std::make_unique<VirtualKeyboardTap>();
    }

    // The listener opens after the key mapping is written.
    void waitUntil(Ready ready)
    {
        const char* line = ready == Ready::mapping            ? "Key mapping:"
                           : ready == Ready::mappingWithPairs ? "Key mapping: [{"
                                                              : "Open: 0";
        EXPECT_TRUE(veltrane.waitForOutput(line)) << veltrane.output();
        if (ready == Ready::listener) {
            // The listener joins its thread just after it opens; nothing tells when.
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        }
    }

    // Caps lock held as the hyper key around a tap of A, and what the desktop then sees.
    Keys hyperChord()
    {
        keyboard.key(KEY_CAPSLOCK, true);
        keyboard.tap(KEY_A);
        keyboard.key(KEY_CAPSLOCK, false);
        return tap->keys();
    }

    UinputKeyboard keyboard;
    VeltraneProcess veltrane;
    std::unique_ptr<VirtualKeyboardTap> tap;
};

// Caps lock held as the hyper key around a key, on a USB keyboard and on an AT one, and alone, which
// presses nothing. Whatever ends the program while it holds modifiers, the desktop sees them go up
// and gets the keyboard back.
TEST(VeltraneKernelTest, HyperChordsOnUsbAndAtKeyboardsAndSignalsWhileTheHyperKeyIsHeldLeaveNothingPressed)
{
    using enum UinputKeyboard::Bus;
    for (const auto& [bus, signal] :
         {std::pair{usb, SIGTERM}, std::pair{at, SIGINT}, std::pair{usb, SIGKILL}}) {
        Session session(R"({"keyRemap": true})", Ready::listener, bus);
        EXPECT_EQ(session.hyperChord(), kHyperA);
        session.keyboard.tap(KEY_CAPSLOCK);
        session.keyboard.tap(KEY_B);
        EXPECT_EQ(session.tap->keys(), (Keys{"+b", "-b"}));
        session.keyboard.key(KEY_CAPSLOCK, true);
        session.keyboard.tap(KEY_A);
        EXPECT_EQ(session.tap->keys(), join({kHyperDown, {"+a", "-a"}}));
        session.veltrane.signal(signal);
        // The kernel lets a reader see nothing of a device once it is gone: the releases of an
        // orderly stop are there to read, those of a killed program only reach readers in time.
        const auto released = session.tap->keys();
        EXPECT_EQ(session.veltrane.waitForExit(), signal == SIGKILL ? -SIGKILL : 0)
            << session.veltrane.output();
        if (signal != SIGKILL) {
            EXPECT_EQ(released, kAllUp);
        }
        EXPECT_TRUE(InputNodes::gone("Veltrane Virtual Keyboard"));
        EXPECT_TRUE(InputNodes::canGrab(session.keyboard.eventNode()));
    }
}

// Caps lock sends Escape by a quick press of the hyper key, and then remapped below the engine,
// where the lock stays off. On a keyboard of another maker Command and Option trade places; right
// Command as the hyper key, a modifier itself, gains the hyper set.
TEST(VeltraneKernelTest, CapsLockSendsEscapeLeavingTheLockAloneAndAWindowsKeyboardSwapsCommandAndOption)
{
    Session session(R"({"keyRemap": true, "executeQuickHyperKey": true, "quickHyperKeycode": 53})",
                    Ready::listener);
    auto& keyboard = session.keyboard;
    keyboard.tap(KEY_CAPSLOCK);
    EXPECT_EQ(session.tap->keys(), (Keys{"+escape", "-escape"}));
    session.veltrane.writeSettings(R"({"capsLockRemapped": true})");
    ASSERT_TRUE(session.veltrane.waitForOutput("Remap caps lock to 41")) << session.veltrane.output();
    session.waitUntil(Ready::mappingWithPairs);
    keyboard.tap(KEY_CAPSLOCK);
    EXPECT_EQ(session.tap->keys(), (Keys{"+escape", "-escape"}));
    EXPECT_NE(keyboard.capsLockLight(), true);

    // Caps lock's remapping alone needs no listener: this one starts afresh.
    session.veltrane.writeSettings(R"({"winRemap": true})");
    session.waitUntil(Ready::listener);
    keyboard.key(KEY_LEFTALT, true);
    keyboard.tap(KEY_C);
    keyboard.key(KEY_LEFTALT, false);
    keyboard.key(KEY_LEFTMETA, true);
    keyboard.tap(KEY_C);
    keyboard.key(KEY_LEFTMETA, false);
    EXPECT_EQ(session.tap->keys(), (Keys{"+lcmd", "+c", "-c", "-lcmd", "+lopt", "+c", "-c", "-lopt"}));

    session.veltrane.skipOutput();
    session.veltrane.writeSettings(R"({"keyRemap": true, "physicalKeycode": 231})");
    ASSERT_TRUE(session.veltrane.waitForOutput("Key mapping:")) << session.veltrane.output();
    keyboard.key(KEY_RIGHTMETA, true);
    keyboard.tap(KEY_A);
    keyboard.key(KEY_RIGHTMETA, false);
    keyboard.tap(KEY_RIGHTMETA);
    EXPECT_EQ(session.tap->keys(), join({kHyperDown, {"+a", "-a"}, kHyperUp}));
}

// The udev monitor here loses the news of every device, as one whose socket ran over does: the
// program looks at every device then, and finds the new one all the same. The keyboard pulled out
// holds the hyper key and a letter, which go up.
TEST(VeltraneKernelTest, KeyboardsComeAndGoWhileTheHyperKeyIsHeld)
{
    Session session(R"({"keyRemap": true})", Ready::listener, UinputKeyboard::Bus::usb,
                    withFaults("udev /dev/input/event lose"));
    auto second =
        std::make_unique<UinputKeyboard>("Second Keyboard", UinputKeyboard::Bus::usb, kLogitech, 0xC52B);
    ASSERT_TRUE(InputNodes::waitUntilGrabbed(second->eventNode())) << session.veltrane.output();
    ASSERT_TRUE(
        session.veltrane.waitForOutput("Detected keyboard: KeyboardDevice(vendor: 1133, product: 50475"))
        << session.veltrane.output();
    ASSERT_TRUE(session.veltrane.waitForOutput("Key mapping: [{")) << session.veltrane.output();
    second->key(KEY_CAPSLOCK, true);
    session.keyboard.tap(KEY_A);
    second->key(KEY_X, true);
    // Read before the unplug: the kernel drops what a reader has not read of a device once it is gone.
    EXPECT_EQ(session.tap->keys(), join({kHyperDown, {"+a", "-a", "+x"}}));
    second.reset();
    session.keyboard.tap(KEY_B);
    EXPECT_EQ(session.tap->keys(), join({{"-x"}, kCapsHyperUp, {"+b", "-b"}}));
    // With udevd running, as on a desktop, keyboards are followed through its monitor, and the rule
    // Veltrane ships tags the keyboard and uinput for udev's uaccess, which gives them to the person
    // at the seat.
    const bool udev = std::filesystem::exists("/run/udev/control");
    EXPECT_NE(session.veltrane.output().find(udev ? "through udev" : "through inotify"), std::string::npos);
    if (udev) {
        struct stat node {};
        ASSERT_EQ(::stat(session.keyboard.eventNode().c_str(), &node), 0);
        const auto record = "/run/udev/data/c" + std::to_string(major(node.st_rdev)) + ":" +
                            std::to_string(minor(node.st_rdev));
        EXPECT_NE(testsupport::TemporaryFolder::read(record).find("G:uaccess\n"), std::string::npos)
            << record;
        EXPECT_TRUE(std::filesystem::exists("/run/udev/static_node-tags/uaccess/uinput"));
    }
}

// Left alone, the program keeps a few threads and sleeps: at most one wake-up a second, all told.
// A thousand taps as fast as the harness can write them then arrive whole and in order, with as
// many in flight as the kernel holds for a reader: it keeps 64 events per reader of a device, and in
// this machine even a bare reader falls behind a writer that never waits, so more in flight would
// test the kernel's loss, not the program's. Plain typing and caps lock pass untouched, and the
// keyboard's light follows the lock, which only the program keeps on this machine. Settings changed
// while the program runs apply at once.
TEST(VeltraneKernelTest, AnIdleProgramSleepsAndTypingPassesWholeUntilSettingsChangedWhileRunningApplyAtOnce)
{
    Session session("");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const auto idle = session.veltrane.idle(std::chrono::seconds(5));
    std::printf("headless %s\n", idle.describe().c_str());
    EXPECT_LE(idle.threads.size(), 4U);
    EXPECT_LE(idle.wakeUps, 5);

    const std::uint16_t letters[] = {KEY_Q, KEY_W, KEY_E, KEY_R, KEY_T, KEY_Y};
    const Keys names{"q", "w", "e", "r", "t", "y"};
    constexpr std::size_t kTaps = 1000;
    constexpr std::size_t kInFlight = 8;
    constexpr auto kQuiet = std::chrono::milliseconds(3000);
    Keys expected;
    for (std::size_t tap = 0; tap < kTaps; ++tap) {
        expected.push_back("+" + names[tap % 6]);
        expected.push_back("-" + names[tap % 6]);
    }
    Keys received;
    std::atomic<std::size_t> changes = 0;
    std::atomic<bool> quiet = false;
    std::thread reader([&] {
        for (auto keys = session.tap->keys(kQuiet, 1); !keys.empty(); keys = session.tap->keys(kQuiet, 1)) {
            received.push_back(keys.front());
            ++changes;
        }
        quiet = true;
    });
    for (std::size_t tap = 0; tap < kTaps; ++tap) {
        while (tap >= kInFlight && changes < 2 * (tap - kInFlight) && !quiet) {
            std::this_thread::yield();
        }
        session.keyboard.tap(letters[tap % 6]);
    }
    reader.join();
    EXPECT_EQ(received.size(), expected.size()) << session.veltrane.output();
    EXPECT_EQ(received, expected);

    auto& keyboard = session.keyboard;
    keyboard.key(KEY_LEFTSHIFT, true);
    keyboard.tap(KEY_B);
    keyboard.key(KEY_LEFTSHIFT, false);
    keyboard.tap(KEY_CAPSLOCK);
    EXPECT_EQ(session.tap->keys(), (Keys{"+lshift", "+b", "-b", "-lshift", "+capslock", "-capslock"}));
    EXPECT_EQ(keyboard.capsLockLight(), true);
    session.veltrane.writeSettings(R"({"keyRemap": true})");
    session.waitUntil(Ready::listener);
    EXPECT_EQ(session.hyperChord(), kHyperA);

    // An editor's save cut short changes nothing: the problem is told where it is, and the settings
    // keep their last good values until the file is mended, which then applies at once.
    const std::string halfWritten = R"({"keyRemap": tr)";
    session.veltrane.writeSettings(halfWritten);
    EXPECT_TRUE(session.veltrane.waitForOutput(session.veltrane.settingsPath() + ":1:"))
        << session.veltrane.output();
    EXPECT_EQ(session.hyperChord(), kHyperA);
    VeltraneProcess status(halfWritten, {"status"});
    EXPECT_EQ(status.waitForExit(), 0);
    EXPECT_NE(status.output().find("The settings file cannot be used (" + status.settingsPath() + ":1:"),
              std::string::npos)
        << status.output();
    session.veltrane.writeSettings(R"({"keyRemap": false})");
    EXPECT_TRUE(session.veltrane.waitForOutput("Key mapping: []")) << session.veltrane.output();
    keyboard.tap(KEY_CAPSLOCK);
    keyboard.tap(KEY_A);
    EXPECT_EQ(session.tap->keys(), (Keys{"+capslock", "-capslock", "+a", "-a"}));
}

// Without a pointer option the mice stay the desktop's own; switched on while running, they are
// taken. With the hyper key held, a click then reaches the desktop with the hyper modifiers held on
// the virtual keyboard; the mouse's reports go out as they came through the virtual pointer. The
// desktop reads a touchpad's clicks itself, at once: with the hyper key held, the modifiers go down
// on the virtual keyboard as soon as a finger rests on the pad, before it clicks.
TEST(VeltraneKernelTest, MouseAndTouchpadClicksWithTheHyperKeyHeldFindTheModifiersDown)
{
    UinputMouse mouse("Test Mouse");
    UinputTouchpad touchpad("Test Touchpad");
    Session session(R"({"keyRemap": true, "applyToClick": false})", Ready::listener);
    EXPECT_TRUE(InputNodes::canGrab(mouse.eventNode()));
    session.veltrane.writeSettings(R"({"keyRemap": true, "applyToClick": true})");
    ASSERT_TRUE(InputNodes::waitUntilGrabbed(mouse.eventNode())) << session.veltrane.output();
    EvdevReader pointer(InputNodes::named("Veltrane Virtual Pointer"));
    session.keyboard.key(KEY_CAPSLOCK, true);
    mouse.click(BTN_LEFT);
    mouse.move(5, -3);
    mouse.scroll(1);
    session.keyboard.key(KEY_CAPSLOCK, false);
    EXPECT_EQ(session.tap->keys(), join({kHyperDown, kCapsHyperUp}));
    EXPECT_EQ(pointerEvents(pointer), (Keys{"+left", "-left", "move 5,-3", "wheel 1"}));

    session.keyboard.key(KEY_CAPSLOCK, true);
    EXPECT_EQ(session.tap->keys(std::chrono::milliseconds(500)), Keys{});
    touchpad.touch(0, 600, 400);
    // Held, they repeat: the first four changes are theirs.
    EXPECT_EQ(session.tap->keys(std::chrono::milliseconds(1500), kHyperDown.size()), kHyperDown);
    touchpad.press(true);
    touchpad.press(false);
    touchpad.lift(0);
    session.keyboard.key(KEY_CAPSLOCK, false);
    EXPECT_EQ(session.tap->keys(), kCapsHyperUp);
    EXPECT_TRUE(InputNodes::canGrab(touchpad.eventNode()));
}

// One finger slides in from the top edge of a touchpad, ten steps of 1.25 mm down from y.
void slideDown(UinputTouchpad& touchpad, int slot, std::int32_t y)
{
    touchpad.touch(slot, UinputTouchpad::kWidth / 2, y);
    for (int step = 1; step <= 10; ++step) {
        touchpad.move(slot, UinputTouchpad::kWidth / 2, y + 15 * step);
    }
}

// A slide from the top edge of a touchpad holds the hyper state for the keys typed during it,
// until the finger lifts or a second finger lands; a slide that starts lower does nothing. The
// touchpad is read alongside the desktop, never grabbed, and may come and go while the program runs.
TEST(VeltraneKernelTest, ASlideFromTheTopEdgeOfATouchpadHoldsTheHyperState)
{
    Session session(R"({"oneSwipeFromTop": true, "gestures": 16})");
    auto touchpad = std::make_unique<UinputTouchpad>("Test Touchpad");
    ASSERT_TRUE(session.veltrane.waitForOutput("Touchpad connected: Test Touchpad"))
        << session.veltrane.output();
    // Registered a second after it is found.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(InputNodes::canGrab(touchpad->eventNode()));
    VeltraneProcess devices("", {"devices"});
    EXPECT_EQ(devices.waitForExit(), 0);
    EXPECT_NE(devices.output().find(
                  "\"Test Touchpad\"\n    read alongside the desktop: a touchpad: a slide on it can "
                  "hold the hyper key; never grabbed\n    built in, 100 x 67 mm, 5 contacts, with "
                  "pressure\n"),
              std::string::npos)
        << devices.output();
    auto& keyboard = session.keyboard;
    slideDown(*touchpad, 0, 5);
    keyboard.tap(KEY_A);
    touchpad->lift(0);
    keyboard.tap(KEY_B);
    slideDown(*touchpad, 0, 300);
    keyboard.tap(KEY_C);
    touchpad->lift(0);
    slideDown(*touchpad, 0, 5);
    touchpad->touch(1, 200, 400);
    keyboard.tap(KEY_D);
    touchpad->lift(1);
    touchpad->lift(0);
    // While the slide holds the hyper state, the finger on the pad may click: the modifiers go down
    // for that, and up when the second finger ends the slide.
    EXPECT_EQ(session.tap->keys(), join({kHyperDown,
                                         {"+a", "-a"},
                                         kHyperUp,
                                         {"+b", "-b", "+c", "-c"},
                                         kHyperDown,
                                         kHyperUp,
                                         {"+d", "-d"}}));
    touchpad.reset();
    ASSERT_TRUE(session.veltrane.waitForOutput("Touchpad disconnected: Test Touchpad"))
        << session.veltrane.output();
    keyboard.tap(KEY_E);
    EXPECT_EQ(session.tap->keys(), (Keys{"+e", "-e"}));
}

// Veltrane needs no root, only what the shipped rule gives the person at the seat (or the group
// input): the input devices and uinput. Without them it says what to do and stops with status 1.
TEST(VeltraneKernelTest, NeedsTheInputDevicesNotRoot)
{
    constexpr uid_t kUser = 1000;
    UinputKeyboard keyboard("Test Keyboard", UinputKeyboard::Bus::usb, kLogitech, 0xC31C);
    {
        VeltraneProcess refused("", {}, kUser);
        EXPECT_EQ(refused.waitForExit(), 1);
        EXPECT_NE(refused.output().find("grant-input-access"), std::string::npos) << refused.output();
    }
    for (const auto& node : {std::string("/dev/uinput"), keyboard.eventNode(),
                             InputNodes::named("AT Translated Set 2 keyboard")}) {
        ASSERT_EQ(::chmod(node.c_str(), 0666), 0) << node;
    }
    VeltraneProcess allowed("", {}, kUser);
    EXPECT_TRUE(allowed.waitForOutput("Key mapping:")) << allowed.output();
    EXPECT_TRUE(InputNodes::waitUntilGrabbed(keyboard.eventNode())) << allowed.output();
    ASSERT_EQ(::chmod("/dev/uinput", 0600), 0);
}

// A small disk of the test's own, which it fills and makes read-only.
class Disk {
public:
    explicit Disk(std::filesystem::path folder) : folder_(std::move(folder))
    {
        std::filesystem::create_directories(folder_);
        EXPECT_EQ(::mount("disk", folder_.c_str(), "tmpfs", 0, "size=1m"), 0);
    }
    ~Disk() { ::umount2(folder_.c_str(), MNT_DETACH); }

    const std::filesystem::path& folder() const { return folder_; }
    void fill() const
    {
        std::ofstream filler(folder_ / "filler");
        while (filler << std::string(4096, 'f') << std::flush) {
        }
    }
    void empty() const { std::filesystem::remove(folder_ / "filler"); }
    // The program holds the log file open while it writes a line, and a read-only remount refuses a
    // disk with a file open for writing: it is tried again a moment later.
    void readOnly(bool on) const
    {
        EXPECT_TRUE(testsupport::eventually(
            [&] {
                return ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | (on ? MS_RDONLY : 0),
                               nullptr) == 0;
            },
            std::chrono::seconds(1)))
            << std::strerror(errno);
    }

private:
    std::filesystem::path folder_;
};

// A full disk and a read-only one refuse a setting with a clear error, leaving the file as it was,
// and cost the log its lines, never a part of one; keys go on flowing. The setting goes in once the
// disk takes writes again.
TEST(VeltraneKernelTest, AFullOrReadOnlyDiskRefusesSettingsAndLogLinesButNotKeys)
{
    const Disk disk("/tmp/disk");
    const auto config = disk.folder() / "config";
    const auto settings = config / "veltrane" / "settings.json";
    const std::string json = R"({"keyRemap": true, "logToFile": true})";
    std::filesystem::create_directories(settings.parent_path());
    std::ofstream(settings) << json;
    const std::vector<std::string> folders{"XDG_CONFIG_HOME=" + config.string(),
                                           "XDG_DATA_HOME=" + (disk.folder() / "data").string()};
    Session session("", Ready::listener, UinputKeyboard::Bus::usb, folders);
    const auto written = testsupport::TemporaryFolder::read(settings);
    const auto cpu = session.veltrane.cpuTime();
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::string> setting{"config", "set", "keyRemap", "false"};
    const auto refused = [&](const std::string& error) {
        VeltraneProcess set("", setting, std::nullopt, folders);
        EXPECT_EQ(set.waitForExit(), 1);
        EXPECT_NE(set.output().find("cannot write " + settings.string() + ": " + error), std::string::npos)
            << set.output();
    };
    // Each keyboard that comes and goes writes a few long lines to the log.
    const std::string longName(79, 'k');
    const auto logLines = [&](int keyboards) {
        for (int keyboard = 0; keyboard < keyboards; ++keyboard) {
            {
                const UinputKeyboard passing(longName, UinputKeyboard::Bus::usb, kLogitech, 0xC52B);
                EXPECT_TRUE(InputNodes::waitUntilGrabbed(passing.eventNode()));
            }
            EXPECT_TRUE(session.veltrane.waitForOutput("disconnected: " + longName))
                << session.veltrane.output();
        }
    };

    disk.fill();
    logLines(10);
    EXPECT_EQ(session.hyperChord(), kHyperA);
    refused("No space left on device");
    disk.empty();
    logLines(1);
    disk.readOnly(true);
    refused("Read-only file system");
    logLines(1);
    EXPECT_EQ(session.hyperChord(), kHyperA);
    EXPECT_EQ(testsupport::TemporaryFolder::read(settings), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(settings.parent_path()),
                            std::filesystem::directory_iterator()),
              1);

    disk.readOnly(false);
    EXPECT_EQ(VeltraneProcess("", setting, std::nullopt, folders).waitForExit(), 0);
    EXPECT_TRUE(session.veltrane.waitForOutput("Key mapping: []")) << session.veltrane.output();
    EXPECT_LT((session.veltrane.cpuTime() - cpu) * 2, std::chrono::steady_clock::now() - start);
    const auto& output = session.veltrane.output();
    EXPECT_NE(output.find("Logging File Destination could not write to file"), std::string::npos) << output;
    std::size_t lines = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(disk.folder() / "data")) {
        std::ifstream log(entry.path());
        for (std::string line; std::getline(log, line); ++lines) {
            EXPECT_TRUE(isWholeLogLine(line)) << line;
        }
    }
    EXPECT_GT(lines, 0U);
}

// Reads and writes the kernel interrupts or cuts short, here every other one, lose nothing; a virtual
// keyboard that refuses every write for a while gets what was typed meanwhile once it takes writes
// again. The program says so once each way, and waits meanwhile rather than spin. An editor replaces
// the settings file, or removes it, just as the program starts reading it: the program follows the
// file as the editor left it, and goes on following it. It never writes back, not even what it sets
// itself in following the file: turning the hyper key on switches caps lock's own remapping off in
// memory only, since a write would race the editor's next save.
TEST(VeltraneKernelTest, InterruptedShortAndRefusedCallsLoseNoKeyAndSettingsFollowAFileReplacedWhileRead)
{
    const std::string refusing = "/tmp/uinput-refuses";
    const std::string replacing = "/tmp/settings-replaced";
    const std::string removing = "/tmp/settings-removed";
    Session session(
        R"({"keyRemap": true})", Ready::listener, UinputKeyboard::Bus::usb,
        withFaults("write /dev/uinput EIO " + refusing +
                   ";write /dev/uinput EINTR;write /dev/uinput short;read /dev/input/event EINTR" +
                   ";read settings.json replace " + replacing + ";read settings.json unlink " + removing));
    EXPECT_EQ(session.hyperChord(), kHyperA);
    // A program that spins spends the time on a processor.
    const auto cpu = session.veltrane.cpuTime();
    const auto start = std::chrono::steady_clock::now();
    std::ofstream{refusing};
    EXPECT_EQ(session.hyperChord(), Keys{});
    std::filesystem::remove(refusing);
    EXPECT_EQ(session.tap->keys(std::chrono::milliseconds(3000)), kHyperA);
    EXPECT_LT((session.veltrane.cpuTime() - cpu) * 2, std::chrono::steady_clock::now() - start);
    const auto& output = session.veltrane.output();
    EXPECT_TRUE(session.veltrane.waitForOutput("Can write to the virtual keyboard again")) << output;
    const std::string refused = "Cannot write to the virtual keyboard: Input/output error";
    EXPECT_TRUE(output.find(refused) != std::string::npos && output.find(refused) == output.rfind(refused))
        << output;

    auto& veltrane = session.veltrane;
    // The program's first writes of its own are followed by mappings like those of the file's.
    veltrane.skipOutput();
    std::ofstream(veltrane.settingsPath() + ".next") << R"({"keyRemap": true})";
    std::ofstream{replacing};
    veltrane.writeSettings(R"({"keyRemap": false})");
    ASSERT_TRUE(veltrane.waitForOutput("Key mapping: []")) << veltrane.output();
    ASSERT_TRUE(veltrane.waitForOutput("Key mapping: [{")) << veltrane.output();
    EXPECT_EQ(testsupport::TemporaryFolder::read(veltrane.settingsPath()), R"({"keyRemap": true})");
    std::filesystem::remove(replacing);
    std::ofstream{removing};
    veltrane.writeSettings(R"({"keyRemap": true, "quickHyperKeycode": 53})");
    ASSERT_TRUE(veltrane.waitForOutput("Key mapping: []")) << veltrane.output();
    EXPECT_FALSE(std::filesystem::exists(veltrane.settingsPath()));
    std::filesystem::remove(removing);
    veltrane.writeSettings(R"({"keyRemap": true})");
    session.waitUntil(Ready::listener);
    EXPECT_EQ(session.hyperChord(), kHyperA);
    EXPECT_EQ(veltrane.output().find("Stopped watching"), std::string::npos) << veltrane.output();
}

}  // namespace
}  // namespace veltrane::kernel
