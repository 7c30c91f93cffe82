// The least a program can do with two card streams: start both cards, then wait
// in poll() and read whatever arrived, byte by byte as it comes, doing nothing
// with it. The idle benchmark runs it beside the program on two other simulated
// cards and prints its CPU share next to the program's.
//
//   bench_bare_read_loop SETTLE_S MEASURE_S LINK...
//
// Prints "bytes=B cpu_seconds=C wall_seconds=W" for the measured span.
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int OpenRaw(const char* link) {
    const int fd = ::open(link, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

void Send(const std::vector<pollfd>& ports, const char* command) {
    for (const pollfd& port : ports) {
        const std::string text = std::string(command) + '\r';
        (void)!::write(port.fd, text.data(), text.size());
    }
}

// Reads until the deadline; the number of bytes read.
long long ReadUntil(std::vector<pollfd>& ports, Clock::time_point deadline) {
    long long bytes = 0;
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return bytes;
        }
        if (::poll(ports.data(), ports.size(), static_cast<int>(left.count())) <= 0) {
            continue;
        }
        for (pollfd& port : ports) {
            if ((port.revents & POLLIN) != 0) {
                const ssize_t n = ::read(port.fd, buffer, sizeof buffer);
                bytes += n > 0 ? n : 0;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SETTLE_S MEASURE_S LINK...\n", argv[0]);
        return 2;
    }
    const double settle = std::atof(argv[1]);
    const double measure = std::atof(argv[2]);
    std::vector<pollfd> ports;
    for (int i = 3; i < argc; ++i) {
        const int fd = OpenRaw(argv[i]);
        if (fd < 0) {
            std::perror(argv[i]);
            return 1;
        }
        ports.push_back({fd, POLLIN, 0});
    }
    // The cards' start sequence, as the program sends it.
    Send(ports, "@TA00");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Send(ports, "@N");
    const auto toDuration = [](double seconds) {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    };
    ReadUntil(ports, Clock::now() + toDuration(settle));
    const double cpuStart = CpuSeconds();
    const auto wallStart = Clock::now();
    const long long bytes = ReadUntil(ports, wallStart + toDuration(measure));
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    std::printf("bytes=%lld cpu_seconds=%.3f wall_seconds=%.3f\n", bytes, CpuSeconds() - cpuStart,
                wall);
    Send(ports, "@F");
    return 0;
}
