// The program's CPU share with two simulated cards at wire speed (9600 baud, as
// real cards send) publishing every frame to a real mosquitto broker in each
// payload shape, beside the same run with publishing off; the CPU time per frame
// with the cards sending as fast as the program reads, counted until the broker
// has acknowledged every message, in each shape and off; and how fast a full
// spool (100 MB of analog values) drains into the broker once it is back.
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "engine/AcquisitionState.h"
#include "link/CardLink.h"
#include "link/Commands.h"
#include "link/TaskSequencer.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "publish/Publisher.h"
#include "publish/Spool.h"
#include "publish/mosquitto/MosquittoClient.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/BrokerProcess.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/FakeTimer.h"

namespace {

using namespace vantrel;
using testing::PumpFor;
using testing::PumpUntil;

constexpr int kWireSpeedSeconds = 5;
constexpr int kFastFrames = 20000;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);  // every thread, the network thread included
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Figures {
    double cpuShare = 0;  // CPU seconds per second of the run
    double cpuMicrosPerFrame = 0;
    double framesPerSecond = 0;
    // Flooded: the CPU until the last frame was read, before the backlog drained.
    double readMicrosPerFrame = 0;
    std::uint64_t frames = 0;
    std::uint64_t acknowledged = 0;
};

// Two cards, both links, and the publisher when publishing is on: the program's
// receive path and its publishing, without the windows.
class Rig {
  public:
    // No shape: publishing off.
    Rig(std::optional<publish::PayloadShape> shape, const QStringList& pacing, int port)
        : port1_(nullptr), port2_(nullptr) {
        ok_ = sim1_.start(1, pacing + QStringList{"--ch", "0=volts:5", "--ch", "4=sine:9000:3"}) &&
              sim2_.start(2, pacing + QStringList{"--ch", "1=count:-500"});
        port1_ = std::make_unique<platform::QtSerialPort>(sim1_.dir());
        port2_ = std::make_unique<platform::QtSerialPort>(sim2_.dir());
        for (int card = 0; card < 2; ++card) {
            links_[card] = std::make_unique<link::CardLink>(
                state_, card, card == 0 ? *port1_ : *port2_,
                link::CardLink::Timers{reopen_[card], watch_[card]}, sequencer_, clock_);
        }
        if (shape) {
            publisher_ = std::make_unique<publish::Publisher>(
                state_,
                publish::PublisherServices{clock_, tick_,
                                           [this] {
                                               return std::make_unique<publish::MosquittoClient>(
                                                   [this] { wake(); });
                                           },
                                           "", publish::kSpoolLimitBytes, "bench"});
            publish::MqttSettings settings;
            settings.enabled = true;
            settings.host = "127.0.0.1";
            settings.port = port;
            settings.station = "bench";
            settings.intervalMs = 0;
            settings.payload = *shape;
            publisher_->apply(settings);
            ok_ =
                ok_ && PumpUntil([this] {
                    return publisher_->linkStatus().state == publish::LinkStatus::State::Connected;
                });
            for (auto& cardLink : links_) {
                cardLink->addFrameListener(
                    [this](const link::FrameEvent& event) { publisher_->onFrame(event); });
            }
        }
        for (auto& cardLink : links_) {
            cardLink->OpenCardPort();
        }
        ok_ = ok_ && PumpUntil([this] { return state_.CardConnected1 && state_.CardConnected2; });
    }
    ~Rig() {
        if (publisher_) {
            publisher_->shutdown();
        }
    }

    bool ok() const { return ok_; }
    std::uint64_t frames() const {
        return links_[0]->counters().analogFrames + links_[1]->counters().analogFrames;
    }
    std::uint64_t acknowledged() const {
        return publisher_ ? publisher_->counters().acknowledged : 0;
    }
    // Every message handed over acknowledged and none waiting in the spool.
    bool delivered() const {
        return !publisher_ ||
               (publisher_->spool()->empty() &&
                publisher_->counters().acknowledged == publisher_->counters().handedOver);
    }
    void startTasks() {
        for (auto& cardLink : links_) {
            cardLink->SendCommand(link::kCommandStartArm);
        }
        PumpFor(link::kStartPauseMs);
        for (auto& cardLink : links_) {
            cardLink->SendCommand(link::kCommandStartRun);
        }
    }

