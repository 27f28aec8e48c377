#pragma once

// Named pipes where the program expects files, and a watchdog that keeps a
// test that blocks on one from hanging the suite: it fails the test instead.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

namespace kzev::test {

/** Makes a named pipe at the path (no writer ever comes to it). */
inline void makePipe(const std::filesystem::path& path)
{
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
}

/**
 * Watches the pipes while the code under test runs. Nothing is expected to
 * wait on them; if anything still does after the deadline, which is far
 * longer than any read or write of a small file takes, the watchdog records
 * it and releases the waiting reader or writer (it opens the pipe's other
 * end and closes it again), so the test fails instead of hanging.
 */
class PipeWatchdog {
public:
    explicit PipeWatchdog(std::vector<std::filesystem::path> pipes,
        std::chrono::seconds deadline = std::chrono::seconds(10))
        : m_pipes(std::move(pipes))
        , m_thread([this, deadline] { watch(deadline); })
    {
    }
    ~PipeWatchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    PipeWatchdog(const PipeWatchdog&) = delete;
    PipeWatchdog& operator=(const PipeWatchdog&) = delete;

    /** Returns true when something was still waiting on a pipe at the deadline. */
    [[nodiscard]] bool fired() const
    {
        const std::lock_guard lock(m_mutex);
        return m_fired;
    }

private:
    void watch(std::chrono::seconds deadline)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, deadline, [this] { return m_stop; }))
            return;
        while (!m_stop) {
            std::vector<int> readEnds;
            for (const std::filesystem::path& pipe : m_pipes) {
                // Succeeds only while a reader waits on the pipe.
                const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    m_fired = true;
                    ::close(fd);
                }
                // Lets a writer that waits for a reader go on; what it writes shows it was there.
                const int readEnd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                if (readEnd >= 0)
                    readEnds.push_back(readEnd);
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_stop; });
            for (const int readEnd : readEnds) {
                char byte = 0;
                if (::read(readEnd, &byte, 1) > 0)
                    m_fired = true;
                ::close(readEnd);
            }
        }
    }

    std::vector<std::filesystem::path> m_pipes;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_fired = false;
    std::thread m_thread;
};

} // namespace kzev::test
