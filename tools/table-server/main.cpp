// kelo-table-server: the reference game server for tests and demos. One thread, one poll loop
// over the listening socket, the clients and a pipe on which the signal handler wakes it.

#include "CTableServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
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

// A client that does not read what is relayed to it is not allowed to fill the memory.
constexpr size_t MAX_UNSENT = 4 * 1024 * 1024;

class Sockets : public kelo::CTableServer::IOutput {
public:
    void Send(int fd, const uint8_t* data, size_t count) override {
        auto it = m_unsent.find(fd);
        if (it == m_unsent.end())
            return;
        it->second.insert(it->second.end(), data, data + count);
        if (it->second.size() > MAX_UNSENT)
            m_closing.push_back(fd);
        else
            Flush(fd);
    }
    void Close(int fd) override { m_closing.push_back(fd); }
    void Report(const std::string& line) override {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

    void Add(int fd) { m_unsent[fd]; }
    void Flush(int fd) {
        auto it = m_unsent.find(fd);
        if (it == m_unsent.end())
            return;
        std::vector<uint8_t>& out = it->second;
        while (!out.empty()) {
            const ssize_t n = send(fd, out.data(), out.size(), MSG_NOSIGNAL);
            if (n > 0) {
                out.erase(out.begin(), out.begin() + n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                    m_closing.push_back(fd);
                break;
            }
        }
    }
    // Closes what the server or a failed write gave up; returns the closed descriptors.
    std::vector<int> TakeClosing() {
        std::vector<int> closed;
        for (int fd : m_closing) {
            if (m_unsent.erase(fd) != 0) {
                close(fd);
                closed.push_back(fd);
            }
        }
        m_closing.clear();
        return closed;
    }
    const std::map<int, std::vector<uint8_t>>& Unsent() const { return m_unsent; }
    void CloseAll() {
        for (auto& [fd, out] : m_unsent)
            close(fd);
        m_unsent.clear();
    }

private:
    std::map<int, std::vector<uint8_t>> m_unsent;
    std::vector<int> m_closing;
};

int Usage() {
    std::fprintf(stderr, "usage: kelo-table-server --port P [--time TOTAL,PACE,ADD]\n"
                         "  --port P      0 picks a free port\n"
                         "  --time        clock settings in seconds: total time of each player,\n"
                         "                time per move, time added per move (1800,60,10)\n");
    return 2;
}

// TOTAL,PACE,ADD: three numbers of seconds that fit the clocks' 16-bit fields.
bool ParseTime(const std::string& text, kelo::CTableServer::TimeSettings& time) {
    long values[3];
    const char* p = text.c_str();
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        values[i] = std::strtol(p, &end, 10);
        if (end == p || values[i] < 0 || values[i] > 32767 || *end != (i < 2 ? ',' : '\0'))
            return false;
        p = end + 1;
    }
    time.total = static_cast<uint16_t>(values[0]);
    time.pace = static_cast<uint16_t>(values[1]);
    time.added = static_cast<uint16_t>(values[2]);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    long port = -1;
    kelo::CTableServer::TimeSettings time;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            char* end = nullptr;
            port = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || port < 0 || port > 65535)
                return Usage();
        } else if (arg == "--time" && i + 1 < argc) {
            if (!ParseTime(argv[++i], time))
                return Usage();
        } else {
            return Usage();
        }
    }
    if (port < 0)
        return Usage();

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
        listen(listener, 16) != 0) {
        std::fprintf(stderr, "kelo-table-server: cannot listen on 127.0.0.1:%ld: %s\n", port,
                     std::strerror(errno));
        return 1;
    }
    socklen_t size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    std::printf("listening 127.0.0.1:%d\n", ntohs(address.sin_port));
    std::fflush(stdout);

    Sockets sockets;
    kelo::CTableServer server(sockets);
    server.SetTimeSettings(time);
    bool running = true;
    while (running) {
        std::vector<pollfd> fds;
        fds.push_back({g_wakePipe[0], POLLIN, 0});
        fds.push_back({listener, POLLIN, 0});
        for (const auto& [fd, out] : sockets.Unsent())
            fds.push_back({fd, static_cast<short>(POLLIN | (out.empty() ? 0 : POLLOUT)), 0});
        const int ready = poll(fds.data(), fds.size(), 1000);
        if (ready < 0 && errno != EINTR) {
            std::perror("poll");
            break;
        }
        const uint64_t now = NowMs();
        if (fds[0].revents != 0)
            running = false;
        if (fds[1].revents & POLLIN) {
            for (;;) {
                const int fd = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
                if (fd < 0)
                    break;
                setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
                sockets.Add(fd);
                server.OnAccept(fd, now);
            }
        }
        for (size_t i = 2; i < fds.size() && running; ++i) {
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
        for (int fd : sockets.TakeClosing())
            server.OnClosed(fd);
    }
    sockets.CloseAll();
    close(listener);
    std::printf("stopped, %d violations\n", server.Violations());
    std::fflush(stdout);
    return 0;
}
