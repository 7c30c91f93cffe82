#pragma once

// One program per start folder. Two in one folder would fight over the ports, the
// journal, the spool and the broker connection, so the second is refused: the
// first holds an exclusive lock (flock) on vantrel.lock in the folder through an
// open descriptor for as long as it lives. The kernel lets go of it at any end, a
// kill or a crash included, so no stale lock is ever left behind; the file itself
// stays and holds the process id of its last holder, read only to name a holder.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"

namespace vantrel::platform {

inline constexpr const char* kInstanceLockFile = "vantrel.lock";

class InstanceLock {
  public:
    enum class State {
        Held,         // ours until this object goes
        HeldByOther,  // holderPid() names it, when known
        Unavailable,  // no lock can be had here; error() says why
    };

    static InstanceLock Take(const std::string& folder);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    ~InstanceLock();

    State state() const { return state_; }
    // The holder's process id; 0 when it is not known (it has not written it yet).
    long holderPid() const { return holderPid_; }
    const std::string& error() const { return error_; }

  private:
    InstanceLock() = default;

    int fd_ = -1;
    State state_ = State::Unavailable;
    long holderPid_ = 0;
    std::string error_;
};

// The process id in a lock file's text ("1234\n"); 0 for anything else (a file
// being written, or not written by this program).
long LockHolderPid(std::string_view text);

// Takes the start folder before anything in it is read. When another program holds
// it, says so through dialogs and returns nothing: this one must end. Where no lock
// can be had (a read-only folder, a file system without locks) a line on standard
// error says so and the program goes on without one.
std::optional<InstanceLock> ClaimStartFolder(const std::string& folder, Dialogs& dialogs);

}  // namespace vantrel::platform
