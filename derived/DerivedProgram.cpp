#include "derived/DerivedProgram.h"

#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace vantrel::derived {

namespace {

double Mean(const double* values, int count) {
    double sum = 0.0;
    for (int index = 0; index < count; ++index) {
        sum += values[index];
    }
    return sum / count;
}

std::unique_ptr<mu::Parser> NewParser() {
    auto parser = std::make_unique<mu::Parser>();
    parser->DefineFun("mean", Mean);
    return parser;
}

std::string SlotName(std::size_t slot) {
    return "ch" + std::to_string(slot);
}

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Where the expression first names name as a whole word.
std::optional<std::size_t> PlaceOf(const std::string& expression, const std::string& name) {
    for (std::size_t at = expression.find(name); at != std::string::npos;
         at = expression.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        if ((at == 0 || !IsNameCharacter(expression[at - 1])) &&
            (end == expression.size() || !IsNameCharacter(expression[end]))) {
            return at;
        }
    }
    return std::nullopt;
}

// The library's message without its own position, which counts from 0:
// "Unexpected end of expression at position 3" is "unexpected end of expression".
std::string Reason(const mu::Parser::exception_type& error) {
    if (error.GetCode() == mu::ecUNASSIGNABLE_TOKEN) {
        return "unknown name " + error.GetToken();
    }
    std::string why = error.GetMsg();
    for (const char* tail : {" found at position ", " at position "}) {
        if (const std::size_t cut = why.find(tail); cut != std::string::npos) {
            why.erase(cut);
            break;
        }
    }
    if (!why.empty() && why.front() >= 'A' && why.front() <= 'Z') {
        why.front() = static_cast<char>(why.front() - 'A' + 'a');
    }
    return why;
}

struct Binding {
    bool derived = false;
    std::size_t index = 0;
};

}  // namespace

struct DerivedProgram::Storage {
    std::array<double, kUsedChannels> inputs{};
    std::array<double, kMaxDerivedChannels> derived{};
};

struct DerivedProgram::Compiled {
    std::size_t channel = 0;
    std::unique_ptr<mu::Parser> parser;
    std::uint32_t inputsUsed = 0;  // slot s in bit s
    std::vector<std::size_t> derivedUsed;
};

std::string CompileErrorText(const DerivedSettings& settings, const CompileError& error) {
    std::string text = settings.channels.at(error.channel).name + ": " + error.why;
    if (error.position) {
        text += " at character " + std::to_string(*error.position + 1) + " of the expression";
    }
    return text;
}

DerivedProgram::DerivedProgram() : storage_(std::make_unique<Storage>()) {}
DerivedProgram::DerivedProgram(DerivedProgram&&) noexcept = default;
DerivedProgram& DerivedProgram::operator=(DerivedProgram&&) noexcept = default;
DerivedProgram::~DerivedProgram() = default;

