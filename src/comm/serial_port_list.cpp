#include "comm/serial_port_list.h"

#include "platform/serial_devices.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

// A device named through a link (/dev/serial/by-id/...) and the system's own name of it
// are the same port.
QString CanonicalDevice(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

QString SerialPortEntry::Label() const
{
    QString label = QStringLiteral("COM%1  %2").arg(number).arg(device);
    QString about = description;
    if (!manufacturer.isEmpty() && !about.contains(manufacturer))
        about += about.isEmpty() ? manufacturer : QStringLiteral(" (%1)").arg(manufacturer);
    if (!serialNumber.isEmpty())
        about += (about.isEmpty() ? QString() : QStringLiteral(", ")) +
                 QStringLiteral("serial %1").arg(serialNumber);
    if (!about.isEmpty())
        label += QStringLiteral("  ") + about;
    return label;
}

std::vector<SerialPortEntry> ListSerialPorts()
{
    const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
    std::vector<SerialPortEntry> ports;
    for (int number : EnumerateSerialPorts()) {
        SerialPortEntry entry;
        entry.number = number;
        entry.device = SerialDevicePath(number);
        const QString canonical = CanonicalDevice(entry.device);
        for (const QSerialPortInfo& info : known) {
            if (CanonicalDevice(info.systemLocation()) != canonical)
                continue;
            entry.description = info.description();
            entry.manufacturer = info.manufacturer();
            entry.serialNumber = info.serialNumber();
            break;
        }
        ports.push_back(entry);
    }
    return ports;
}
