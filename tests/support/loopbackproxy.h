#pragma once

#include <QByteArray>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace dorvik::test {

// A TCP relay on 127.0.0.1 in front of the test server, for links that drop or stall the
// way networks and servers do. Runs in its own thread; the test talks to port().
// With no upstream port it is a server that accepts and never answers.
class LoopbackProxy {
public:
    explicit LoopbackProxy(int upstreamPort);
    ~LoopbackProxy();
    LoopbackProxy(const LoopbackProxy&) = delete;
    LoopbackProxy& operator=(const LoopbackProxy&) = delete;

    int port() const { return port_; }

    // The next statement starting with `head` (as the client sends it, e.g. "COMMIT") goes
    // to the server, but its answer never comes back: the link is closed instead. With
    // `deliver` false the statement itself is swallowed and the link closed.
    void loseAnswerTo(const QByteArray& head, bool deliver = true);
    // Answers stop coming back, as from a server that hangs, until stalled again with false.
    void stall(bool on);
    // Every link is closed on both sides, as a server restart closes them; new ones are taken.
    void cutAll();
    // Only the client's side of every link is closed: the server still holds its sessions,
    // as after a network drop it has not noticed yet.
    void cutClientSides();

private:
    void run();
    void wake();

    int upstream_;
    int port_ = 0;
    int listener_ = -1;
    int wakeRead_ = -1, wakeWrite_ = -1;
    std::atomic<bool> stop_{false}, stalled_{false};
    std::atomic<int> cut_{0}; // 1: both sides, 2: client sides
    std::mutex mutex_;
    QByteArray watched_;
    bool deliverWatched_ = true;
    std::thread thread_;
};

} // namespace dorvik::test
