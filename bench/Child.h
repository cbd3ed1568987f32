#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <sys/types.h>

namespace bench {

using Clock = std::chrono::steady_clock;

// A child process whose standard output comes back line by line, each line
// with the moment it arrived. Standard error goes to a log file.
class Child {
public:
    Child() = default;
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Starts `program` with `arguments` in the current folder and environment.
    // `started()` is taken just before the process is created.
    bool start(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& errorLog, std::string& error);

    // The next line without its newline and the moment the read that brought
    // its end returned; false at end of output or after `timeoutMs` without one.
    bool readLine(std::string& line, Clock::time_point& arrived, int timeoutMs);

    // Waits for the process to end; returns its exit status (-1 if killed).
    int wait();
    // Ends the process now (it is waited for by the destructor).
    void kill();

    // Ends every child that is still running; safe in a signal handler.
    static void killAll();

    Clock::time_point started() const { return started_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
    Clock::time_point started_;
    Clock::time_point lastRead_;
};

}  // namespace bench
