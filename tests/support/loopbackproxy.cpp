#include "support/loopbackproxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace dorvik::test {
namespace {

struct Link {
    int client = -1;
    int server = -1;         // -1: a silent server, or the server side kept after a client cut
    bool losing = false;     // the watched statement went out; its answer is not passed on
};

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

int connectTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(quint16(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size_t(size), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        data += sent;
        size -= sent;
    }
    return true;
}

} // namespace

LoopbackProxy::LoopbackProxy(int upstreamPort) : upstream_(upstreamPort) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener_, 16) != 0
        || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length) != 0)
        throw std::runtime_error("the loopback proxy cannot listen");
    port_ = ntohs(a.sin_port);
    int pipe[2];
    if (::pipe(pipe) != 0) throw std::runtime_error("the loopback proxy cannot make its pipe");
    wakeRead_ = pipe[0];
    wakeWrite_ = pipe[1];
    thread_ = std::thread([this] { run(); });
}

LoopbackProxy::~LoopbackProxy() {
    stop_ = true;
    wake();
    thread_.join();
    closeFd(listener_);
    closeFd(wakeRead_);
    closeFd(wakeWrite_);
}

void LoopbackProxy::wake() {
    const char c = 0;
    (void)!::write(wakeWrite_, &c, 1);
}

void LoopbackProxy::loseAnswerTo(const QByteArray& head, bool deliver) {
    std::lock_guard<std::mutex> lock(mutex_);
    // A query goes out as the command byte 3 followed by its text.
    watched_ = '\x03' + head;
    deliverWatched_ = deliver;
}

void LoopbackProxy::stall(bool on) {
    stalled_ = on;
    wake();
}

void LoopbackProxy::cutAll() {
    cut_ = 1;
    wake();
    while (cut_ != 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void LoopbackProxy::cutClientSides() {
    cut_ = 2;
    wake();
    while (cut_ != 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void LoopbackProxy::run() {
    std::vector<Link> links;
    char buffer[65536];
    while (!stop_) {
        if (const int cut = cut_.load()) {
            for (Link& l : links) {
                closeFd(l.client);
                if (cut == 1) closeFd(l.server);
            }
            cut_ = 0;
        }
        std::vector<pollfd> fds{{wakeRead_, POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const Link& l : links) {
            fds.push_back({l.client, short(l.client >= 0 ? POLLIN : 0), 0});
            // A stalled server's answers wait in the socket; a kept server side is only watched for its end.
            fds.push_back({l.server, short(l.server >= 0 && (!stalled_ || l.client < 0) ? POLLIN : 0), 0});
        }
        if (::poll(fds.data(), nfds_t(fds.size()), 200) < 0) continue;
        if (fds[0].revents) (void)!::read(wakeRead_, buffer, sizeof buffer);
        if (fds[1].revents & POLLIN) {
            Link l;
            l.client = ::accept(listener_, nullptr, nullptr);
            if (upstream_ > 0) l.server = connectTo(upstream_);
            if (l.client >= 0) links.push_back(l);
        }
        for (size_t i = 0; i < links.size() && 2 + 2 * i + 1 < fds.size(); ++i) {
            Link& l = links[i];
            const short fromClient = fds[2 + 2 * i].revents, fromServer = fds[2 + 2 * i + 1].revents;
            if (l.client >= 0 && fromClient) {
                const ssize_t n = ::recv(l.client, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    closeFd(l.client);
                    closeFd(l.server);
                    continue;
                }
                bool deliver = true;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    if (!watched_.isEmpty() && QByteArray(buffer, n).contains(watched_)) {
                        l.losing = true;
                        deliver = deliverWatched_;
                        watched_.clear();
                    }
                }
                if (upstream_ <= 0) continue; // a silent server reads and says nothing
                if (!deliver) {
                    closeFd(l.client);
                    closeFd(l.server);
                    continue;
                }
                if (l.server < 0 || !sendAll(l.server, buffer, n)) closeFd(l.client);
            }
            if (l.server >= 0 && fromServer) {
                const ssize_t n = ::recv(l.server, buffer, sizeof buffer, 0);
                if (n <= 0 || l.losing) {
                    closeFd(l.client);
                    closeFd(l.server);
                    continue;
                }
                if (l.client < 0) continue;
                if (!sendAll(l.client, buffer, n)) closeFd(l.client);
            }
        }
        std::erase_if(links, [](const Link& l) { return l.client < 0 && l.server < 0; });
    }
    for (Link& l : links) {
        closeFd(l.client);
        closeFd(l.server);
    }
}

} // namespace dorvik::test