DerivedProgram DerivedProgram::Compile(const DerivedSettings& settings,
                                       std::span<const std::string> channelNames) {
    DerivedProgram program;
    const std::vector<DerivedChannel>& channels = settings.channels;
    const std::size_t count = std::min(channels.size(), kMaxDerivedChannels);
    std::vector<std::optional<std::string>> refused(count);

    // Names the library has already: functions and constants.
    std::set<std::string, std::less<>> taken;
    {
        const auto parser = NewParser();
        for (const auto& [name, function] : parser->GetFunDef()) {
            taken.insert(name);
        }
        for (const auto& [name, value] : parser->GetConst()) {
            taken.insert(name);
        }
    }
    std::map<std::string, Binding, std::less<>> bindings;
    for (std::size_t slot = 0; slot < kUsedChannels; ++slot) {
        bindings[SlotName(slot)] = {false, slot};
    }
    // A channel name is usable when it is an identifier only that channel has.
    std::map<std::string, std::vector<std::size_t>, std::less<>> byChannelName;
    for (std::size_t slot = 0; slot < std::min<std::size_t>(channelNames.size(), kUsedChannels);
         ++slot) {
        const std::string& name = channelNames[slot];
        if (IsIdentifier(name) && !taken.contains(name) && !bindings.contains(name)) {
            byChannelName[name].push_back(slot);
        }
    }
    for (const auto& [name, slots] : byChannelName) {
        if (slots.size() == 1) {
            bindings[name] = {false, slots.front()};
        }
    }
    for (std::size_t index = 0; index < count; ++index) {
        const std::string& name = channels[index].name;
        if (!IsIdentifier(name)) {
            refused[index] = "name " + name + " is not letters, digits and _";
        } else if (taken.contains(name)) {
            refused[index] = "name " + name + " is a function or constant";
        } else if (const auto found = bindings.find(name); found != bindings.end()) {
            refused[index] = found->second.derived ? "name " + name + " is used twice"
                                                   : "name " + name + " is channel " +
                                                         std::to_string(found->second.index) + "'s";
        } else if (byChannelName.contains(name)) {
            refused[index] = "name " + name + " is the name of more than one channel";
        } else {
            bindings[name] = {true, index};
        }
        if (refused[index]) {
            program.errors_.push_back({index, std::nullopt, *refused[index]});
        }
    }

    std::vector<std::optional<Compiled>> parsed(count);
    for (std::size_t index = 0; index < count; ++index) {
        if (refused[index]) {
            continue;
        }
        Compiled compiled{index, NewParser(), 0, {}};
        try {
            for (const auto& [name, binding] : bindings) {
                compiled.parser->DefineVar(name, binding.derived
                                                     ? &program.storage_->derived[binding.index]
                                                     : &program.storage_->inputs[binding.index]);
            }
            compiled.parser->SetExpr(channels[index].expression);
            // The library lists names it does not know among those used, so
            // that an unknown one is found here, the first in the text first.
            std::optional<CompileError> unknown;
            for (const auto& [name, address] : compiled.parser->GetUsedVar()) {
                const auto found = bindings.find(name);
                if (found == bindings.end()) {
                    const auto place = PlaceOf(channels[index].expression, name);
                    if (!unknown || place < unknown->position) {
                        unknown = CompileError{index, place, "unknown name " + name};
                    }
                    continue;
                }
                const Binding& binding = found->second;
                if (binding.derived) {
                    compiled.derivedUsed.push_back(binding.index);
                } else {
                    compiled.inputsUsed |= std::uint32_t{1} << binding.index;
                }
            }
            if (unknown) {
                refused[index] = unknown->why;
                program.errors_.push_back(std::move(*unknown));
                continue;
            }
            compiled.parser->Eval();
        } catch (const mu::Parser::exception_type& error) {
            std::optional<std::size_t> position;
            if (error.GetPos() >= 0) {
                position = std::min(static_cast<std::size_t>(error.GetPos()),
                                    channels[index].expression.size());
            }
            refused[index] = Reason(error);
            program.errors_.push_back({index, position, *refused[index]});
            continue;
        }
        parsed[index] = std::move(compiled);
    }

    // Lowest place first among those whose inputs are ready, so that channels
    // already in a good order keep it.
    const auto refuse = [&](std::size_t index, std::size_t on, std::string why) {
        refused[index] = why;
        program.errors_.push_back(
            {index, PlaceOf(channels[index].expression, channels[on].name), std::move(why)});
        parsed[index].reset();
    };
    std::vector<bool> placed(count, false);
    for (bool progress = true; progress;) {
        progress = false;
        for (std::size_t index = 0; index < count && !progress; ++index) {
            if (!parsed[index] || placed[index]) {
                continue;
            }
            bool ready = true;
            for (std::size_t used : parsed[index]->derivedUsed) {
                if (refused[used]) {
                    refuse(index, used, "uses " + channels[used].name + ", which has an error");
                    ready = false;
                    progress = true;
                    break;
                }
                ready = ready && placed[used];
            }
            if (ready) {
                placed[index] = true;
                program.compiled_.push_back(std::move(*parsed[index]));
                progress = true;
            }
        }
    }

    // The rest wait on each other: each one on a cycle names it, from itself
    // round to itself; each one only waiting on a cycle names what it waits on.
    const auto waiting = [&](std::size_t index) { return parsed[index] && !placed[index]; };
    std::vector<std::pair<std::size_t, CompileError>> late;
    for (std::size_t start = 0; start < count; ++start) {
        if (!waiting(start)) {
            continue;
        }
        // Breadth first, so the cycle named is a shortest one.
        std::vector<std::optional<std::size_t>> cameFrom(count);
        std::vector<std::size_t> queue = {start};
        bool closed = false;
        std::size_t last = start;
        for (std::size_t next = 0; next < queue.size() && !closed; ++next) {
            for (std::size_t used : parsed[queue[next]]->derivedUsed) {
                if (!waiting(used)) {
                    continue;
                }
                if (used == start) {
                    closed = true;
                    last = queue[next];
                    break;
                }
                if (!cameFrom[used]) {
                    cameFrom[used] = queue[next];
                    queue.push_back(used);
                }
            }
        }
        std::size_t on = start;
        std::string why;
        if (closed) {
            std::vector<std::size_t> path = {start};
            for (std::size_t at = last; at != start; at = *cameFrom[at]) {
                path.insert(path.begin() + 1, at);
            }
            on = path.size() > 1 ? path[1] : start;
            why = "a cycle";
            for (std::size_t at : path) {
                why += (at == start ? " " : " -> ") + channels[at].name;
            }
            why += " -> " + channels[start].name;
        } else {
            for (std::size_t used : parsed[start]->derivedUsed) {
                if (waiting(used)) {
                    on = used;
                    break;
                }
            }
            why = "uses " + channels[on].name + ", which is on a cycle";
        }
        late.push_back(
            {start,
             {start, PlaceOf(channels[start].expression, channels[on].name), std::move(why)}});
    }
    for (auto& [index, error] : late) {
        parsed[index].reset();
        program.errors_.push_back(std::move(error));
    }
    std::sort(program.errors_.begin(), program.errors_.end(),
              [](const CompileError& a, const CompileError& b) { return a.channel < b.channel; });
    return program;
}

