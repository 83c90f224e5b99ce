// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-table-server: the reference game server for tests and demos. One thread, one poll loop
// over the listening socket, the clients and a pipe on which the signal handler wakes it.

#include "CClientSockets.h"
#include "CServerControl.h"
#include "CServerLog.h"
#include "CTableServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int g_wakePipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(g_wakePipe[1], &byte, 1);
}

uint64_t NowMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Usage(FILE* to) {
    const kelo::CTableServer::Limits limits;
    std::fprintf(
        to,
        "usage: kelo-table-server --port P [--time TOTAL,PACE,ADD] [--control-stdin] [limits]\n"
        "  --port P                 0 picks a free port (on 127.0.0.1)\n"
        "  --time TOTAL,PACE,ADD    clock settings in seconds: total time of each player,\n"
        "                           time per move, time added per move (1800,60,10)\n"
        "  --control-stdin          read commands on standard input, one a line:\n"
        "                           \"time TOTAL,PACE,ADD\" sets the clocks of the games that\n"
        "                           begin from then on (the players seated between games are\n"
        "                           told at once, 606); the end of the input stops the server\n"
        "Limits (a client that keeps to the protocol never meets them):\n"
        "  --max-connections N      connections at once, entered or not (%zu); more are\n"
        "                           closed at once\n"
        "  --max-per-address N      connections at once from one address (%zu); more are\n"
        "                           closed at once\n"
        "  --enter-limit S          seconds (%llu) a connection may take to enter a desk;\n"
        "                           then it is closed\n"
        "  --max-desk N             clients at one desk, players and watchers (%zu)\n"
        "  --max-violations N       a client is dropped at its Nth violation (%d)\n"
        "  --idle-limit S           a client is dropped after S seconds (%llu) without\n"
        "                           completing a message; bytes of an unfinished one do\n"
        "                           not count, clients send a keep-alive every 30 s\n"
        "  --max-unsent KIB         a client with more unsent data is dropped (%zu)\n"
        "  --max-unsent-total KIB   unsent data of all clients together (%zu); above it,\n"
        "                           the client with the most unsent is dropped\n"
        "Seats:\n"
        "  --seat-hold S            seconds (%llu) a player whose connection goes during a\n"
        "                           game keeps the seat: the desk is told (3016), no other\n"
        "                           id may take the seat, and the same id entering again\n"
        "                           takes it back (3002); when the time runs out the game\n"
        "                           is that player's loss on time (651, 656), and then the\n"
        "                           desk gets 3026 (could not come back)\n"
        "  An entry with an id that is already connected takes over, as a login elsewhere\n"
        "  does: the old connection gets 3004 and is closed, the new one holds its place.\n"
        "Chat: lines are relayed with the sender's own id, seat and watch number, the text\n"
        "cut to 400 bytes; more than 5 lines a second from one client are dropped.\n"
        "The log goes to standard output without ever blocking the server: up to %zu KiB\n"
        "wait for a slow reader, more are dropped and counted; violations beyond %d a\n"
        "second are summarised on one line starting with \"violations\".\n",
        limits.connections, limits.perAddress,
        static_cast<unsigned long long>(limits.enterMs / 1000), limits.perDesk, limits.violations,
        static_cast<unsigned long long>(limits.idleMs / 1000),
        kelo::CClientSockets::DEFAULT_CLIENT_BOUND / 1024,
        kelo::CClientSockets::DEFAULT_TOTAL_BOUND / 1024,
        static_cast<unsigned long long>(limits.seatHoldMs / 1000),
        kelo::CServerLog::DEFAULT_BOUND / 1024, kelo::CServerLog::VIOLATIONS_PER_SECOND);
}

int BadUsage() {
    Usage(stderr);
    return 2;
}

// A whole number from MIN to MAX.
bool ParseNumber(const char* text, long min, long max, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && errno == 0 && value >= min && value <= max;
}

} // namespace

