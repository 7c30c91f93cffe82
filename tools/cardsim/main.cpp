// vantrel-cardsim: a simulated acquisition card on a pseudo-terminal.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "CardSimulator.h"
#include "DemoSettings.h"
#include "PseudoTerminal.h"
#include "SignalModel.h"
#include "SimOptions.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

volatile sig_atomic_t gQuit = 0;
volatile sig_atomic_t gHangup = 0;
volatile sig_atomic_t gComeBack = 0;

void OnSignal(int number) {
    if (number == SIGUSR1) {
        gHangup = 1;
    } else if (number == SIGUSR2) {
        gComeBack = 1;
    } else {
        gQuit = 1;
    }
}

// Bytes waiting to go out, kept from growing while nobody reads the port. A
// paced card cannot get ahead of its line by more than a couple of frames.
constexpr std::size_t kQueueLimit = 65536;
constexpr std::size_t kPacedQueueLimit = 160;
constexpr std::size_t kWriteChunk = 65536;
constexpr double kBytesPerSecondAt9600 = 960.0;  // 10 bits per character with 8N1
constexpr double kIdleWakeMs = 100.0;

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

class Runner {
  public:
    Runner(const cardsim::SimOptions& options, cardsim::CardSimulator& card)
        : options_(options),
          card_(card),
          link_(options.dir + "/COM" + std::to_string(options.port)),
          start_(Clock::now()) {
        if (options.logCommands) {
            card_.setCommandObserver([this](std::string_view command) { LogCommand(command); });
            card_.setOutputsObserver([](std::uint16_t outputs) {
                char pattern[8];
                std::snprintf(pattern, sizeof pattern, "%04X", static_cast<unsigned>(outputs));
                Say(std::string("outputs ") + pattern);
            });
        }
    }

    int Run(const sigset_t& waitMask);

  private:
    double Elapsed(Clock::time_point now) const { return Millis(now - start_).count() / 1000.0; }
    bool OpenPort();
    void LogCommand(std::string_view command) const;
    void HangUp(Clock::time_point now);
    void Generate(Clock::time_point now);
    void ReadCommands(bool silent);
    void WriteSome(Clock::time_point now);
    std::size_t PaceBudget(Clock::time_point now) const;
    bool FrontReady(Clock::time_point now) const {
        return !queue_.empty() && PaceBudget(now) > 0 &&
               Millis(now - lastWrite_).count() >= queue_.front().gapMs;
    }
    double WaitMs(Clock::time_point now) const;
    void Enqueue(cardsim::WriteUnit unit) {
        queued_ += unit.text.size();
        queue_.push_back(std::move(unit));
    }

    const cardsim::SimOptions& options_;
    cardsim::CardSimulator& card_;
    cardsim::PseudoTerminal pty_;
    std::string link_;
    Clock::time_point start_;
    std::deque<cardsim::WriteUnit> queue_;
    std::size_t queued_ = 0;
    Clock::time_point nextFrame_{};
    bool frameClockRunning_ = false;
    Clock::time_point lastWrite_{};
    Clock::time_point paceStart_{};
    std::size_t paceWritten_ = 0;
    bool hungUp_ = false;
    bool autoHangupDone_ = false;
    Clock::time_point hungUpAt_{};
    bool doneReported_ = true;
    std::vector<cardsim::WriteUnit> fresh_;
};

bool Runner::OpenPort() {
    std::string error;
    if (!pty_.Open(link_, error)) {
        std::fprintf(stderr, "vantrel-cardsim: %s\n", error.c_str());
        return false;
    }
    Say("ready " + link_ + " -> " + pty_.device());
    return true;
}

// The time is taken when the command's bytes have been read, so a test can
// measure the pauses between commands as the card sees them.
void Runner::LogCommand(std::string_view command) const {
    char milliseconds[32];
    std::snprintf(milliseconds, sizeof milliseconds, "%.3f", Millis(Clock::now() - start_).count());
    std::string text;
    for (const char c : command) {
        text.push_back(c >= 0x20 && c < 0x7F ? c : '.');
    }
    Say(std::string("command ") + milliseconds + " " + text);
}

