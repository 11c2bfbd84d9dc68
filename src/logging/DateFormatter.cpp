#include "logging/DateFormatter.h"

#include <unicode/basictz.h>
#include <unicode/fpositer.h>
#include <unicode/smpdtfmt.h>
#include <unicode/tztrans.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace logging {

namespace {

icu::UnicodeString unicode(std::string_view text)
{
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
}

std::string utf8(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor)
{
    const auto quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// Fields whose text can change within an hour besides the minutes, seconds and fraction:
// milliseconds in day; the day periods that name noon and midnight only at the exact minute and
// second; and zone names, which follow the zone's naming periods rather than its offset changes.
bool changesWithinHour(std::int32_t field)
{
    return field == UDAT_MILLISECONDS_IN_DAY_FIELD || field == UDAT_AM_PM_MIDNIGHT_NOON_FIELD ||
           field == UDAT_FLEXIBLE_DAY_PERIOD_FIELD || field == UDAT_TIMEZONE_FIELD ||
           field == UDAT_TIMEZONE_GENERIC_FIELD || field == UDAT_TIMEZONE_SPECIAL_FIELD;
}

// The runs of one field's letter in the pattern, matched in order with the fields the formatter wrote.
struct FieldRuns {
    std::int32_t icuField;
    DateTemplate::Field field;
    char letter;
    std::vector<int> runs;
    std::size_t used = 0;
};

}  // namespace

DateFormatter::DateFormatter()
{
    // Empty, as pattern_ says: with the locale's default pattern, an empty one would never be
    // applied, and the fields of that pattern that the cut does not know would stay as first rendered.
    UErrorCode status = U_ZERO_ERROR;
    formatter_ = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(), status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        formatter_ =
            std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(), icu::Locale::getRoot(), status);
    }
}

DateFormatter::~DateFormatter() = default;

void DateFormatter::setTimeZone(std::string_view abbreviation)
{
    if (abbreviation == zoneAbbreviation_) {
        return;
    }
    zoneAbbreviation_ = abbreviation;
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(unicode(abbreviation)));
    if (*zone == icu::TimeZone::getUnknown()) {
        zone.reset(icu::TimeZone::createDefault());
    }
    if (*zone != formatter_->getTimeZone()) {
        formatter_->adoptTimeZone(zone.release());
        template_.reset();
    }
}

std::string DateFormatter::format(std::string_view pattern, TimePoint time)
{
    usePattern(pattern);
    const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch()).count();
    if (template_) {
        if (auto text = template_->render(milliseconds)) {
            return std::move(*text);
        }
    }
    return formatAnew(milliseconds);
}

void DateFormatter::usePattern(std::string_view pattern)
{
    if (pattern == pattern_) {
        return;
    }
    pattern_ = pattern;
    formatter_->applyPattern(unicode(pattern));
    cuttable_ = true;
    template_.reset();
}

std::string DateFormatter::formatAnew(std::int64_t milliseconds)
{
    icu::UnicodeString text;
    icu::FieldPositionIterator positions;
    UErrorCode status = U_ZERO_ERROR;
    formatter_->format(static_cast<UDate>(milliseconds), text, cuttable_ ? &positions : nullptr, status);
    auto rendered = utf8(text);
    if (cuttable_ && U_SUCCESS(status)) {
        template_ = cut(text, positions, milliseconds);
        // A pattern that cannot be cut (or a locale whose digits are not ASCII) is formatted in full.
        cuttable_ = template_ && template_->render(milliseconds) == rendered;
        if (!cuttable_) {
            template_.reset();
        }
    }
    return rendered;
}

std::optional<DateTemplate> DateFormatter::cut(const icu::UnicodeString& text,
                                               icu::FieldPositionIterator& positions,
                                               std::int64_t milliseconds) const
{
    std::array<FieldRuns, 3> fields = {
        FieldRuns{UDAT_MINUTE_FIELD, DateTemplate::Field::minute, 'm', {}, 0},
        FieldRuns{UDAT_SECOND_FIELD, DateTemplate::Field::second, 's', {}, 0},
        FieldRuns{UDAT_FRACTIONAL_SECOND_FIELD, DateTemplate::Field::fraction, 'S', {}, 0}};
    for (auto& field : fields) {
        field.runs = DateTemplate::letterRuns(pattern_, field.letter);
    }
    std::vector<DateTemplate::Segment> segments;
    std::int32_t literalStart = 0;
    icu::FieldPosition position;
    while (positions.next(position)) {
        if (changesWithinHour(position.getField())) {
            return std::nullopt;
        }
        const auto field = std::find_if(fields.begin(), fields.end(), [&](const FieldRuns& candidate) {
            return candidate.icuField == position.getField() && candidate.used < candidate.runs.size();
        });
        if (field == fields.end()) {
            continue;
        }
        const auto literal = utf8(text.tempSubStringBetween(literalStart, position.getBeginIndex()));
        segments.push_back({literal, field->field, field->runs[field->used++]});
        literalStart = position.getEndIndex();
    }
    segments.push_back({utf8(text.tempSubStringBetween(literalStart)), DateTemplate::Field::none, 0});
    const bool allFieldsFound = std::all_of(
        fields.begin(), fields.end(), [](const FieldRuns& field) { return field.used == field.runs.size(); });
    const auto second = secondOfHour(milliseconds);
    const auto secondStart = floorDivide(milliseconds, 1000) * 1000;
    const auto until = second ? hourEnd(secondStart, *second) : std::nullopt;
    if (!allFieldsFound || !until) {
        return std::nullopt;
    }
    return DateTemplate(std::move(segments), secondStart, *second, *until);
}

// The end of the local hour, or the zone's next change of offset when that comes first.
std::optional<std::int64_t> DateFormatter::hourEnd(std::int64_t secondStart, int secondOfHour) const
{
    const auto* zone = dynamic_cast<const icu::BasicTimeZone*>(&formatter_->getTimeZone());
    if (zone == nullptr) {
        return std::nullopt;
    }
    auto end = secondStart + static_cast<std::int64_t>(3600 - secondOfHour) * 1000;
    icu::TimeZoneTransition transition;
    if (zone->getNextTransition(static_cast<UDate>(secondStart), false, transition) &&
        transition.getTime() < static_cast<UDate>(end)) {
        end = static_cast<std::int64_t>(transition.getTime());
    }
    return end;
}

// The local time in seconds since the start of its hour, or nothing when the zone's offset is not
// whole seconds.
std::optional<int> DateFormatter::secondOfHour(std::int64_t milliseconds) const
{
    std::int32_t rawOffset = 0;
    std::int32_t dstOffset = 0;
    UErrorCode status = U_ZERO_ERROR;
    formatter_->getTimeZone().getOffset(static_cast<UDate>(milliseconds), false, rawOffset, dstOffset,
                                        status);
    const std::int64_t offset = static_cast<std::int64_t>(rawOffset) + dstOffset;
    if (U_FAILURE(status) || offset % 1000 != 0) {
        return std::nullopt;
    }
    const auto localSeconds = floorDivide(milliseconds + offset, 1000);
    return static_cast<int>(localSeconds - floorDivide(localSeconds, 3600) * 3600);
}

}  // namespace logging
