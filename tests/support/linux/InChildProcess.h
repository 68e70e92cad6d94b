#pragma once
// Runs a test's body in a forked child process, for what a test must not do to its own process (take
// on another user, a mount namespace of its own), and hands back the text the body returned.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

namespace testsupport {

// Returns what body returned in the child (by convention empty on success), or what went wrong with
// the child: it failed to send its result, ended abnormally, or did not finish within timeLimitSeconds
// ("hung: ..."), after which it is killed.
inline std::string InChildProcess(const std::function<std::string()>& body, unsigned timeLimitSeconds = 20) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return "pipe failed";
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return "fork failed";
    }
    if (pid == 0) {
        close(pipeFds[0]);
        alarm(timeLimitSeconds);
        const std::string result = body();
        const bool sent =
            write(pipeFds[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
        _exit(sent ? 0 : 1);
    }
    close(pipeFds[1]);
    std::string result;
    char buf[512];
    for (ssize_t n; (n = read(pipeFds[0], buf, sizeof buf)) > 0;)
        result.append(buf, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return "hung: " + result;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child process failed (status " + std::to_string(status) + "): " + result;
    return result;
}

}  // namespace testsupport
