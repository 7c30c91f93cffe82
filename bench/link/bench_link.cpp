// Frames per second from vantrel-cardsim (unpaced) through a pseudo-terminal and
// Qt Serial Port into the acquisition state, beside a bare read loop on the same
// stream, and the link's framing alone on an in-memory port.
#include <signal.h>
#include <sys/resource.h>

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "engine/AcquisitionState.h"
#include "link/CardLink.h"
#include "link/Commands.h"
#include "link/TaskSequencer.h"
#include "platform/PortNaming.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "settings/TableFiles.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

namespace {

using namespace vantrel;

constexpr int kStreamFrames = 300000;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string EnvOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

void Pump(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QEventLoop slice;
        QTimer::singleShot(5, &slice, &QEventLoop::quit);
        slice.exec();
    }
}

// One input type of each kind, with signals in their ranges, and the real tables.
void PrepareMixedChannels(AcquisitionState& state) {
    const std::vector<std::string> data = {EnvOr("VANTREL_SOURCE_DIR", VANTREL_SOURCE_DIR_DEFAULT) +
                                           "/data"};
    LoadThermocoupleTable(data, "j.tc", kTableJEntries, state.TableJ.data());
    LoadThermocoupleTable(data, "k.tc", kTableKEntries, state.TableK.data());
    const std::int16_t types[8] = {0, 1, 2, 3, 4, 5, 6, 0};
    for (int c = 0; c < 8; ++c) {
        state.InputType[static_cast<std::size_t>(c)] = types[c];
    }
}

const QStringList kMixedSignals{"--ch", "0=volts:5", "--ch", "1=ma:12",       "--ch", "2=ma:8",
                                "--ch", "3=mv:150",  "--ch", "4=pt100:100",   "--ch", "5=tcj:300",
                                "--ch", "6=tck:500", "--ch", "7=sine:20000:1"};

struct StreamFigures {
    double framesPerSecond = 0;
    double cpuMicrosPerFrame = 0;
    std::uint64_t sent = 0;
    std::uint64_t received = 0;
};

StreamFigures gLinkFigures;
StreamFigures gBareFigures;

// Starts the simulator unpaced with a fixed number of frames per task.
class Simulator {
  public:
    bool start() {
        const std::string binaryDir = EnvOr("VANTREL_BINARY_DIR", VANTREL_BINARY_DIR_DEFAULT);
        const std::string sourceDir = EnvOr("VANTREL_SOURCE_DIR", VANTREL_SOURCE_DIR_DEFAULT);
        QStringList arguments{"--dir",    folder.path(),
                              "--port",   "1",
                              "--rate",   "0",
                              "--count",  QString::number(kStreamFrames),
                              "--tables", QString::fromStdString(sourceDir + "/data")};
        arguments += kMixedSignals;
        QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, [this] {
            while (process.canReadLine()) {
                const QString line = QString::fromUtf8(process.readLine()).trimmed();
                if (line.startsWith("ready")) {
                    ready = true;
                } else if (line.startsWith("done analog=")) {
                    sent = line.section('=', 1, 1).section(' ', 0, 0).toULongLong();
                    done = true;
                }
            }
        });
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QString::fromStdString(binaryDir + "/vantrel-cardsim"), arguments);
        Pump([this] { return ready; }, 5000);
        return ready;
    }
    ~Simulator() {
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        process.waitForFinished(5000);
    }
    std::string dir() const { return folder.path().toStdString(); }

    QTemporaryDir folder;
    QProcess process;
    bool ready = false;
    bool done = false;
    std::uint64_t sent = 0;
};

void Report(benchmark::State& state, const StreamFigures& f, double seconds) {
    state.SetIterationTime(seconds);
    state.counters["frames_per_s"] = f.framesPerSecond;
    state.counters["sent"] = static_cast<double>(f.sent);
    state.counters["received"] = static_cast<double>(f.received);
    state.counters["lost"] = static_cast<double>(f.sent - std::min(f.sent, f.received));
    state.counters["cpu_us_per_frame"] = f.cpuMicrosPerFrame;
}

// A link's timers and task sequencer, which these benchmarks never fire.
struct IdleLinkParts {
    explicit IdleLinkParts(AcquisitionState& state)
        : sequencer(state, delay, [](int, std::string_view) {}) {}
    link::CardLink::Timers timers() { return {reopen, watch}; }

    testing::FakeTimer reopen;
    testing::FakeTimer watch;
    testing::FakeTimer delay;
    platform::QtClock clock;
    link::TaskSequencer sequencer;
};