  private:
    void wake() {
        QMetaObject::invokeMethod(
            &receiver_, [this] { publisher_->onClientEvents(); }, Qt::QueuedConnection);
    }

    testing::CardSimProcess sim1_;
    testing::CardSimProcess sim2_;
    AcquisitionState state_;
    std::unique_ptr<platform::QtSerialPort> port1_;
    std::unique_ptr<platform::QtSerialPort> port2_;
    // The timers and sequencer the links need; the benchmark starts the tasks itself.
    std::array<testing::FakeTimer, 2> reopen_;
    std::array<testing::FakeTimer, 2> watch_;
    testing::FakeTimer pause_;
    link::TaskSequencer sequencer_{state_, pause_, [](int, std::string_view) {}};
    std::array<std::unique_ptr<link::CardLink>, 2> links_;
    platform::QtClock clock_;
    platform::QtTimer tick_;
    QObject receiver_;
    std::unique_ptr<publish::Publisher> publisher_;
    bool ok_ = false;
};

testing::BrokerProcess* gBroker = nullptr;
// Publishing off, then each payload shape in the order of its key's words.
constexpr int kRuns = 4;
constexpr std::array<const char*, kRuns> kRunNames = {"off", "per_channel", "per_card", "influx"};
Figures gWire[kRuns];
Figures gFast[kRuns];

std::optional<publish::PayloadShape> ShapeOf(int run) {
    return run == 0
               ? std::nullopt
               : std::optional<publish::PayloadShape>(static_cast<publish::PayloadShape>(run - 1));
}
struct DrainFigures {
    std::uint64_t messages = 0;
    double seconds = 0;
} gDrain;

void Measure(benchmark::State& state, const QStringList& pacing, int run, Figures& figures,
             bool untilCount) {
    for (auto _ : state) {
        Rig rig(ShapeOf(run), pacing, gBroker->port());
        if (!rig.ok()) {
            state.SkipWithError("simulators, cards or broker did not come up");
            return;
        }
        const double cpuStart = CpuSeconds();
        double readCpu = 0;
        QElapsedTimer clock;
        clock.start();
        rig.startTasks();
        if (untilCount) {
            PumpUntil([&] { return rig.frames() >= 2 * kFastFrames; }, 120000);
            readCpu = CpuSeconds() - cpuStart;
            PumpUntil([&] { return rig.delivered(); }, 300000);
        } else {
            // One event loop for the whole run, so that waiting costs nothing.
            QEventLoop run;
            QTimer::singleShot(kWireSpeedSeconds * 1000, &run, &QEventLoop::quit);
            run.exec();
        }
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const double cpu = CpuSeconds() - cpuStart;
        const auto frames = static_cast<double>(std::max<std::uint64_t>(rig.frames(), 1));
        figures = {
            cpu / seconds,          cpu * 1e6 / frames, static_cast<double>(rig.frames()) / seconds,
            readCpu * 1e6 / frames, rig.frames(),       rig.acknowledged()};
        state.SetIterationTime(seconds);
        state.counters["cpu_share_percent"] = 100 * figures.cpuShare;
        state.counters["frames_per_s"] = figures.framesPerSecond;
        state.counters["acknowledged"] = static_cast<double>(figures.acknowledged);
    }
}