std::vector<std::size_t> DerivedProgram::order() const {
    std::vector<std::size_t> order;
    for (const Compiled& compiled : compiled_) {
        order.push_back(compiled.channel);
    }
    return order;
}

std::optional<std::uint32_t> DerivedProgram::slotsUsed(std::size_t channel) const {
    // In the order of evaluation each one's derived channels come before it.
    std::array<std::uint32_t, kMaxDerivedChannels> slots{};
    for (const Compiled& compiled : compiled_) {
        std::uint32_t used = compiled.inputsUsed;
        for (std::size_t other : compiled.derivedUsed) {
            used |= slots[other];
        }
        slots[compiled.channel] = used;
        if (compiled.channel == channel) {
            return used;
        }
    }
    return std::nullopt;
}

DerivedValues DerivedProgram::evaluate(const ChannelValues& values) const {
    std::uint32_t present = 0;
    for (std::size_t slot = 0; slot < kUsedChannels; ++slot) {
        storage_->inputs[slot] = values[slot].value_or(std::numeric_limits<double>::quiet_NaN());
        present |= values[slot] ? std::uint32_t{1} << slot : 0;
    }
    DerivedValues results{};
    for (const Compiled& compiled : compiled_) {
        if ((compiled.inputsUsed & ~present) != 0) {
            continue;
        }
        bool ready = true;
        for (std::size_t used : compiled.derivedUsed) {
            ready = ready && results[used].has_value();
        }
        if (!ready) {
            continue;
        }
        double result = std::numeric_limits<double>::quiet_NaN();
        try {
            result = compiled.parser->Eval();
        } catch (const mu::Parser::exception_type&) {
            continue;
        }
        if (std::isfinite(result)) {
            results[compiled.channel] = result;
            storage_->derived[compiled.channel] = result;
        }
    }
    return results;
}

}  // namespace vantrel::derived