// Simulator -> pseudo-terminal -> QtSerialPort -> CardLink -> decoded and
// converted state.
void BM_StreamIntoState(benchmark::State& state) {
    for (auto _ : state) {
        Simulator sim;
        if (!sim.start()) {
            state.SkipWithError("vantrel-cardsim did not start");
            return;
        }
        AcquisitionState acquisition;
        PrepareMixedChannels(acquisition);
        platform::QtSerialPort port(sim.dir());
        IdleLinkParts parts(acquisition);
        link::CardLink cardLink(acquisition, 0, port, parts.timers(), parts.sequencer, parts.clock);
        cardLink.OpenCardPort();
        cardLink.SendCommand(link::kCommandStartArm);
        const double cpuStart = CpuSeconds();
        QElapsedTimer clock;
        clock.start();
        cardLink.SendCommand(link::kCommandStartRun);
        Pump([&] { return sim.done && cardLink.counters().analogFrames >= sim.sent; }, 60000);
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const auto received = cardLink.counters().analogFrames;
        gLinkFigures = {static_cast<double>(received) / seconds,
                        (CpuSeconds() - cpuStart) * 1e6 / static_cast<double>(received), sim.sent,
                        received};
        Report(state, gLinkFigures, seconds);
    }
}
BENCHMARK(BM_StreamIntoState)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same stream read by a bare QSerialPort that only counts CRs: the ceiling.
void BM_StreamBareRead(benchmark::State& state) {
    for (auto _ : state) {
        Simulator sim;
        if (!sim.start()) {
            state.SkipWithError("vantrel-cardsim did not start");
            return;
        }
        QSerialPort port;
        port.setPortName(QString::fromStdString(platform::SerialDeviceName(1, sim.dir())));
        port.setBaudRate(QSerialPort::Baud9600);
        if (!port.open(QIODevice::ReadWrite)) {
            state.SkipWithError("port did not open");
            return;
        }
        std::uint64_t crs = 0;
        QObject::connect(&port, &QSerialPort::readyRead, &port, [&] {
            const QByteArray bytes = port.readAll();
            crs += static_cast<std::uint64_t>(bytes.count('\r'));
        });
        port.write("@TA00\r");
        const double cpuStart = CpuSeconds();
        QElapsedTimer clock;
        clock.start();
        port.write("@N\r");
        // Every analog frame comes with a digital one.
        Pump([&] { return sim.done && crs >= 2 * sim.sent; }, 60000);
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const std::uint64_t received = crs / 2;
        gBareFigures = {static_cast<double>(received) / seconds,
                        (CpuSeconds() - cpuStart) * 1e6 / static_cast<double>(received), sim.sent,
                        received};
        Report(state, gBareFigures, seconds);
    }
}
BENCHMARK(BM_StreamBareRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Framing, decoding and conversion alone, from an in-memory port in 4 KiB reads.
void BM_FramingInMemory(benchmark::State& state) {
    AcquisitionState acquisition;
    PrepareMixedChannels(acquisition);
    testing::FakeSerialPort port;
    IdleLinkParts parts(acquisition);
    link::CardLink cardLink(acquisition, 0, port, parts.timers(), parts.sequencer, parts.clock);
    const std::string frames =
        "+16000,+19200,+12800,+24000,+18005,+02347,+03143,-07001,+25.0\r01230000\r";
    std::string block;
    while (block.size() + frames.size() <= 4096) {
        block += frames;
    }
    const auto perBlock = static_cast<std::int64_t>(block.size() / frames.size());
    for (auto _ : state) {
        port.receive(block);
    }
    state.SetItemsProcessed(state.iterations() * perBlock);
    state.counters["analog_frames_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * perBlock), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FramingInMemory);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gLinkFigures.sent > 0 && gBareFigures.framesPerSecond > 0) {
        std::printf(
            "Through the link: %.0f analog frames/s (%llu sent, %llu received, %llu lost), "
            "%.2f us CPU per frame; %.0f%% of a bare read loop on the same stream "
            "(%.0f frames/s); goal 200000 frames/s\n",
            gLinkFigures.framesPerSecond, static_cast<unsigned long long>(gLinkFigures.sent),
            static_cast<unsigned long long>(gLinkFigures.received),
            static_cast<unsigned long long>(gLinkFigures.sent -
                                            std::min(gLinkFigures.sent, gLinkFigures.received)),
            gLinkFigures.cpuMicrosPerFrame,
            100.0 * gLinkFigures.framesPerSecond / gBareFigures.framesPerSecond,
            gBareFigures.framesPerSecond);
    }
    return 0;
}
