#include "history/LogReader.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "history/ColumnHeading.h"
#include "platform/DateTimeText.h"

namespace vantrel::history {

namespace {

// A log line of sixteen values is under 300 bytes; a longer one is not a log's.
constexpr std::size_t kMaxLine = 64 * 1024;
// Column layouts kept apart in one file; lines of further layouts are not read.
constexpr std::size_t kMaxGroups = 16;
constexpr std::size_t kNamedLines = 10;

bool PlainText(std::string_view line) {
    return std::none_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7f;
    });
}

Axis AxisOf(StampStyle stamp) {
    return stamp == StampStyle::None || stamp == StampStyle::Serial ? Axis::RecordNumber
                                                                    : Axis::Time;
}

}  // namespace

LogReader::LogReader(LogReadOptions options) : options_(std::move(options)) {
    // Growing the list would copy every group's series, doubling the memory held.
    document_.groups.reserve(kMaxGroups);
    if (!options_.localToUtc) {
        options_.localToUtc = [](platform::DateTime local) {
            local.utcOffsetMinutes = 0;
            return platform::UtcMilliseconds(local);
        };
    }
    if (options_.derived) {
        program_ = derived::DerivedProgram::Compile(options_.derived->settings,
                                                    options_.derived->channelNames);
    }
}

void LogReader::feed(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) {
            if (!overlong_) {
                carry_.append(bytes.substr(at));
                if (carry_.size() > kMaxLine) {
                    overlong_ = true;
                    carry_.clear();
                }
            }
            return;
        }
        const std::string_view piece = bytes.substr(at, end - at);
        ++lineNumber_;
        if (overlong_ || carry_.size() + piece.size() > kMaxLine) {
            unreadable(lineNumber_);
            overlong_ = false;
            carry_.clear();
        } else if (!carry_.empty()) {
            const std::string line = std::move(carry_) + std::string(piece);
            carry_.clear();
            takeLine(line);
        } else {
            takeLine(piece);
        }
        at = end + 1;
    }
}

void LogReader::takeLine(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (lineNumber_ == 1 && line.starts_with("\xEF\xBB\xBF")) {
        line.remove_prefix(3);
    }
    if (line.empty()) {
        return;
    }
    if (const std::optional<HeaderStart> header = ReadHeaderStart(line)) {
        takeHeader(line.substr(header->namesAt), header->style);
    } else if (std::optional<RecordLine> record = ReadRecord(line, headerStamp_)) {
        takeRecord(std::move(*record), line);
    } else if (lineNumber_ == 1 && PlainText(line)) {
        // Channel names alone: the header of a log without stamps.
        takeHeader(line, StampStyle::None);
    } else {
        unreadable(lineNumber_);
    }
}

void LogReader::takeHeader(std::string_view names, StampStyle stamp) {
    settlePending(nullptr);
    headerStamp_ = stamp;
    headerNames_ = names;
    serial_.reset();
    if (stamp == StampStyle::Serial || stamp == StampStyle::None) {
        serial_ = stamp == StampStyle::Serial;
    }
    current_ = -1;
}

void LogReader::takeRecord(RecordLine record, std::string_view text) {
    if (record.stamp == StampStyle::Serial && !serial_ && !pending_) {
        serial_ = true;
    }
    if (record.leadingNumber && !serial_ && !pending_) {
        pending_ = Pending{lineNumber_, std::move(record), std::string(text)};
        return;
    }
    settlePending(&record);
    addRecord(record, text, lineNumber_);
}

void LogReader::settlePending(const RecordLine* next) {
    if (!pending_) {
        return;
    }
    if (!serial_) {
        // Serial numbers count up by one from record to record.
        serial_ = next != nullptr && (next->leadingNumber || next->stamp == StampStyle::Serial) &&
                  next->number > 0 && next->number - 1 == pending_->record.number;
    }
    Pending earlier = std::move(*pending_);
    pending_.reset();
    addRecord(earlier.record, earlier.text, earlier.line);
}

