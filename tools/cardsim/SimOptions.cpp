#include "SimOptions.h"

#include <charconv>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace cardsim {

const char* HelpText() {
    return R"(Usage: vantrel-cardsim --dir DIR --port N [options]
       vantrel-cardsim --write-settings DIR

Simulates one acquisition card on a pseudo-terminal and links it as DIR/COMN,
so a program started in DIR opens it as COM port N. Runs until SIGINT or
SIGTERM, then removes the link.

Protocol: "?" is answered with "V" + version; "@TA00" then "@N" starts the
stream of analog frames (eight signed five-digit counts and the ambient
temperature, 62 characters with the CR) each followed by a digital frame
(inputs and outputs as 4+4 hex digits, 9 characters with the CR); "@F" stops
it; "#Dhhhh" sets the outputs reported from the next digital frame on. Every
frame and command ends with CR.

Options:
  --dir DIR              folder for the COMN link (required)
  --port N               port number N >= 1 (required)
  --tables DIR           folder with j.tc and k.tc (default: --dir)
  --card-version TEXT    version text of the reply (default 1.02)
  --rate HZ              analog frames per second (default 10);
                         0 = as fast as the reader takes them
  --digital-every N      one digital frame after every N analog frames (default 1)
  --count N              analog frames per started task, then the stream ends
                         and "done analog=A digital=D" is printed
  --pace                 hold the 9600-baud rate of a real card (960 bytes/s)
  --log-commands         print "command MS TEXT" for every command received,
                         MS the milliseconds since the simulator started, and
                         "outputs HHHH" whenever the output lines change
                         (line d in bit d, hexadecimal)

Signals (channel C = 0..7; default: every channel count 0):
  --ch C=count:N             constant count N
  --ch C=sine:AMP:PERIOD[:OFFSET]   sine of AMP counts, PERIOD seconds
  --ch C=ramp:FROM:TO:PERIOD  counts rising from FROM to TO, then again
  --ch C=volts:V             V volts on the 10 V range
  --ch C=ma:I                I milliamperes (20 mA = top of the 200 mV range)
  --ch C=mv:U                U millivolts on the 200 mV range
  --ch C=pt100:T[:REF]       PT-100 at T degrees C; REF = count at 100 ohm
                             (default 13000)
  --ch C=tcj:T, C=tck:T      type J / K thermocouple at T degrees C with its
                             cold junction at the ambient temperature
  --ambient T                ambient temperature, degrees C (default 25.0)
  --inputs HHHH              digital input lines as 4 hex digits (default 0000)
  --inputs walk              one input line on, moving up one line per frame
  --zero10 N, --span10 N     counts at 0 V and 10 V (default 0, 32000)
  --zero200 N, --span200 N   counts at 0 mV and 200 mV (default 0, 32000)
  Times of the sine and ramp advance one frame period per analog frame.

Faults:
  --noise N              every Nth frame set is preceded by 1..8 random bytes
  --split                every frame is written in two parts
  --split-gap MS         pause between the two parts (default 20)
  --batch N              N frame sets in one write (default 1)
  --wrong-length N       every Nth analog frame loses or gains one character
  --out-of-range N       every Nth analog frame carries the count +99999
  --bad-hex N            every Nth digital frame carries a non-hex digit
  --silence-after S      send nothing at all after S seconds
  --hangup-after S       close the pseudo-terminal and remove the link after S
                         seconds (an unplugged adapter)
  --return-after S       after a hang-up, come back on the same link S seconds
                         later, idle until started again
  --seed N               seed of the noise bytes (default 1)
  SIGUSR1 hangs up at once, SIGUSR2 comes back at once.

Demonstration settings:
  --write-settings DIR   write the settings files vtrl.con, vtrlo.con and
                         vtrls.con that suit the demonstration's signals into
                         DIR (only those missing there), then end

Output (one line each, on stdout): "ready LINK -> DEVICE" when the link is
made, "hangup", "done analog=A digital=D", "exit analog=A digital=D", and
with --log-commands "command MS TEXT" and "outputs HHHH".
  --help, -h             this text
  --version, -v          the version of vantrel-cardsim
)";
}

namespace {

bool ParseNumber(std::string_view text, double& out) {
    if (text.empty()) {
        return false;
    }
    const std::string copy(text);
    char* end = nullptr;
    out = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() + copy.size();
}

bool ParseInt(std::string_view text, long long& out) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

std::vector<std::string_view> SplitColons(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto colon = text.find(':');
        parts.push_back(text.substr(0, colon));
        if (colon == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(colon + 1);
    }
}

bool ParseSignal(std::string_view text, int& channel, ChannelSignal& signal) {
    const auto equals = text.find('=');
    long long index = 0;
    if (equals == std::string_view::npos || !ParseInt(text.substr(0, equals), index) || index < 0 ||
        index > 7) {
        return false;
    }
    channel = static_cast<int>(index);
    const auto parts = SplitColons(text.substr(equals + 1));
    std::vector<double> values;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        double value = 0.0;
        if (!ParseNumber(parts[i], value)) {
            return false;
        }
        values.push_back(value);
    }
    struct Kind {
        std::string_view name;
        SignalKind kind;
        std::size_t minValues;
        std::size_t maxValues;
    };
    static constexpr Kind kinds[] = {
        {"count", SignalKind::Count, 1, 1},  {"sine", SignalKind::Sine, 2, 3},
        {"ramp", SignalKind::Ramp, 3, 3},    {"volts", SignalKind::Volts, 1, 1},
        {"ma", SignalKind::MilliAmps, 1, 1}, {"mv", SignalKind::MilliVolts, 1, 1},
        {"pt100", SignalKind::Pt100, 1, 2},  {"tcj", SignalKind::ThermoJ, 1, 1},
        {"tck", SignalKind::ThermoK, 1, 1},
    };
    for (const auto& kind : kinds) {
        if (parts[0] != kind.name) {
            continue;
        }
        if (values.size() < kind.minValues || values.size() > kind.maxValues) {
            return false;
        }
        signal = ChannelSignal{kind.kind, values[0], values.size() > 1 ? values[1] : 0.0,
                               values.size() > 2 ? values[2] : 0.0};
        if (kind.kind == SignalKind::Pt100 && values.size() == 1) {
            signal.b = 13000.0;
        }
        return !((kind.kind == SignalKind::Sine || kind.kind == SignalKind::Ramp) &&
                 (kind.kind == SignalKind::Sine ? signal.b : signal.c) <= 0.0);
    }
    return false;
}

}  // namespace

