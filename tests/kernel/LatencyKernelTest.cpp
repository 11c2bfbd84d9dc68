#include "ChildProcess.h"
#include "EvdevReader.h"
#include "InputNodes.h"
#include "UinputKeyboard.h"
#include "VeltraneProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::kernel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kLogitech = 0x046D;
// The three take turns, a round each at a time, so that what else the host runs slows all alike.
constexpr int kRounds = 4;
// 2000 changes each: the 99th percentile is then twenty of them, not a single stall of the machine.
constexpr int kTapsPerRound = 250;
// The first keys through a program in this machine pay for translating its code: not measured.
constexpr int kWarmUpTaps = 20;
constexpr auto kKeyTimeout = std::chrono::milliseconds(2000);
using Samples = std::vector<double>;

// Microseconds from the first write of a key change on the keyboard to the read of that change on
// the output device, both on CLOCK_MONOTONIC (the steady clock here).
double latencyOf(UinputKeyboard& keyboard, EvdevReader& output, bool down)
{
    const auto start = Clock::now();
    keyboard.key(KEY_A, down);
    while (const auto event = output.next(kKeyTimeout)) {
        if (event->type == EV_KEY && event->code == KEY_A && event->value == (down ? 1 : 0)) {
            return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        }
    }
    throw std::runtime_error("a key change did not come out");
}

// Taps one at a time, each change waited for before the next is written.
void measure(UinputKeyboard& keyboard, EvdevReader& output, Samples& samples)
{
    for (int tap = 0; tap < kWarmUpTaps; ++tap) {
        latencyOf(keyboard, output, true);
        latencyOf(keyboard, output, false);
    }
    for (int tap = 0; tap < kTapsPerRound; ++tap) {
        samples.push_back(latencyOf(keyboard, output, true));
        samples.push_back(latencyOf(keyboard, output, false));
    }
}

// A keyboard of its own each round, so that nothing of the last round is taken for this one's.
std::string keyboardName(int round)
{
    return "Latency Keyboard " + std::to_string(round);
}

// The program's start-up work (its first write of the settings and the reload that follows, the
// listener's start) is no key's: the keys wait until it has used no processor time for a while.
void waitUntilQuiet(const VeltraneProcess& veltrane)
{
    auto used = veltrane.cpuTime();
    for (int look = 0; look < 50; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const auto now = veltrane.cpuTime();
        if (now == used) {
            return;
        }
        used = now;
    }
}

void measureVeltrane(int round, Samples& samples)
{
    UinputKeyboard keyboard(keyboardName(round), UinputKeyboard::Bus::usb, kLogitech, 0xC31C);
    VeltraneProcess veltrane;
    ASSERT_TRUE(veltrane.waitForOutput("Key mapping:")) << veltrane.output();
    ASSERT_TRUE(InputNodes::waitUntilGrabbed(keyboard.eventNode())) << veltrane.output();
    EvdevReader output(InputNodes::named("Veltrane Virtual Keyboard"));
    waitUntilQuiet(veltrane);
    measure(keyboard, output, samples);
}

// The floor's reader: stamps each change of the keyboard as it reads it, and sends the stamp on.
[[noreturn]] void readFloor(const std::string& node, int stamps)
{
    EvdevReader output(node);
    for (;;) {
        if (const auto event = output.next(std::chrono::milliseconds(100));
            event && event->type == EV_KEY && event->code == KEY_A && event->value != 2) {
            const Clock::rep readAt = Clock::now().time_since_epoch().count();
            if (::write(stamps, &readAt, sizeof readAt) != sizeof readAt) {
                ::_exit(1);
            }
        }
    }
}

// The kernel's floor: a keyboard's changes read back from its own node with nothing between, by a
// reader already waiting when the change is written. The reader is a process of its own, as the
// reader of every other row is: a thread of the writer would skip the switch of address space that
// every program reading the keyboard pays, which is most of a hop under software emulation.
void measureFloor(int round, Samples& samples)
{
    UinputKeyboard keyboard(keyboardName(round), UinputKeyboard::Bus::usb, kLogitech, 0xC31C);
    int stamps[2];
    ASSERT_EQ(::pipe2(stamps, O_CLOEXEC), 0);
    const pid_t reader = ::fork();
    if (reader == 0) {
        readFloor(keyboard.eventNode(), stamps[1]);
    }
    ::close(stamps[1]);
    constexpr int kChanges = 2 * (kWarmUpTaps + kTapsPerRound);
    int change = 0;
    for (const bool grabbed = InputNodes::waitUntilGrabbed(keyboard.eventNode());
         grabbed && change < kChanges; ++change) {
        const auto start = Clock::now();
        keyboard.key(KEY_A, change % 2 == 0);
        pollfd stamped{stamps[0], POLLIN, 0};
        Clock::rep readAt = 0;
        if (::poll(&stamped, 1, static_cast<int>(kKeyTimeout.count())) != 1 ||
            ::read(stamps[0], &readAt, sizeof readAt) != sizeof readAt) {
            break;
        }
        if (change >= 2 * kWarmUpTaps) {
            samples.push_back(
                std::chrono::duration<double, std::micro>(Clock::time_point(Clock::duration(readAt)) - start)
                    .count());
        }
    }
    ::kill(reader, SIGKILL);
    ::waitpid(reader, nullptr, 0);
    ::close(stamps[0]);
    ASSERT_EQ(change, kChanges) << "a key change did not come back";
}

// The peer: interception-tools' two programs in a shell pipeline. The first grabs the keyboard and
// writes its events out; the second makes a uinput clone of the keyboard, of the same name, and
// writes them to it.
void measurePeer(int round, Samples& samples)
{
    UinputKeyboard keyboard(keyboardName(round), UinputKeyboard::Bus::usb, kLogitech, 0xC31C);
    const auto& node = keyboard.eventNode();
    const testsupport::ChildProcess peer(
        {"/bin/sh", "-c", "/bin/interception -g " + node + " | /bin/uinput -d " + node}, {.group = true});
    ASSERT_TRUE(InputNodes::waitUntilGrabbed(node));
    EvdevReader output(InputNodes::named(keyboardName(round), std::chrono::seconds(5), node));
    measure(keyboard, output, samples);
}

// How long a key takes through the program and through the peer, beside the kernel's floor, in
// one machine: every key must come through, and the figures are printed for the record. Never two
// at once, since each grabs the keyboards it reads, and the program grabs them all. The figures
// mean something only on an otherwise idle host.
TEST(LatencyKernelTest, KeysComeThroughBothAndTheirLatencyIsReported)
{
    Samples floorSamples;
    Samples oursSamples;
    Samples peerSamples;
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_NO_FATAL_FAILURE(measureFloor(round, floorSamples));
        ASSERT_NO_FATAL_FAILURE(measureVeltrane(round, oursSamples));
        ASSERT_NO_FATAL_FAILURE(measurePeer(round, peerSamples));
    }
    for (const auto& [name, samples] :
         {std::pair{"floor", &floorSamples}, std::pair{"veltrane", &oursSamples},
          std::pair{"peer", &peerSamples}}) {
        std::sort(samples->begin(), samples->end());
        std::printf("latency %-8s p50=%.0f us p99=%.0f us\n", name, (*samples)[samples->size() / 2],
                    (*samples)[samples->size() * 99 / 100]);
    }
    EXPECT_EQ(oursSamples.size(), peerSamples.size());
}

}  // namespace
}  // namespace veltrane::kernel
