#include "sim/sim_fault_relay.h"

#include "comm/comm_packet.h"

#include <algorithm>
#include <chrono>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A datagram held back for reordering goes on after this long at the latest.
constexpr qint64 kLongestHoldMs = 50;
// A port towards the card that carried nothing for this long is closed.
constexpr qint64 kIdleMappingMs = 3000;

int BindLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    port = ntohs(local.sin_port);
    return fd;
}

} // namespace

CUdpFaultRelay::CUdpFaultRelay(int cardPort, std::uint32_t seed) : m_random(seed)
{
    m_card.sin_family = AF_INET;
    m_card.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    m_card.sin_port = htons(static_cast<std::uint16_t>(cardPort));
    m_front = BindLoopback(m_port);
    if (m_front < 0) {
        m_port = 0;
        return;
    }
    m_thread = std::thread([this] { Run(); });
}

CUdpFaultRelay::~CUdpFaultRelay()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    for (auto& [port, mapping] : m_mappings)
        ::close(mapping.socket);
    if (m_front >= 0)
        ::close(m_front);
}

void CUdpFaultRelay::SetFaults(Direction direction, const RelayFaults& faults)
{
    std::lock_guard lock(m_mutex);
    m_faults[direction] = faults;
}

void CUdpFaultRelay::Script(Direction direction, int command, int number, Action action,
                            int delayMs)
{
    std::lock_guard lock(m_mutex);
    m_script[{direction, command, number}] = {action, delayMs};
}

CUdpFaultRelay::Counts CUdpFaultRelay::GetCounts() const
{
    std::lock_guard lock(m_mutex);
    return m_counts;
}

int CUdpFaultRelay::Requests(int command) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_requestCounts.find(command);
    return found == m_requestCounts.end() ? 0 : found->second;
}

qint64 CUdpFaultRelay::NowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

CUdpFaultRelay::Mapping* CUdpFaultRelay::MappingFor(const sockaddr_in& link)
{
    auto found = m_mappings.find(link.sin_port);
    if (found != m_mappings.end())
        return &found->second;
    Mapping mapping;
    mapping.link = link;
    int port = 0;
    mapping.socket = BindLoopback(port);
    if (mapping.socket < 0)
        return nullptr;
    return &m_mappings.emplace(link.sin_port, mapping).first->second;
}

void CUdpFaultRelay::Schedule(int socket, const sockaddr_in& to, std::vector<std::uint8_t> bytes,
                              qint64 delay)
{
    Outgoing out;
    out.due = NowMs() + delay;
    out.sequence = m_sequence++;
    out.socket = socket;
    out.to = to;
    out.bytes = std::move(bytes);
    m_outgoing.push_back(std::move(out));
}