int main(int argc, char** argv) {
    long port = -1;
    kelo::CTableServer::TimeSettings time;
    kelo::CTableServer::Limits limits;
    size_t clientBound = kelo::CClientSockets::DEFAULT_CLIENT_BOUND;
    size_t totalBound = kelo::CClientSockets::DEFAULT_TOTAL_BOUND;
    constexpr long MANY = 1L << 30;
    bool control = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long value = 0;
        if (arg == "--help") {
            Usage(stdout);
            return 0;
        }
        if (arg == "--control-stdin") {
            control = true;
            continue;
        }
        if (i + 1 >= argc)
            return BadUsage();
        const char* next = argv[++i];
        if (arg == "--port" && ParseNumber(next, 0, 65535, value)) {
            port = value;
        } else if (arg == "--time") {
            if (!kelo::CServerControl::ParseTime(next, time))
                return BadUsage();
        } else if (arg == "--max-connections" && ParseNumber(next, 1, MANY, value)) {
            limits.connections = static_cast<size_t>(value);
        } else if (arg == "--max-per-address" && ParseNumber(next, 1, MANY, value)) {
            limits.perAddress = static_cast<size_t>(value);
        } else if (arg == "--enter-limit" && ParseNumber(next, 1, 86400, value)) {
            limits.enterMs = static_cast<uint64_t>(value) * 1000;
        } else if (arg == "--seat-hold" && ParseNumber(next, 1, 86400, value)) {
            limits.seatHoldMs = static_cast<uint64_t>(value) * 1000;
        } else if (arg == "--max-desk" && ParseNumber(next, 1, MANY, value)) {
            limits.perDesk = static_cast<size_t>(value);
        } else if (arg == "--max-violations" && ParseNumber(next, 1, MANY, value)) {
            limits.violations = static_cast<int>(value);
        } else if (arg == "--idle-limit" && ParseNumber(next, 1, 86400, value)) {
            limits.idleMs = static_cast<uint64_t>(value) * 1000;
        } else if (arg == "--max-unsent" && ParseNumber(next, 1, 1L << 22, value)) {
            clientBound = static_cast<size_t>(value) * 1024;
        } else if (arg == "--max-unsent-total" && ParseNumber(next, 1, 1L << 22, value)) {
            totalBound = static_cast<size_t>(value) * 1024;
        } else {
            return BadUsage();
        }
    }
    if (port < 0)
        return BadUsage();

    // Every connection is a descriptor: the limit of connections fits the process's.
    rlimit files{};
    constexpr rlim_t RESERVED = 16;
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < limits.connections + RESERVED) {
        files.rlim_cur = std::min<rlim_t>(files.rlim_max, limits.connections + RESERVED);
        setrlimit(RLIMIT_NOFILE, &files);
        getrlimit(RLIMIT_NOFILE, &files);
        if (files.rlim_cur < limits.connections + RESERVED) {
            limits.connections = files.rlim_cur > RESERVED ? files.rlim_cur - RESERVED : 1;
            std::fprintf(stderr, "kelo-table-server: at most %zu connections (open files)\n",
                         limits.connections);
        }
    }
    // A log reader or a client that has gone is an error of a write, not a signal.
    signal(SIGPIPE, SIG_IGN);

    if (pipe(g_wakePipe) != 0) {
        std::perror("pipe");
        return 1;
    }
    fcntl(g_wakePipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (listener < 0 ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, SOMAXCONN) != 0) {
        std::fprintf(stderr, "kelo-table-server: cannot listen on 127.0.0.1:%ld: %s\n", port,
                     std::strerror(errno));
        return 1;
    }
    socklen_t size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);

    kelo::CServerLog log(STDOUT_FILENO);
    log.Line("listening 127.0.0.1:" + std::to_string(ntohs(address.sin_port)), NowMs());
    kelo::CClientSockets sockets(log, NowMs, clientBound, totalBound);
    kelo::CTableServer server(sockets);
    server.SetTimeSettings(time);
    server.SetLimits(limits);
    kelo::CServerControl controlLines;
    bool running = true;
    while (running) {
        std::vector<pollfd> fds;
        fds.push_back({g_wakePipe[0], POLLIN, 0});
        fds.push_back({listener, POLLIN, 0});
        // The log's output is polled apart from the clients (a descriptor of -1 is skipped).
        fds.push_back({log.Waiting() ? log.Descriptor() : -1, POLLOUT, 0});
        fds.push_back({control ? STDIN_FILENO : -1, POLLIN, 0});
        for (const auto& [fd, waiting] : sockets.Sockets())
            fds.push_back({fd, static_cast<short>(POLLIN | (waiting ? POLLOUT : 0)), 0});
        const int ready = poll(fds.data(), fds.size(), 1000);
        if (ready < 0 && errno != EINTR) {
            std::perror("poll");
            break;
        }
        const uint64_t now = NowMs();
        if (fds[0].revents != 0)
            running = false;
        if (fds[2].revents != 0)
            log.Flush();
        if (fds[3].revents != 0) {
            char bytes[4096];
            const ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
            if (n > 0) {
                controlLines.Feed(bytes, static_cast<size_t>(n));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                // Whoever runs the server this way has gone: the server goes with it.
                log.Line("control input closed", now);
                running = false;
            }
            for (const auto& command : controlLines.TakeCommands()) {
                if (command.kind == kelo::CServerControl::Command::Kind::Time)
                    server.ChangeTimeSettings(command.time);
                else
                    log.Line("control: not understood: " + command.line, now);
            }
        }
        if (fds[1].revents & POLLIN) {
            for (;;) {
                sockaddr_in peer{};
                socklen_t peerSize = sizeof peer;
                const int fd = accept4(listener, reinterpret_cast<sockaddr*>(&peer), &peerSize,
                                       SOCK_NONBLOCK | SOCK_CLOEXEC);
                if (fd < 0)
                    break;
                if (!server.OnAccept(fd, now, ntohl(peer.sin_addr.s_addr))) {
                    close(fd);
                    continue;
                }
                setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
                sockets.Add(fd);
            }
        }
        for (size_t i = 4; i < fds.size() && running; ++i) {
            const int fd = fds[i].fd;
            if (fds[i].revents & POLLOUT)
                sockets.Flush(fd);
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                uint8_t buffer[16384];
                const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
                if (n > 0) {
                    server.OnData(fd, buffer, static_cast<size_t>(n), now);
                } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                    server.OnClosed(fd);
                    sockets.Close(fd);
                }
            }
        }
        server.OnTick(now);
        for (const auto& [fd, why] : sockets.TakeDropped()) {
            server.Drop(fd, why);
            sockets.Close(fd);
        }
        for (int fd : sockets.TakeClosed())
            server.OnClosed(fd);
        log.Tick(now);
    }
    sockets.CloseAll();
    close(listener);
    if (server.ChatDrops() > 0)
        log.Line("chat lines dropped: " + std::to_string(server.ChatDrops()), NowMs());
    log.Finish("stopped, " + std::to_string(server.Violations()) + " violations");
    return 0;
}
