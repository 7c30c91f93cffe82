#include "PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace cardsim {

PseudoTerminal::~PseudoTerminal() {
    Close();
}

bool PseudoTerminal::Open(const std::string& linkPath, std::string& error) {
    Close();
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        if (master >= 0) {
            ::close(master);
        }
        return false;
    }
    const char* name = ptsname(master);
    const int slave = name != nullptr ? ::open(name, O_RDWR | O_NOCTTY) : -1;
    if (slave < 0) {
        error = std::string("cannot open the pseudo-terminal device: ") + std::strerror(errno);
        ::close(master);
        return false;
    }
    // Raw both ways: a CR must stay a CR, and nothing is echoed back.
    termios settings{};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave, TCSANOW, &settings);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    // A new link replaces a stale one in one step.
    const std::string temporary = linkPath + ".new";
    ::unlink(temporary.c_str());
    struct stat existing {};
    if (lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = linkPath + " exists and is not a symbolic link";
        ::close(slave);
        ::close(master);
        return false;
    }
    if (::symlink(name, temporary.c_str()) != 0 ||
        ::rename(temporary.c_str(), linkPath.c_str()) != 0) {
        error = "cannot create the link " + linkPath + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        ::close(slave);
        ::close(master);
        return false;
    }
    master_ = master;
    slave_ = slave;
    device_ = name;
    link_ = linkPath;
    return true;
}

void PseudoTerminal::Close() {
    if (!link_.empty()) {
        // Only our own link: another simulator may have taken the name since.
        char target[PATH_MAX];
        const ssize_t length = ::readlink(link_.c_str(), target, sizeof target - 1);
        if (length > 0 && std::string(target, static_cast<std::size_t>(length)) == device_) {
            ::unlink(link_.c_str());
        }
        link_.clear();
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    device_.clear();
}

}  // namespace cardsim
