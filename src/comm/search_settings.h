#pragma once

#include <QString>

#include <optional>
#include <vector>

// Where the controller search looks besides the serial ports, from the settings file
// section [Search]:
//   factory=192.168.1.252      the address a new controller answers at
//   broadcast=255.255.255.255  the address of the last network step
//   ports=7,8                  the serial port numbers to probe (default: every port found)
struct SearchSettings
{
    static constexpr const char* kFactoryAddress = "192.168.1.252";
    static constexpr const char* kBroadcastAddress = "255.255.255.255";

    QString factoryAddress = QString::fromLatin1(kFactoryAddress);
    QString broadcastAddress = QString::fromLatin1(kBroadcastAddress);
    // When set, only these port numbers (those that exist) are probed.
    std::optional<std::vector<int>> ports;

    // Reads the section; missing or malformed keys keep the defaults.
    static SearchSettings Load(const QString& path);
    // The serial port numbers the search probes, in order.
    std::vector<int> PortsToProbe() const;
};
