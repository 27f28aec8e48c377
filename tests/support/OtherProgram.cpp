#include "support/OtherProgram.h"

#include <cerrno>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace kzev::test {

namespace {

bool endedWell(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool writtenByAnotherProgram(const std::string& file, const std::string& sql)
{
    const std::string script = "import sqlite3, sys\n"
                               "c = sqlite3.connect(sys.argv[1], timeout=0.2, isolation_level=None)\n"
                               "try:\n"
                               "    c.executescript('BEGIN IMMEDIATE; ' + sys.argv[2])\n"
                               "except sqlite3.OperationalError:\n"
                               "    sys.exit(3)\n";
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/usr/bin/python3", "python3", "-c", script.c_str(), file.c_str(), sql.c_str(), nullptr);
        ::_exit(127);
    }
    return child > 0 && endedWell(child);
}

bool ranInAnotherProgram(const std::string& script, const std::vector<std::string>& arguments)
{
    std::vector<std::string> words { "python3", "-c", script };
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv("/usr/bin/python3", argv.data());
        ::_exit(127);
    }
    return child > 0 && endedWell(child);
}

HeldWrite::HeldWrite(const std::string& file, const std::string& sql, double seconds, const char* lock, int user)
{
    const std::string script = "import sqlite3, sys, select, os\n"
                               "if int(sys.argv[5]) >= 0:\n"
                               "    os.setgid(int(sys.argv[5])); os.setuid(int(sys.argv[5]))\n"
                               "c = sqlite3.connect(sys.argv[1], timeout=5, isolation_level=None)\n"
                               "c.execute('BEGIN ' + sys.argv[3])\n"
                               "c.execute(sys.argv[2])\n"
                               "sys.stdout.write('held\\n'); sys.stdout.flush()\n"
                               "select.select([sys.stdin], [], [], float(sys.argv[4]))\n"
                               "c.execute('COMMIT')\n";
    int told[2];
    int release[2];
    if (::pipe(told) != 0)
        return;
    if (::pipe(release) != 0) {
        ::close(told[0]);
        ::close(told[1]);
        return;
    }
    const std::string time = std::to_string(seconds);
    m_child = ::fork();
    if (m_child == 0) {
        ::dup2(release[0], STDIN_FILENO);
        ::dup2(told[1], STDOUT_FILENO);
        ::close(release[1]);
        ::close(told[0]);
        ::execl("/usr/bin/python3", "python3", "-c", script.c_str(), file.c_str(), sql.c_str(), lock, time.c_str(),
            std::to_string(user).c_str(), nullptr);
        ::_exit(127);
    }
    ::close(told[1]);
    ::close(release[0]);
    m_release = release[1];
    char line[5] {};
    std::size_t got = 0;
    while (m_child > 0 && got < 5) {
        const ssize_t n = ::read(told[0], line + got, 5 - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(told[0]);
    m_held = got == 5 && std::string(line, 5) == "held\n";
}

bool HeldWrite::release()
{
    if (m_release >= 0) {
        ::close(m_release);
        m_release = -1;
    }
    if (m_child <= 0)
        return false;
    const bool committed = endedWell(m_child);
    m_child = -1;
    return committed;
}

HeldWrite::~HeldWrite()
{
    release();
}

} // namespace kzev::test