std::optional<SimOptions> ParseOptions(int argc, char** argv, std::string& error,
                                       InfoRequest& info) {
    SimOptions options;
    info = InfoRequest::None;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            info = InfoRequest::Help;
            return options;
        }
        if (name == "--version" || name == "-v") {
            info = InfoRequest::Version;
            return options;
        }
        if (name == "--pace") {
            options.pace = true;
            continue;
        }
        if (name == "--split") {
            options.split = true;
            continue;
        }
        if (name == "--log-commands") {
            options.logCommands = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + std::string(name);
            return std::nullopt;
        }
        const std::string_view value = argv[++i];
        long long whole = 0;
        double real = 0.0;
        const bool isInt = ParseInt(value, whole);
        const bool isReal = ParseNumber(value, real);
        auto wantCount = [&](int& field, long long minimum) {
            if (!isInt || whole < minimum || whole > 1000000) {
                return false;
            }
            field = static_cast<int>(whole);
            return true;
        };
        bool ok = true;
        if (name == "--write-settings") {
            options.writeSettingsDir = value;
            ok = !value.empty();
        } else if (name == "--dir") {
            options.dir = value;
        } else if (name == "--port") {
            ok = wantCount(options.port, 1);
        } else if (name == "--tables") {
            options.tablesDir = value;
        } else if (name == "--card-version") {
            options.cardVersion = value;
        } else if (name == "--rate") {
            ok = isReal && real >= 0.0;
            options.rate = real;
        } else if (name == "--digital-every") {
            ok = wantCount(options.digitalEvery, 1);
        } else if (name == "--count") {
            ok = isInt && whole >= 0;
            options.count = whole;
        } else if (name == "--ch") {
            int channel = 0;
            ChannelSignal signal;
            ok = ParseSignal(value, channel, signal);
            if (ok) {
                options.channels[static_cast<std::size_t>(channel)] = signal;
            }
        } else if (name == "--ambient") {
            ok = isReal;
            options.ambient = real;
        } else if (name == "--inputs") {
            if (value == "walk") {
                options.walkInputs = true;
            } else {
                unsigned pattern = 0;
                const auto result =
                    std::from_chars(value.data(), value.data() + value.size(), pattern, 16);
                ok = value.size() == 4 && result.ec == std::errc() &&
                     result.ptr == value.data() + value.size();
                options.inputs = static_cast<std::uint16_t>(pattern);
            }
        } else if (name == "--zero10" || name == "--span10" || name == "--zero200" ||
                   name == "--span200") {
            ok = isInt && whole >= -32768 && whole <= 32767;
            int& field = name == "--zero10"    ? options.zero10
                         : name == "--span10"  ? options.span10
                         : name == "--zero200" ? options.zero200
                                               : options.span200;
            field = static_cast<int>(whole);
        } else if (name == "--noise") {
            ok = wantCount(options.noiseEvery, 1);
        } else if (name == "--split-gap") {
            ok = wantCount(options.splitGapMs, 0);
        } else if (name == "--batch") {
            ok = wantCount(options.batch, 1);
        } else if (name == "--wrong-length") {
            ok = wantCount(options.wrongLengthEvery, 1);
        } else if (name == "--out-of-range") {
            ok = wantCount(options.outOfRangeEvery, 1);
        } else if (name == "--bad-hex") {
            ok = wantCount(options.badHexEvery, 1);
        } else if (name == "--silence-after" || name == "--hangup-after" ||
                   name == "--return-after") {
            ok = isReal && real >= 0.0;
            double& field = name == "--silence-after"  ? options.silenceAfter
                            : name == "--hangup-after" ? options.hangupAfter
                                                       : options.returnAfter;
            field = real;
        } else if (name == "--seed") {
            ok = isInt && whole >= 0 && whole <= 0xFFFFFFFFLL;
            options.seed = static_cast<std::uint32_t>(whole);
        } else {
            error = "unknown option " + std::string(name) + " (see --help)";
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value for " + std::string(name) + ": " + std::string(value);
            return std::nullopt;
        }
    }
    if (!options.writeSettingsDir.empty()) {
        return options;
    }
    if (options.dir.empty() || options.port < 1) {
        error = "--dir DIR and --port N are required (see --help)";
        return std::nullopt;
    }
    if (options.tablesDir.empty()) {
        options.tablesDir = options.dir;
    }
    return options;
}

}  // namespace cardsim
