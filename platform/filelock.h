#pragma once

#include <chrono>
#include <string>

namespace tarvelo {

// An exclusive advisory lock (flock) on a file that several programs write, held on a
// lock file beside it (".NAME.lock"), so that replacing the file by rename keeps it.
// The lock file exists only while the lock is held. The holder writes who it is into
// it, so that a program that waits in vain can say who has it.
class FileLock {
public:
    enum class Result {
        Locked,
        TimedOut,    // another holder kept it for the whole wait
        Unavailable, // no lock file can be made there (a read-only folder): go on unlocked
        NotOurs      // the lock file is a link, not a regular file, or another user's
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits up to `wait` for the lock of the file at path (links resolved). The holder
    // is named "PROGRAM (process PID)".
    Result acquire(const std::string& path, std::chrono::milliseconds wait);
    void release();
    bool held() const { return m_fd >= 0; }
    // After TimedOut: what the holder wrote of itself, empty when unknown.
    const std::string& otherHolder() const { return m_otherHolder; }

    static std::string lockFilePath(const std::string& path);

private:
    int m_fd = -1;
    std::string m_lockPath;
    std::string m_otherHolder;
};

// How long a writer waits for another one's lock: TARVELO_LOCK_WAIT seconds from the
// environment, else 20 seconds.
std::chrono::milliseconds lockWait();

} // namespace tarvelo
