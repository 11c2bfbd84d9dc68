// Any bytes as the settings of a destination and log calls to it. The first byte chooses what is
// tried: when even, a line format with its level texts, colours, dates and time zone, and one call
// (its message all the texts left); when odd, filters and two calls. Checked on every input:
// - a line rendered from valid UTF-8 is valid UTF-8 and holds the message whole (less the white
//   space that ends the line); a JSON line reads back with the message unchanged;
// - a destination that rendered the format at another time renders the same line as a fresh one;
// - the verdict of the filters depends only on them and the call: asked again, after another call,
//   or of the same filters added in the reverse order, it is the same.

#include "FuzzInput.h"
#include "logging/BaseDestination.h"
#include "logging/UnicodeText.h"
#include "logging/filters/CompareFilter.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace logging;
using veltrane::fuzz::fail;
using veltrane::fuzz::FuzzInput;
using Milliseconds = std::chrono::milliseconds;

// Ill-formed UTF-8 comes back from ICU with replacement characters.
bool validUtf8(const std::string& text)
{
    std::string again;
    return icu::UnicodeString::fromUTF8(text).toUTF8String(again) == text;
}

Level levelOf(FuzzInput& input)
{
    return static_cast<Level>(input.byte() % 5);
}

std::int64_t signedWord(FuzzInput& input)
{
    return static_cast<std::int32_t>(input.word());
}

struct Call {
    Level level;
    int line;
    std::string path, function, thread, message;
};

void checkFormat(FuzzInput& input)
{
    // A time within 68 years of 1970; the second within two hours of it.
    const TimePoint first(Milliseconds(signedWord(input) * 1000 + input.word() % 1000));
    const auto second = first + Milliseconds(signedWord(input) % 7'200'000);
    const auto started = first + Milliseconds(signedWord(input));
    Call call{levelOf(input), static_cast<int>(input.word()), input.text(), input.text(), input.text(), {}};
    std::array<std::string, 6> settings;
    std::generate(settings.begin(), settings.end(), [&] { return input.text(); });
    const auto& [format, zone, label, colour, escape, context] = settings;
    while (!input.empty()) {
        call.message += input.text();  // the texts left, joined, so that a message may be long
    }
    // A padding is honoured however wide, up to two billion spaces a line: formats that ask for more
    // than any screen shows are skipped.
    const LineFormat parsed(format);
    const auto& pieces = parsed.pieces();
    if (std::any_of(pieces.begin(), pieces.end(),
                    [](const auto& piece) { return std::abs(piece.padding) > 9999; })) {
        return;
    }
    const auto json = nlohmann::json::parse(context, nullptr, false);
    const Context attached =
        context.empty() ? Context() : Context(json.is_discarded() ? nlohmann::json(context) : json);
    TimePoint now;
    const auto render = [&](BaseDestination& destination, TimePoint time) {
        now = time;
        return destination.emit(call.level, call.message, call.thread, call.path, call.function, call.line,
                                attached);
    };
    BaseDestination used;
    BaseDestination fresh;
    for (auto* destination : {&used, &fresh}) {
        destination->format = format;
        destination->timeSource = [&now] { return now; };
        destination->startDate = started;
        destination->levelString = {label, label, label, label, label};
        destination->levelColor = {colour, colour, colour, colour, colour};
        destination->escape = destination->reset = escape;
        destination->renderDate("", zone);
    }
    const auto line = render(used, first);
    const auto later = render(used, second);
    render(fresh, second);  // leaves the zone as the first line did
    if (const auto expected = render(fresh, second); later != expected) {
        fail("a destination that rendered another time renders a line unlike a fresh one's:\n" +
             later.value_or("(nothing)") + "\n" + expected.value_or("(nothing)"));
    }
    const bool valid = std::all_of(settings.begin(), settings.end(), validUtf8) && validUtf8(call.path) &&
                       validUtf8(call.function) && validUtf8(call.thread) && validUtf8(call.message);
    if (!line || !valid) {
        return;
    }
    if (!validUtf8(*line)) {
        fail("a line made of valid UTF-8 is not valid UTF-8: " + *line);
    }
    if (format.starts_with("$J")) {
        if (nlohmann::json::parse(*line).at("message") != call.message) {
            fail("a JSON line does not read back with its message: " + *line);
        }
        return;
    }
    std::string whole = call.message;
    UnicodeText::trimTrailingSpace(whole);
    const bool hasMessage =
        std::any_of(pieces.begin(), pieces.end(), [](const auto& piece) { return piece.token == 'M'; });
    if (hasMessage && line->find(whole) == std::string::npos) {
        fail("a line does not hold its message whole: " + *line);
    }
}

std::shared_ptr<FilterType> filterOf(FuzzInput& input)
{
    ComparisonType comparison{
        static_cast<ComparisonType::Kind>(input.byte() % 5), {}, input.byte() % 2 == 1, {}};
    comparison.strings.resize(input.byte() % 4);
    std::generate(comparison.strings.begin(), comparison.strings.end(), [&] { return input.text(); });
    const TargetType target{static_cast<TargetType::Kind>(input.byte() % 3), comparison};
    const bool required = input.byte() % 2 == 1;
    return std::make_shared<CompareFilter>(target, required, levelOf(input));
}

void checkFilters(FuzzInput& input)
{
    BaseDestination destination;
    BaseDestination reversed;
    destination.minLevel = levelOf(input);
    reversed.minLevel = destination.minLevel.load();
    std::vector<std::shared_ptr<FilterType>> filters(input.byte() % 7);
    std::generate(filters.begin(), filters.end(), [&] { return filterOf(input); });
    std::for_each(filters.begin(), filters.end(), [&](const auto& filter) { destination.addFilter(filter); });
    std::for_each(filters.rbegin(), filters.rend(), [&](const auto& filter) { reversed.addFilter(filter); });
    const Call call{levelOf(input), 0, input.text(), input.text(), {}, input.text()};
    const Call other{levelOf(input), 0, input.text(), input.text(), {}, input.text()};
    const auto verdict = [&](const BaseDestination& on, const Call& of) {
        const auto message =
            on.needsMessageText() ? std::optional<std::string_view>(of.message) : std::nullopt;
        return on.accepts(of.level, of.path, of.function, message);
    };
    const bool accepted = verdict(destination, call);
    if (verdict(destination, call) != accepted || verdict(reversed, call) != accepted) {
        fail("the same filters give a call another verdict when asked again or added in another order");
    }
    verdict(destination, other);
    if (verdict(destination, call) != accepted) {
        fail("the verdict on a call changed after another call");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    if (input.byte() % 2 == 1) {
        checkFilters(input);
    } else {
        checkFormat(input);
    }
    return 0;
}