void CUdpFaultRelay::Pass(Direction direction, int command, int number, int socket,
                          const sockaddr_in& to, std::vector<std::uint8_t> bytes)
{
    std::lock_guard lock(m_mutex);
    if (const auto scripted = m_script.find({direction, command, number});
        scripted != m_script.end()) {
        switch (scripted->second.action) {
        case Action::Drop:
            ++m_counts.dropped;
            return;
        case Action::Delay:
            Schedule(socket, to, std::move(bytes), scripted->second.delayMs);
            return;
        case Action::Duplicate:
            ++m_counts.duplicated;
            Schedule(socket, to, bytes, 0);
            Schedule(socket, to, std::move(bytes), scripted->second.delayMs);
            return;
        }
    }
    const RelayFaults& faults = m_faults[direction];
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    auto delay = [&] {
        return faults.delayMs > 0 ? std::uniform_int_distribution<int>(0, faults.delayMs)(m_random)
                                  : 0;
    };
    // Every draw is made for every datagram, so that one fault does not shift the others.
    const bool drop = chance(m_random) < faults.drop;
    const bool corrupt = chance(m_random) < faults.corrupt;
    const bool duplicate = chance(m_random) < faults.duplicate;
    const bool reorder = chance(m_random) < faults.reorder;
    const int firstDelay = delay();
    const int copyDelay = delay();
    const std::size_t bit = std::uniform_int_distribution<std::size_t>(
        0, std::max<std::size_t>(bytes.size() * 8, 1) - 1)(m_random);
    if (drop) {
        ++m_counts.dropped;
        return;
    }
    if (corrupt && !bytes.empty()) {
        bytes[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        ++m_counts.corrupted;
    }
    if (duplicate) {
        ++m_counts.duplicated;
        Schedule(socket, to, bytes, copyDelay);
    }
    if (reorder) {
        ++m_counts.reordered;
        if (auto held = m_held.find(direction); held != m_held.end()) {
            m_outgoing.push_back(std::move(held->second));
            m_held.erase(held);
        }
        Outgoing out;
        out.due = NowMs() + firstDelay;
        out.socket = socket;
        out.to = to;
        out.bytes = std::move(bytes);
        m_held[direction] = std::move(out);
        return;
    }
    Schedule(socket, to, std::move(bytes), firstDelay);
    if (auto held = m_held.find(direction); held != m_held.end()) {
        // The held one goes after this one.
        Outgoing late = std::move(held->second);
        m_held.erase(held);
        late.due = std::max(late.due, m_outgoing.back().due);
        late.sequence = m_sequence++;
        m_outgoing.push_back(std::move(late));
    }
}

void CUdpFaultRelay::Run()
{
    std::vector<std::uint8_t> buffer(65536);
    std::vector<pollfd> fds;
    std::map<std::uint16_t, qint64> lastUsed;
    while (!m_stop) {
        fds.clear();
        fds.push_back({m_front, POLLIN, 0});
        for (const auto& [port, mapping] : m_mappings)
            fds.push_back({mapping.socket, POLLIN, 0});
        int wait = 5;
        {
            std::lock_guard lock(m_mutex);
            const qint64 now = NowMs();
            for (const Outgoing& out : m_outgoing)
                wait = static_cast<int>(std::clamp<qint64>(out.due - now, 0, wait));
        }
        ::poll(fds.data(), static_cast<nfds_t>(fds.size()), wait);
        const qint64 now = NowMs();

        for (const pollfd& entry : fds) {
            if (!(entry.revents & POLLIN))
                continue;
            sockaddr_in sender{};
            socklen_t length = sizeof sender;
            const ssize_t got = ::recvfrom(entry.fd, buffer.data(), buffer.size(), 0,
                                           reinterpret_cast<sockaddr*>(&sender), &length);
            if (got < 0)
                continue;
            std::vector<std::uint8_t> bytes(buffer.begin(), buffer.begin() + got);
            if (entry.fd == m_front) {
                // Only this machine's links.
                if ((ntohl(sender.sin_addr.s_addr) >> 24) != 127)
                    continue;
                Mapping* mapping = MappingFor(sender);
                if (!mapping)
                    continue;
                ParsedRequest request;
                const int command = ParseRequest(bytes.data(), static_cast<int>(bytes.size()),
                                                 request) == RequestCheck::Ok
                                        ? request.command
                                        : -1;
                int number = 0;
                {
                    std::lock_guard lock(m_mutex);
                    number = ++m_requestCounts[command];
                    ++m_counts.requests;
                }
                mapping->lastCommand = command;
                mapping->lastNumber = number;
                lastUsed[sender.sin_port] = now;
                Pass(Direction::ToCard, command, number, mapping->socket, m_card, std::move(bytes));
                continue;
            }
            if (sender.sin_port != m_card.sin_port)
                continue;
            for (auto& [port, mapping] : m_mappings) {
                if (mapping.socket != entry.fd)
                    continue;
                {
                    std::lock_guard lock(m_mutex);
                    ++m_counts.replies;
                }
                lastUsed[port] = now;
                Pass(Direction::ToLink, mapping.lastCommand, mapping.lastNumber, m_front,
                     mapping.link, std::move(bytes));
                break;
            }
        }

        std::vector<Outgoing> due;
        {
            std::lock_guard lock(m_mutex);
            for (auto held = m_held.begin(); held != m_held.end();) {
                if (now - held->second.due >= kLongestHoldMs) {
                    held->second.sequence = m_sequence++;
                    m_outgoing.push_back(std::move(held->second));
                    held = m_held.erase(held);
                } else {
                    ++held;
                }
            }
            auto split = std::partition(m_outgoing.begin(), m_outgoing.end(),
                                        [now](const Outgoing& out) { return out.due > now; });
            due.assign(std::make_move_iterator(split), std::make_move_iterator(m_outgoing.end()));
            m_outgoing.erase(split, m_outgoing.end());
        }
        std::sort(due.begin(), due.end(), [](const Outgoing& a, const Outgoing& b) {
            return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
        });
        for (const Outgoing& out : due)
            ::sendto(out.socket, out.bytes.data(), out.bytes.size(), 0,
                     reinterpret_cast<const sockaddr*>(&out.to), sizeof out.to);

        for (auto mapping = m_mappings.begin(); mapping != m_mappings.end();) {
            const auto used = lastUsed.find(mapping->first);
            if (used != lastUsed.end() && now - used->second > kIdleMappingMs) {
                ::close(mapping->second.socket);
                lastUsed.erase(used);
                mapping = m_mappings.erase(mapping);
            } else {
                ++mapping;
            }
        }
    }
}
