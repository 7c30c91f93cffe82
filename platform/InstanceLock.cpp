#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

#include "platform/ConsoleWriter.h"
#include "platform/Paths.h"

namespace vantrel::platform {

namespace {

long ReadPid(int fd) {
    char text[32];
    const ssize_t got = ::pread(fd, text, sizeof text, 0);
    return got > 0 ? LockHolderPid({text, static_cast<std::size_t>(got)}) : 0;
}

}  // namespace

long LockHolderPid(std::string_view text) {
    long pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    const std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
    const bool whole = rest.empty() || rest == "\n";
    return error == std::errc() && whole && pid > 0 ? pid : 0;
}

InstanceLock InstanceLock::Take(const std::string& folder) {
    InstanceLock lock;
    const std::string path = FolderFilePath(folder, kInstanceLockFile);
    lock.fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock.fd_ < 0) {
        lock.error_ = path + ": " + std::strerror(errno);
        return lock;
    }
    if (::flock(lock.fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK) {
            lock.state_ = State::HeldByOther;
            lock.holderPid_ = ReadPid(lock.fd_);
        } else {
            lock.error_ = path + ": " + std::strerror(error);
        }
        ::close(lock.fd_);
        lock.fd_ = -1;
        return lock;
    }
    lock.state_ = State::Held;
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(lock.fd_, 0) != 0 ||
        ::pwrite(lock.fd_, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        // Held all the same; a refused second start then cannot name this one.
        lock.error_ = path + ": " + std::strerror(errno);
    }
    return lock;
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      state_(other.state_),
      holderPid_(other.holderPid_),
      error_(std::move(other.error_)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        state_ = other.state_;
        holderPid_ = other.holderPid_;
        error_ = std::move(other.error_);
    }
    return *this;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::optional<InstanceLock> ClaimStartFolder(const std::string& folder, Dialogs& dialogs) {
    InstanceLock lock = InstanceLock::Take(folder);
    switch (lock.state()) {
        case InstanceLock::State::Held:
            return lock;
        case InstanceLock::State::HeldByOther: {
            const std::string who =
                lock.holderPid() > 0 ? "Vantrel (process " + std::to_string(lock.holderPid()) + ")"
                                     : "Vantrel";
            dialogs.showMessage({"Another " + who + " is running in the folder '" + folder +
                                     "'. Only one may run in a start folder at a time.",
                                 "Vantrel", MessageIcon::Critical});
            return std::nullopt;
        }
        case InstanceLock::State::Unavailable:
            break;
    }
    WriteErrorLine("vantrel: cannot lock " + lock.error() +
                   "; a second program started in this folder would not be refused");
    return lock;
}

}  // namespace vantrel::platform
