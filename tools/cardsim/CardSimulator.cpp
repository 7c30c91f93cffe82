#include "CardSimulator.h"

#include <algorithm>
#include <cstdio>

namespace cardsim {

namespace {

constexpr std::size_t kCommandLimit = 64;

std::string FormatCount(int count) {
    char text[16];
    std::snprintf(text, sizeof text, "%+06d,", count);
    return text;
}

bool Every(int every, std::uint64_t index) {
    return every > 0 && (index + 1) % every == 0;
}

}  // namespace

CardSimulator::CardSimulator(const SimOptions& options, const SignalModel& signals)
    : options_(options), signals_(signals), random_(options.seed) {
    for (std::size_t c = 0; c < countText_.size(); ++c) {
        countText_[c] = FormatCount(0);
    }
    char ambient[16];
    std::snprintf(ambient, sizeof ambient, "%+05.1f", std::clamp(options.ambient, -99.9, 99.9));
    ambientText_ = ambient;
}

std::string CardSimulator::OnBytes(std::string_view bytes) {
    std::string reply;
    for (const char c : bytes) {
        // LF ends a command too, so the card can be tried from a terminal.
        if (c == '\r' || c == '\n') {
            if (commandObserver_) {
                commandObserver_(command_);
            }
            OnCommand(command_, reply);
            command_.clear();
        } else if (command_.size() < kCommandLimit) {
            command_.push_back(c);
        }
    }
    return reply;
}

void CardSimulator::OnCommand(std::string_view command, std::string& reply) {
    if (command == "?") {
        reply += "V" + options_.cardVersion + "\r";
    } else if (command == "@TA00") {
        armed_ = true;
    } else if (command == "@N") {
        if (armed_) {
            streaming_ = true;
            taskFrames_ = 0;
        }
    } else if (command == "@F") {
        streaming_ = false;
        armed_ = false;
    } else if (command.size() == 6 && command.substr(0, 2) == "#D") {
        unsigned value = 0;
        for (const char c : command.substr(2)) {
            const int digit = (c >= '0' && c <= '9')   ? c - '0'
                              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                       : -1;
            if (digit < 0) {
                return;
            }
            value = value * 16 + static_cast<unsigned>(digit);
        }
        SetOutputs(static_cast<std::uint16_t>(value));
    }
}

void CardSimulator::SetOutputs(std::uint16_t outputs) {
    if (outputs == outputs_) {
        return;
    }
    outputs_ = outputs;
    if (outputsObserver_) {
        outputsObserver_(outputs_);
    }
}

bool CardSimulator::finished() const {
    return options_.count >= 0 && taskFrames_ >= options_.count;
}

void CardSimulator::Reset() {
    armed_ = false;
    streaming_ = false;
    SetOutputs(0);
    command_.clear();
}

void CardSimulator::AppendFrames(std::vector<WriteUnit>& out) {
    std::string text;
    std::vector<std::string> frames;
    for (int set = 0; set < options_.batch && !finished(); ++set) {
        std::string frame;
        if (Every(options_.noiseEvery, frameSets_)) {
            AppendNoise(frame);
        }
        AppendAnalog(frame);
        frames.push_back(std::move(frame));
        if (Every(options_.digitalEvery, analogSent_ - 1)) {
            std::string digital;
            AppendDigital(digital);
            frames.push_back(std::move(digital));
        }
        ++frameSets_;
    }
    if (!options_.split) {
        for (const auto& frame : frames) {
            text += frame;
        }
        out.push_back({std::move(text), 0});
        return;
    }
    for (const auto& frame : frames) {
        const std::size_t half = frame.size() / 2;
        out.push_back({frame.substr(0, half), 0});
        out.push_back({frame.substr(half), options_.splitGapMs});
    }
}

void CardSimulator::AppendAnalog(std::string& text) {
    const std::uint64_t index = analogSent_;
    const double seconds =
        options_.rate > 0.0 ? static_cast<double>(index) / options_.rate : index * 0.001;
    const std::size_t start = text.size();
    for (int c = 0; c < 8; ++c) {
        const auto slot = static_cast<std::size_t>(c);
        const int count = signals_.CountAt(c, seconds);
        if (count != lastCount_[slot]) {
            lastCount_[slot] = count;
            countText_[slot] = FormatCount(count);
        }
        text += countText_[slot];
    }
    text += ambientText_;
    if (Every(options_.outOfRangeEvery, index)) {
        text.replace(start + static_cast<std::size_t>(index % 8) * 7, 6, "+99999");
    }
    if (Every(options_.wrongLengthEvery, index)) {
        // Alternately one character short and one too many.
        if ((index / static_cast<std::uint64_t>(options_.wrongLengthEvery)) % 2 == 0) {
            text.pop_back();
        } else {
            text.push_back('0');
        }
    }
    text.push_back('\r');
    ++analogSent_;
    ++taskFrames_;
}

void CardSimulator::AppendDigital(std::string& text) {
    const std::uint16_t inputs = options_.walkInputs
                                     ? static_cast<std::uint16_t>(1u << (digitalSent_ % 16))
                                     : options_.inputs;
    char frame[16];
    std::snprintf(frame, sizeof frame, "%04X%04X\r", static_cast<unsigned>(inputs),
                  static_cast<unsigned>(outputs_));
    if (Every(options_.badHexEvery, digitalSent_)) {
        frame[1] = 'G';
    }
    text += frame;
    ++digitalSent_;
}

void CardSimulator::AppendNoise(std::string& text) {
    std::uniform_int_distribution<int> length(1, 8);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = length(random_); n > 0; --n) {
        text.push_back(static_cast<char>(byte(random_)));
    }
}

}  // namespace cardsim