void Runner::HangUp(Clock::time_point now) {
    pty_.Close();
    card_.Reset();
    queue_.clear();
    queued_ = 0;
    hungUp_ = true;
    hungUpAt_ = now;
    frameClockRunning_ = false;
    Say("hangup");
}

void Runner::Generate(Clock::time_point now) {
    if (!card_.streaming() || card_.finished()) {
        frameClockRunning_ = false;
        return;
    }
    doneReported_ = false;
    if (options_.rate <= 0.0) {
        while (queued_ < (options_.pace ? kPacedQueueLimit : kQueueLimit) && !card_.finished()) {
            fresh_.clear();
            card_.AppendFrames(fresh_);
            for (auto& unit : fresh_) {
                Enqueue(std::move(unit));
            }
        }
        return;
    }
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / options_.rate));
    if (!frameClockRunning_ || now - nextFrame_ > std::chrono::seconds(1)) {
        // Starting, or back from a stall: no burst of missed frames.
        nextFrame_ = now;
        frameClockRunning_ = true;
    }
    while (now >= nextFrame_ && !card_.finished()) {
        // A card whose port nobody reads simply loses those frames.
        if (queued_ < (options_.pace ? kPacedQueueLimit : kQueueLimit)) {
            fresh_.clear();
            card_.AppendFrames(fresh_);
            for (auto& unit : fresh_) {
                Enqueue(std::move(unit));
            }
        }
        nextFrame_ += period;
    }
}

void Runner::ReadCommands(bool silent) {
    char bytes[4096];
    const ssize_t n = ::read(pty_.fd(), bytes, sizeof bytes);
    if (n <= 0) {
        return;
    }
    std::string reply = card_.OnBytes(std::string_view(bytes, static_cast<std::size_t>(n)));
    if (!reply.empty() && !silent) {
        Enqueue({std::move(reply), 0});
    }
}

std::size_t Runner::PaceBudget(Clock::time_point now) const {
    if (!options_.pace) {
        return kWriteChunk;
    }
    const double allowed = Millis(now - paceStart_).count() / 1000.0 * kBytesPerSecondAt9600;
    const double left = allowed - static_cast<double>(paceWritten_);
    return left < 1.0 ? 0 : static_cast<std::size_t>(left);
}

void Runner::WriteSome(Clock::time_point now) {
    std::string chunk;
    std::size_t units = 0;
    for (const auto& unit : queue_) {
        if (unit.gapMs > 0 && (units > 0 || Millis(now - lastWrite_).count() < unit.gapMs)) {
            break;
        }
        chunk += unit.text;
        ++units;
        if (chunk.size() >= kWriteChunk) {
            break;
        }
    }
    const std::size_t length = std::min(chunk.size(), PaceBudget(now));
    if (length == 0) {
        return;
    }
    const ssize_t written = ::write(pty_.fd(), chunk.data(), length);
    if (written <= 0) {
        return;
    }
    lastWrite_ = now;
    paceWritten_ += static_cast<std::size_t>(written);
    auto left = static_cast<std::size_t>(written);
    queued_ -= left;
    while (left > 0) {
        auto& front = queue_.front();
        if (front.text.size() <= left) {
            left -= front.text.size();
            queue_.pop_front();
        } else {
            front.text.erase(0, left);
            front.gapMs = 0;
            left = 0;
        }
    }
}

double Runner::WaitMs(Clock::time_point now) const {
    double wait = kIdleWakeMs;
    if (frameClockRunning_ && card_.streaming() && options_.rate > 0.0) {
        wait = std::min(wait, Millis(nextFrame_ - now).count());
    }
    if (!queue_.empty() && !FrontReady(now)) {
        if (queue_.front().gapMs > 0) {
            wait = std::min(wait, queue_.front().gapMs - Millis(now - lastWrite_).count());
        }
        if (options_.pace && PaceBudget(now) == 0) {
            wait = std::min(wait, 1000.0 / kBytesPerSecondAt9600);
        }
    }
    return std::max(wait, 0.0);
}

