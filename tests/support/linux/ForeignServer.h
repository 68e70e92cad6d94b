#pragma once
// A local socket server run by a child process, as this user or as another one: stands in for a
// process of another local user that listens where the program's own copies meet. It accepts
// connections until it is destroyed, reads what each client sends, hangs up, and counts them.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

class ForeignServer {
public:
    // Binds path (as the current user, so the folder need only be writable by it), then listens as
    // uid: the peer credentials a client sees are those of the listener.
    ForeignServer(const std::string& path, uid_t uid) {
        int ready[2];
        if (pipe(ready) != 0) return;
        if (pipe(accepted_) != 0) return;
        fflush(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(accepted_[0]);
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un addr{};
            addr.sun_family = AF_UNIX;
            std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
            if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) _exit(2);
            if (uid != geteuid() && (setgid(uid) != 0 || setuid(uid) != 0)) _exit(3);
            if (listen(fd, 4) != 0) _exit(4);
            const char r = 'r';
            if (write(ready[1], &r, 1) != 1) _exit(5);
            for (;;) {
                const int client = accept(fd, nullptr, nullptr);
                if (client < 0) continue;
                if (write(accepted_[1], &r, 1) != 1) _exit(6);
                // Like a running copy: reads the request (or the end of a client that says nothing).
                char request[64];
                if (read(client, request, sizeof request) < 0) {
                    // the client went away; nothing to answer
                }
                close(client);
            }
        }
        close(ready[1]);
        close(accepted_[1]);
        fcntl(accepted_[0], F_SETFL, O_NONBLOCK);
        char r = 0;
        ok_ = pid_ > 0 && read(ready[0], &r, 1) == 1;
        close(ready[0]);
    }
    ~ForeignServer() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (accepted_[0] >= 0) close(accepted_[0]);
    }
    ForeignServer(const ForeignServer&) = delete;
    ForeignServer& operator=(const ForeignServer&) = delete;

    // Whether the server listens.
    bool Ok() const { return ok_; }
    // The connections accepted so far.
    int Accepted() {
        char buf[64];
        for (ssize_t n; (n = read(accepted_[0], buf, sizeof buf)) > 0;)
            accepted_count_ += static_cast<int>(n);
        return accepted_count_;
    }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int accepted_[2] = {-1, -1};
    int accepted_count_ = 0;
    bool ok_ = false;
};
