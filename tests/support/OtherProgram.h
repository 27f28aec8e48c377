#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace kzev::test {

/** Runs SQL in another process (Python's SQLite), as another program on the machine would; true when it committed. */
bool writtenByAnotherProgram(const std::string& file, const std::string& sql);

/** Runs a Python script with the arguments in another process; true when it ended with success. */
bool ranInAnotherProgram(const std::string& script, const std::vector<std::string>& arguments);

/**
 * Another program (Python's SQLite in a process of its own) holding a write
 * on a database: it takes the write lock ("IMMEDIATE", or "EXCLUSIVE", which
 * keeps readers out as well), runs one statement and holds the transaction
 * until `seconds` have passed or it is released, then commits. The
 * constructor returns once the lock is held (held() says whether it was).
 */
class HeldWrite {
public:
    /** `user`, when not -1, is the user (and group) the program runs as: a colleague on the machine. */
    HeldWrite(const std::string& file, const std::string& sql, double seconds, const char* lock = "IMMEDIATE",
        int user = -1);
    ~HeldWrite();
    HeldWrite(const HeldWrite&) = delete;
    HeldWrite& operator=(const HeldWrite&) = delete;

    [[nodiscard]] bool held() const { return m_held; }
    /** Ends the hold now and waits for the program; true when it committed. */
    bool release();

private:
    pid_t m_child = -1;
    int m_release = -1; // closing it ends the hold
    bool m_held = false;
};

} // namespace kzev::test
