#include "comm/search_settings.h"

#include "platform/serial_devices.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {

bool IsIpv4(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || part.isEmpty() || part.size() > 3 || value < 0 || value > 255)
            return false;
    }
    return true;
}

} // namespace

SearchSettings SearchSettings::Load(const QString& path)
{
    SearchSettings settings;
    const QSettings file(path, QSettings::IniFormat);
    const QString factory = file.value(QStringLiteral("Search/factory")).toString().trimmed();
    if (IsIpv4(factory))
        settings.factoryAddress = factory;
    const QString broadcast = file.value(QStringLiteral("Search/broadcast")).toString().trimmed();
    if (IsIpv4(broadcast))
        settings.broadcastAddress = broadcast;
    const QVariant ports = file.value(QStringLiteral("Search/ports"));
    if (ports.isValid()) {
        // QSettings splits a comma list into a string list.
        const QStringList words = ports.toStringList().join(u',').split(u',', Qt::SkipEmptyParts);
        std::vector<int> numbers;
        for (QString word : words) {
            word = word.trimmed();
            if (word.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive))
                word = word.mid(3);
            bool ok = false;
            const int number = word.toInt(&ok);
            if (ok && number > 0 &&
                std::find(numbers.begin(), numbers.end(), number) == numbers.end())
                numbers.push_back(number);
        }
        settings.ports = numbers;
    }
    return settings;
}

std::vector<int> SearchSettings::PortsToProbe() const
{
    if (!ports)
        return EnumerateSerialPorts();
    // Only listed ports whose device exists, in the listed order; nothing else is opened.
    std::vector<int> result;
    for (int number : *ports) {
        if (QFileInfo::exists(SerialDevicePath(number)))
            result.push_back(number);
    }
    return result;
}