void LogReader::addRecord(RecordLine& record, std::string_view text, std::uint64_t line) {
    if (record.leadingDecimal && serial_.value_or(false)) {
        std::optional<RecordLine> serial = ReadRecord(text, StampStyle::Serial);
        if (!serial) {
            unreadable(line);
            return;
        }
        record = std::move(*serial);
    } else if (record.leadingNumber && serial_.value_or(false)) {
        record.stamp = StampStyle::Serial;
        record.values.erase(record.values.begin());
        if (record.values.empty()) {
            unreadable(line);
            return;
        }
    }
    // One x axis per window: records of the other kind have no place on it.
    const Axis axis = AxisOf(record.stamp);
    if (!axisChosen_) {
        document_.axis = axis;
        axisChosen_ = true;
    } else if (axis != document_.axis) {
        unreadable(line);
        return;
    }
    HistoryGroup* group = groupFor(record, text);
    if (group == nullptr) {
        unreadable(line);
        return;
    }
    const auto at = static_cast<std::size_t>(group - document_.groups.data());
    group->series.append(xOf(record), withDerived(at, record.values));
}

void LogReader::planDerived(std::vector<std::string>& names, std::vector<std::string>& units) {
    DerivedColumns plan;
    plan.readColumns = names.size();
    if (options_.derived) {
        const auto& slotNames = options_.derived->channelNames;
        std::uint32_t present = 0;
        for (std::size_t c = 0; c < names.size(); ++c) {
            const std::string& name = names[c];
            for (std::size_t slot = 0; slot < slotNames.size(); ++slot) {
                if (name == slotNames[slot] || name == "ch" + std::to_string(slot)) {
                    plan.slotOf.emplace_back(c, static_cast<int>(slot));
                    present |= std::uint32_t{1} << slot;
                    break;
                }
            }
        }
        const auto& channels = options_.derived->settings.channels;
        for (std::size_t d = 0; d < std::min(channels.size(), derived::kMaxDerivedChannels); ++d) {
            const std::optional<std::uint32_t> needs = program_.slotsUsed(d);
            const bool logged =
                std::find(names.begin(), names.end(), channels[d].name) != names.end();
            if (!plan.slotOf.empty() && needs && (*needs & ~present) == 0 && !logged) {
                plan.channels.push_back(d);
            }
        }
        for (const std::size_t d : plan.channels) {
            names.push_back(channels[d].name);
            units.push_back(channels[d].unit);
        }
    }
    derivedColumns_.push_back(std::move(plan));
}

const float* LogReader::withDerived(std::size_t group, const std::vector<float>& values) {
    const DerivedColumns& plan = derivedColumns_[group];
    if (plan.channels.empty()) {
        return values.data();
    }
    derived::ChannelValues inputs{};
    for (const auto& [column, slot] : plan.slotOf) {
        const float value = values[column];
        if (value == value) {
            inputs[static_cast<std::size_t>(slot)] = value;
        }
    }
    const derived::DerivedValues results = program_.evaluate(inputs);
    row_.assign(values.begin(), values.end());
    for (const std::size_t d : plan.channels) {
        row_.push_back(
            static_cast<float>(results[d].value_or(std::numeric_limits<double>::quiet_NaN())));
    }
    return row_.data();
}

std::int64_t LogReader::xOf(const RecordLine& record) {
    const platform::DateTime& t = record.when;
    switch (record.stamp) {
        case StampStyle::Iso:
            return platform::UtcMilliseconds(t);
        case StampStyle::DateAndTime:
            return options_.localToUtc(t);
        case StampStyle::Time: {
            const int secondOfDay = (t.hour * 60 + t.minute) * 60 + t.second;
            if (lastSecondOfDay_ >= 0 && secondOfDay < lastSecondOfDay_) {
                ++day_;
            }
            lastSecondOfDay_ = secondOfDay;
            using namespace std::chrono;
            const platform::DateTime& first = options_.firstDay;
            const year_month_day date{
                sys_days{year_month_day{year{first.year}, month{static_cast<unsigned>(first.month)},
                                        day{static_cast<unsigned>(first.day)}}} +
                days{day_}};
            platform::DateTime local = t;
            local.year = static_cast<int>(date.year());
            local.month = static_cast<int>(static_cast<unsigned>(date.month()));
            local.day = static_cast<int>(static_cast<unsigned>(date.day()));
            return options_.localToUtc(local);
        }
        case StampStyle::Serial:
        case StampStyle::None:
            break;
    }
    return ++records_;
}

