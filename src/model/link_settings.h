#pragma once

#include <QString>

#include <cstdint>

// How a screen reaches its controller.
enum class LinkKind : int { Serial = 0, Network = 1 };

struct LinkSettings
{
    static constexpr int kRemoteIpCapacity = 31;

    std::int32_t panelId = 1;
    std::int32_t linkKind = 0; // 1 network, anything else serial
    std::int32_t comPort = 0;  // 0: not configured
    std::int32_t baudRate = 57600;
    std::uint16_t remotePort = 5959; // host byte order
    QString remoteIp;
    std::int32_t timeoutMs = 1000;

    LinkKind Kind() const { return linkKind == 1 ? LinkKind::Network : LinkKind::Serial; }
};
