#pragma once

#include <QString>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include <netinet/in.h>

// What a relay does to the datagrams of one direction, each drawn on its own.
struct RelayFaults
{
    double drop = 0;      // share lost
    double duplicate = 0; // share sent twice (the copy after the same delay draw)
    double corrupt = 0;   // share with one bit flipped
    double reorder = 0;   // share held back until the next datagram of the direction passed
    int delayMs = 0;      // each datagram waits 0 to this many milliseconds
};

// A network between a link and a card on loopback, with its faults: every datagram from a
// sender on 127.0.0.1 to the relay's port goes on to the card, every reply back to the
// port it answers. Each sender port has its own port towards the card, as behind a
// router. The faults are drawn from a seed; scripted faults hit single requests (or their
// replies) by command and number.
class CUdpFaultRelay
{
public:
    enum class Direction { ToCard, ToLink };
    enum class Action { Drop, Delay, Duplicate };

    struct Counts
    {
        int requests = 0;
        int replies = 0;
        int dropped = 0;
        int duplicated = 0;
        int corrupted = 0;
        int reordered = 0;
    };

    CUdpFaultRelay(int cardPort, std::uint32_t seed);
    ~CUdpFaultRelay();
    CUdpFaultRelay(const CUdpFaultRelay&) = delete;
    CUdpFaultRelay& operator=(const CUdpFaultRelay&) = delete;

    // 0 when the relay could not start.
    int Port() const { return m_port; }
    void SetFaults(Direction direction, const RelayFaults& faults);
    // The number-th request (from 1) of the command, or the reply to it: dropped, delayed
    // by delayMs, or passed with a copy delayMs later.
    void Script(Direction direction, int command, int number, Action action, int delayMs = 0);
    Counts GetCounts() const;
    // How many requests of the command came from the link.
    int Requests(int command) const;

private:
    struct Mapping
    {
        sockaddr_in link{};
        int socket = -1;
        int lastCommand = -1;
        int lastNumber = 0;
    };
    struct Outgoing
    {
        qint64 due = 0;
        long sequence = 0;
        int socket = -1;
        sockaddr_in to{};
        std::vector<std::uint8_t> bytes;
    };
    struct Scripted
    {
        Action action;
        int delayMs;
    };

    void Run();
    void Pass(Direction direction, int command, int number, int socket, const sockaddr_in& to,
              std::vector<std::uint8_t> bytes);
    void Schedule(int socket, const sockaddr_in& to, std::vector<std::uint8_t> bytes, qint64 delay);
    Mapping* MappingFor(const sockaddr_in& link);
    qint64 NowMs() const;

    int m_front = -1;
    int m_port = 0;
    sockaddr_in m_card{};
    std::map<std::uint16_t, Mapping> m_mappings; // by the link's port
    std::vector<Outgoing> m_outgoing;
    long m_sequence = 0;
    // A datagram held back per direction, until the next one passed.
    std::map<Direction, Outgoing> m_held;
    std::map<int, int> m_requestCounts;

    mutable std::mutex m_mutex;
    std::map<Direction, RelayFaults> m_faults;
    std::map<std::tuple<Direction, int, int>, Scripted> m_script;
    Counts m_counts;
    std::mt19937 m_random;

    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