HistoryGroup* LogReader::groupFor(const RecordLine& record, std::string_view text) {
    const std::size_t columns = record.values.size();
    auto& groups = document_.groups;
    if (current_ >= 0 &&
        derivedColumns_[static_cast<std::size_t>(current_)].readColumns == columns) {
        return &groups[static_cast<std::size_t>(current_)];
    }
    std::vector<std::string> names;
    if (headerStamp_ && *headerStamp_ == record.stamp) {
        if (const std::optional<Delimiter> separator = ValueSeparator(text, record.stamp)) {
            names = SplitNames(headerNames_, *separator);
        } else if (SplitNames(headerNames_, Delimiter::Space).size() == 1) {
            // A single value: its name, unless the header holds more than one.
            names = SplitNames(headerNames_, Delimiter::Comma);
        }
    }
    std::vector<std::string> units(columns);
    if (names.size() != columns) {
        names.clear();
        for (std::size_t c = 1; c <= columns; ++c) {
            names.push_back("Column " + std::to_string(c));
        }
    } else {
        for (std::size_t c = 0; c < columns; ++c) {
            ColumnHeading heading = SplitUnit(names[c]);
            names[c] = std::move(heading.name);
            units[c] = std::move(heading.unit);
        }
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const DerivedColumns& plan = derivedColumns_[g];
        if (plan.readColumns == columns &&
            std::equal(names.begin(), names.end(), groups[g].names.begin()) &&
            std::equal(units.begin(), units.end(), groups[g].units.begin())) {
            enterGroup(static_cast<int>(g));
            return &groups[g];
        }
    }
    if (groups.size() == kMaxGroups) {
        return nullptr;
    }
    planDerived(names, units);
    const auto stored = static_cast<int>(names.size());
    // The least a series keeps, until it is given its share.
    groups.emplace_back(std::move(names), LimitsWithin(0, stored));
    groups.back().units = std::move(units);
    enterGroup(static_cast<int>(groups.size()) - 1);
    return &groups.back();
}

void LogReader::enterGroup(int group) {
    // The other groups are reduced first, each to an even share of the budget; the
    // group that records go to may take all that they leave.
    current_ = group;
    auto& groups = document_.groups;
    const std::size_t share = options_.memoryBudget / groups.size();
    std::size_t others = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        ReducingSeries& series = groups[g].series;
        if (static_cast<int>(g) != group) {
            if (series.memoryBytes() > share) {
                series.setLimits(LimitsWithin(share, series.channels()));
            }
            others += series.memoryBytes();
        }
    }
    ReducingSeries& series = groups[static_cast<std::size_t>(group)].series;
    series.setLimits(LimitsWithin(options_.memoryBudget - std::min(others, options_.memoryBudget),
                                  series.channels()));
}

void LogReader::unreadable(std::uint64_t line) {
    ++unreadable_;
    if (unreadableLines_.size() < kNamedLines) {
        unreadableLines_.push_back(line);
    }
}

HistoryDocument LogReader::finish() {
    settlePending(nullptr);
    carry_.clear();
    return std::move(document_);
}

std::string LogReader::problemText() const {
    if (unreadable_ == 0) {
        return {};
    }
    std::string text =
        std::to_string(unreadable_) +
        (unreadable_ == 1 ? " line could not be read: line " : " lines could not be read: line ");
    for (std::size_t i = 0; i < unreadableLines_.size(); ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(unreadableLines_[i]);
    }
    if (unreadable_ > unreadableLines_.size()) {
        text += " and " + std::to_string(unreadable_ - unreadableLines_.size()) + " more";
    }
    return text;
}

}  // namespace vantrel::history