int Runner::Run(const sigset_t& waitMask) {
    if (!OpenPort()) {
        return 1;
    }
    while (gQuit == 0) {
        const auto now = Clock::now();
        const double elapsed = Elapsed(now);
        if (pty_.isOpen() && (gHangup != 0 || (options_.hangupAfter >= 0.0 && !autoHangupDone_ &&
                                               elapsed >= options_.hangupAfter))) {
            if (gHangup == 0) {
                autoHangupDone_ = true;
            }
            gHangup = 0;
            HangUp(now);
        }
        if (!pty_.isOpen() && (gComeBack != 0 || (options_.returnAfter >= 0.0 && hungUp_ &&
                                                  Millis(now - hungUpAt_).count() >=
                                                      options_.returnAfter * 1000.0))) {
            gComeBack = 0;
            hungUp_ = false;
            if (!OpenPort()) {
                return 1;
            }
        }
        gHangup = 0;
        gComeBack = 0;
        const bool silent = options_.silenceAfter >= 0.0 && elapsed >= options_.silenceAfter;
        if (pty_.isOpen() && !silent) {
            Generate(now);
        }
        if (!silent && !doneReported_ && card_.finished() && queue_.empty()) {
            doneReported_ = true;
            Say("done analog=" + std::to_string(card_.analogSent()) +
                " digital=" + std::to_string(card_.digitalSent()));
        }
        if (queue_.empty()) {
            paceStart_ = now;
            paceWritten_ = 0;
        }

        pollfd port{};
        port.fd = pty_.isOpen() ? pty_.fd() : -1;
        port.events = POLLIN;
        if (!silent && FrontReady(now)) {
            port.events |= POLLOUT;
        }
        const auto waitNs = static_cast<long long>(WaitMs(now) * 1e6);
        const timespec timeout{static_cast<time_t>(waitNs / 1000000000LL),
                               static_cast<long>(waitNs % 1000000000LL)};
        const int ready = ppoll(&port, 1, &timeout, &waitMask);
        if (ready <= 0 || !pty_.isOpen()) {
            continue;
        }
        if ((port.revents & POLLIN) != 0) {
            ReadCommands(silent);
        }
        if ((port.revents & POLLOUT) != 0) {
            WriteSome(Clock::now());
        }
    }
    pty_.Close();
    Say("exit analog=" + std::to_string(card_.analogSent()) +
        " digital=" + std::to_string(card_.digitalSent()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    cardsim::InfoRequest info = cardsim::InfoRequest::None;
    const auto options = cardsim::ParseOptions(argc, argv, error, info);
    if (info == cardsim::InfoRequest::Help) {
        std::fputs(cardsim::HelpText(), stdout);
        return 0;
    }
    if (info == cardsim::InfoRequest::Version) {
        std::printf("vantrel-cardsim %s\n", VANTREL_VERSION);
        return 0;
    }
    if (!options) {
        std::fprintf(stderr, "vantrel-cardsim: %s\n", error.c_str());
        return 2;
    }
    if (!options->writeSettingsDir.empty()) {
        if (const auto failure = cardsim::WriteDemoSettings(options->writeSettingsDir)) {
            std::fprintf(stderr, "vantrel-cardsim: %s\n", failure->c_str());
            return 1;
        }
        return 0;
    }
    cardsim::SignalModel signals;
    if (!signals.Load(*options, error)) {
        std::fprintf(stderr, "vantrel-cardsim: %s\n", error.c_str());
        return 2;
    }
    cardsim::CardSimulator card(*options, signals);

    // Signals are blocked except inside ppoll, so none slips between a check and
    // the wait.
    sigset_t handled;
    sigemptyset(&handled);
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2}) {
        sigaddset(&handled, number);
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        sigaction(number, &action, nullptr);
    }
    signal(SIGPIPE, SIG_IGN);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &handled, &waitMask);

    Runner runner(*options, card);
    return runner.Run(waitMask);
}
