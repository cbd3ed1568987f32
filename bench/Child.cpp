#include "Child.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

namespace {

// The children not yet waited for, where a signal handler can reach them.
constexpr int kSlots = 16;
volatile pid_t running[kSlots] = {};

void remember(pid_t pid) {
    for (volatile pid_t& slot : running) {
        if (slot == 0) {
            slot = pid;
            return;
        }
    }
}

void forget(pid_t pid) {
    for (volatile pid_t& slot : running) {
        if (slot == pid) {
            slot = 0;
        }
    }
}

}  // namespace

void Child::killAll() {
    for (volatile pid_t& slot : running) {
        if (slot > 0) {
            ::kill(slot, SIGKILL);
        }
    }
}

Child::~Child() {
    if (pid_ > 0) {
        kill();
        wait();
    }
    if (out_ >= 0) {
        ::close(out_);
    }
}

bool Child::start(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& errorLog, std::string& error) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLog.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    started_ = Clock::now();
    const int result = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (result != 0) {
        ::close(pipeEnds[0]);
        pid_ = -1;
        error = program + ": " + std::strerror(result);
        return false;
    }
    out_ = pipeEnds[0];
    remember(pid_);
    return true;
}

bool Child::readLine(std::string& line, Clock::time_point& arrived, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            arrived = lastRead_;
            return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (out_ < 0 || left.count() <= 0) {
            return false;
        }
        pollfd ready{out_, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            return false;
        }
        char chunk[512];
        const ssize_t n = ::read(out_, chunk, sizeof chunk);
        lastRead_ = Clock::now();
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ::close(out_);
            out_ = -1;
            return false;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

int Child::wait() {
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    forget(pid_);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Child::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
    }
}

}  // namespace bench
