#include "acquisition/RunStateFile.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <map>

#include "logging/LogFormat.h"
#include "settings/TextStyles.h"

namespace vantrel::acquisition {

namespace {

std::string ChannelNameKey(int n) {
    return "name" + std::to_string(n);
}

// A line break inside a value would start a line of its own.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        c = (c == '\r' || c == '\n') ? ' ' : c;
    }
    return line;
}

std::optional<std::int16_t> WholeIn(std::string_view text, int low, int high) {
    int value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || stop != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

std::optional<bool> Word(std::string_view text, std::string_view yes, std::string_view no) {
    if (text == yes) {
        return true;
    }
    if (text == no) {
        return false;
    }
    return std::nullopt;
}

}  // namespace

RunState CurrentRunState(const AcquisitionState& state, const LogFilePlace& file) {
    RunState run;
    run.logging = state.Saving;
    run.taskRunning = state.TaskRunning1 || state.TaskRunning2;
    run.fileInUse = file.path;
    run.fileDay = file.day;
    run.serialBefore = file.serialBefore;
    run.options = StoredChoices(state);
    for (int n = 0; n < kUsedChannels; ++n) {
        run.saveChannels[n] = state.SaveChannel[n];
    }
    return run;
}

std::string RunStateText(const RunState& run) {
    const SaveOptionsChoice& options = run.options;
    std::string text;
    const auto line = [&](std::string_view key, std::string_view value) {
        text.append(key).append("=").append(OneLine(value)).append(kLineEnd);
    };
    line("logging", run.logging ? "on" : "off");
    line("task", run.taskRunning ? "running" : "stopped");
    line("file", run.fileInUse);
    line("log_file", options.fileName);
    line("headers", options.headers ? "true" : "false");
    line("delimiter", std::to_string(options.delimiter));
    line("interval_unit", std::to_string(options.intervalUnit));
    line("interval_choice", std::to_string(options.intervalChoice));
    line("stamp_style", std::to_string(options.stampStyle));
    std::string marks;
    for (const bool marked : run.saveChannels) {
        marks += marked ? '1' : '0';
    }
    line("save", marks);
    for (int n = 0; n < kUsedChannels; ++n) {
        line(ChannelNameKey(n), options.channelNames[n]);
    }
    if (run.fileDay && run.fileDay->ok()) {
        char day[16];
        std::snprintf(day, sizeof day, "%04d-%02u-%02u", static_cast<int>(run.fileDay->year()),
                      static_cast<unsigned>(run.fileDay->month()),
                      static_cast<unsigned>(run.fileDay->day()));
        line("file_day", day);
    }
    line("serial_before", std::to_string(run.serialBefore));
    return text;
}

RunStateReading ParseRunState(std::string_view text) {
    RunState run;
    SaveOptionsChoice& options = run.options;
    // Each key, what it must look like, and how it is stored; false when the value
    // does not read.
    using Store = std::function<bool(std::string_view)>;
    const auto whole = [](std::int16_t& field, int low, int high) {
        return [&field, low, high](std::string_view value) {
            const std::optional<std::int16_t> read = WholeIn(value, low, high);
            field = read.value_or(field);
            return read.has_value();
        };
    };
    const auto word = [](bool& field, std::string_view yes, std::string_view no) {
        return [&field, yes, no](std::string_view value) {
            const std::optional<bool> read = Word(value, yes, no);
            field = read.value_or(field);
            return read.has_value();
        };
    };
    const auto plain = [](std::string& field) {
        return [&field](std::string_view value) {
            field = value;
            return true;
        };
    };
    struct Key {
        std::string form;
        Store store;
        bool seen = false;
        // Earlier versions did not write it.
        bool optional = false;
    };
    std::map<std::string, Key, std::less<>> keys;
    keys["logging"] = {"on or off", word(run.logging, "on", "off")};
    keys["task"] = {"running or stopped", word(run.taskRunning, "running", "stopped")};
    keys["file"] = {"a path", plain(run.fileInUse)};
    keys["log_file"] = {"a path", plain(options.fileName)};
    keys["headers"] = {"true or false", word(options.headers, "true", "false")};
    keys["delimiter"] = {"1, 2 or 3", whole(options.delimiter, 1, kLastDelimiterCode)};
    keys["interval_unit"] = {"1, 2 or 3", whole(options.intervalUnit, 1, kLastIntervalUnitCode)};
    keys["interval_choice"] = {"0 to 300", whole(options.intervalChoice, 0, 300)};
    keys["stamp_style"] = {"1 to 5", whole(options.stampStyle, 1, kLastStampStyleCode)};
    keys["save"] = {"16 digits 0 or 1", [&run](std::string_view value) {
                        if (value.size() != kUsedChannels ||
                            value.find_first_not_of("01") != std::string_view::npos) {
                            return false;
                        }
                        for (int n = 0; n < kUsedChannels; ++n) {
                            run.saveChannels[n] = value[n] == '1';
                        }
                        return true;
                    }};
    for (int n = 0; n < kUsedChannels; ++n) {
        keys[ChannelNameKey(n)] = {"a name", plain(options.channelNames[n])};
    }
    keys["file_day"] = {"a day YYYY-MM-DD",
                        [&run](std::string_view value) {
                            if (value.size() != 10 || value[4] != '-' || value[7] != '-') {
                                return false;
                            }
                            const auto year = WholeIn(value.substr(0, 4), 1, 9999);
                            const auto month = WholeIn(value.substr(5, 2), 1, 12);
                            const auto day = WholeIn(value.substr(8), 1, 31);
                            if (!year || !month || !day) {
                                return false;
                            }
                            const std::chrono::year_month_day read{
                                std::chrono::year{*year},
                                std::chrono::month{static_cast<unsigned>(*month)},
                                std::chrono::day{static_cast<unsigned>(*day)}};
                            run.fileDay = read;
                            return read.ok();
                        },
                        false, true};
    keys["serial_before"] = {"0 to 2147483647",
                             [&run](std::string_view value) {
                                 const auto [stop, error] = std::from_chars(
                                     value.data(), value.data() + value.size(), run.serialBefore);
                                 return !value.empty() && error == std::errc{} &&
                                        stop == value.data() + value.size() &&
                                        run.serialBefore >= 0;
                             },
                             false, true};

    int lineNumber = 0;
    std::size_t begin = 0;
    while (begin < text.size()) {
        ++lineNumber;
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) {
            // Written whole or not at all, so a line without its end is damage.
            return {std::nullopt, "line " + std::to_string(lineNumber) + " has no line end"};
        }
        std::string_view line = text.substr(begin, end - begin);
        begin = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return {std::nullopt, "line " + std::to_string(lineNumber) + " is no key=value line"};
        }
        const std::string_view keyName = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        const auto key = keys.find(keyName);
        if (key == keys.end()) {
            continue;
        }
        if (!key->second.store(value)) {
            return {std::nullopt, "line " + std::to_string(lineNumber) + ": '" +
                                      std::string(keyName) + "' must be " + key->second.form +
                                      ", found '" + std::string(value) + "'"};
        }
        key->second.seen = true;
    }
    for (const auto& [name, key] : keys) {
        if (!key.seen && !key.optional) {
            return {std::nullopt, "no '" + name + "' line"};
        }
    }
    return {std::move(run), {}};
}

}  // namespace vantrel::acquisition