// A spool filled to its limit while the broker was away, as the program leaves
// it, then drained by a publisher that connects at once.
void BM_FullSpoolDrain(benchmark::State& state) {
    for (auto _ : state) {
        testing::TempFolder folder;
        const std::string path = folder.file(publish::kSpoolFile);
        std::uint64_t messages = 0;
        {
            publish::Spool spool(publish::FileSpoolStorage::Open(path));
            const std::string payload =
                R"({"time":"2026-12-06T13:05:09.250Z","value":21.35,"name":"Channel 4",)"
                R"("input":"+/- 10V","unit":"V"})";
            for (int n = 0; spool.dropped() == 0; ++n) {
                spool.pushBack(publish::SpooledMessage{
                    "vantrel/bench/analog/" + std::to_string(n % 16), payload, 1, false});
            }
            spool.sync();
            messages = spool.size();
        }
        AcquisitionState acquisition;
        platform::QtClock clock;
        platform::QtTimer tick;
        QObject receiver;
        std::unique_ptr<publish::Publisher> publisher;
        publisher = std::make_unique<publish::Publisher>(
            acquisition,
            publish::PublisherServices{clock, tick,
                                       [&] {
                                           return std::make_unique<publish::MosquittoClient>([&] {
                                               QMetaObject::invokeMethod(
                                                   &receiver, [&] { publisher->onClientEvents(); },
                                                   Qt::QueuedConnection);
                                           });
                                       },
                                       path, publish::kSpoolLimitBytes, "bench"});
        publish::MqttSettings settings;
        settings.enabled = true;
        settings.host = "127.0.0.1";
        settings.port = gBroker->port();
        settings.station = "bench";
        QElapsedTimer elapsed;
        elapsed.start();
        publisher->apply(settings);
        const bool drained = PumpUntil([&] { return publisher->spool()->empty(); }, 600000);
        gDrain = {messages, static_cast<double>(elapsed.nsecsElapsed()) / 1e9};
        publisher->shutdown();
        if (!drained) {
            state.SkipWithError("the spool did not drain within 10 minutes");
            return;
        }
        state.SetIterationTime(gDrain.seconds);
        state.counters["messages"] = static_cast<double>(gDrain.messages);
        state.counters["messages_per_s"] = static_cast<double>(gDrain.messages) / gDrain.seconds;
    }
}
BENCHMARK(BM_FullSpoolDrain)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

const QStringList kWireSpeed{"--pace", "--rate", "0"};
const QStringList kAsFastAsRead{"--rate", "0", "--count", QString::number(kFastFrames)};

void BM_WireSpeed(benchmark::State& state) {
    const int run = static_cast<int>(state.range(0));
    state.SetLabel(kRunNames[static_cast<std::size_t>(run)]);
    Measure(state, kWireSpeed, run, gWire[run], false);
}
void BM_AsFastAsRead(benchmark::State& state) {
    const int run = static_cast<int>(state.range(0));
    state.SetLabel(kRunNames[static_cast<std::size_t>(run)]);
    Measure(state, kAsFastAsRead, run, gFast[run], true);
}
BENCHMARK(BM_WireSpeed)
    ->DenseRange(0, kRuns - 1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_AsFastAsRead)
    ->DenseRange(0, kRuns - 1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The simulator and the tables of this build, unless the caller chose others.
    setenv("VANTREL_SOURCE_DIR", VANTREL_SOURCE_DIR_DEFAULT, 0);
    setenv("VANTREL_BINARY_DIR", VANTREL_BINARY_DIR_DEFAULT, 0);
    vantrel::testing::BrokerProcess broker;
    if (!broker.start()) {
        std::fprintf(stderr, "mosquitto did not start\n");
        return 1;
    }
    gBroker = &broker;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf(
        "Two cards; wire speed %.1f frames/s; as fast as read, %d frames, CPU counted until "
        "the broker acknowledged every message\n",
        gWire[0].framesPerSecond, 2 * kFastFrames);
    std::printf("%-12s %12s %12s %16s %16s %10s\n", "payload", "wire CPU %", "over off",
                "flooded us/frame", "until read", "messages");
    for (int run = 0; run < kRuns; ++run) {
        const std::uint64_t frames = std::max<std::uint64_t>(gFast[run].frames, 1);
        std::printf("%-12s %12.2f %+12.2f %16.1f %16.1f %10.2f\n",
                    kRunNames[static_cast<std::size_t>(run)], 100 * gWire[run].cpuShare,
                    100 * (gWire[run].cpuShare - gWire[0].cpuShare), gFast[run].cpuMicrosPerFrame,
                    gFast[run].readMicrosPerFrame,
                    static_cast<double>(gFast[run].acknowledged) / static_cast<double>(frames));
    }
    if (gDrain.seconds > 0) {
        std::printf("A full spool: %llu messages drained in %.1f s, %.0f messages/s\n",
                    static_cast<unsigned long long>(gDrain.messages), gDrain.seconds,
                    static_cast<double>(gDrain.messages) / gDrain.seconds);
    }
    return 0;
}
