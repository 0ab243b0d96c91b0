#include "platform/serial_devices.h"

#include "base/app_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include <algorithm>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

struct Bindings
{
    std::mutex mutex;
    bool loaded = false;
    std::map<int, QString> fromFile;
    std::map<int, QString> runtime;
};

Bindings& TheBindings()
{
    static Bindings bindings;
    return bindings;
}

void LoadFromFile(Bindings& b)
{
    b.fromFile.clear();
    QSettings file(SettingsFilePath(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Serial"));
    static const QRegularExpression kKey(QStringLiteral("^COM(\\d+)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& key : file.childKeys()) {
        const auto match = kKey.match(key);
        const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
        const QString path = file.value(key).toString().trimmed();
        if (number > 0 && !path.isEmpty())
            b.fromFile[number] = path;
    }
    b.loaded = true;
}

std::map<int, QString> AllBindings()
{
    Bindings& b = TheBindings();
    std::lock_guard lock(b.mutex);
    if (!b.loaded)
        LoadFromFile(b);
    std::map<int, QString> all = b.fromFile;
    for (const auto& [number, path] : b.runtime)
        all[number] = path;
    return all;
}

int DeviceIndex(const QString& name, const QString& prefix)
{
    bool ok = false;
    const int index = name.mid(prefix.size()).toInt(&ok);
    return ok ? index : -1;
}

// Number of fixed ports: one more than the highest ttySn node.
int FixedPortCount()
{
    const QStringList names = QDir(QStringLiteral("/dev"))
                                  .entryList({QStringLiteral("ttyS*")}, QDir::System | QDir::Files);
    int count = 0;
    for (const QString& name : names)
        count = std::max(count, DeviceIndex(name, QStringLiteral("ttyS")) + 1);
    return count;
}

// Adapters (ttyUSB*, then ttyACM*), each group in numeric order.
QStringList AdapterDevices()
{
    QStringList devices;
    for (const QString& prefix : {QStringLiteral("ttyUSB"), QStringLiteral("ttyACM")}) {
        QStringList names =
            QDir(QStringLiteral("/dev")).entryList({prefix + u'*'}, QDir::System | QDir::Files);
        std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
            return DeviceIndex(a, prefix) < DeviceIndex(b, prefix);
        });
        for (const QString& name : names) {
            if (DeviceIndex(name, prefix) >= 0)
                devices.append(QStringLiteral("/dev/") + name);
        }
    }
    return devices;
}

// A fixed port counts as present when the driver reports a real UART behind it.
bool FixedPortPresent(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    serial_struct info{};
    const bool present = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return present;
}

} // namespace

QString SerialDevicePath(int number)
{
    if (number < 1)
        return {};
    const auto bindings = AllBindings();
    if (const auto it = bindings.find(number); it != bindings.end())
        return it->second;
    const int fixed = FixedPortCount();
    if (number <= fixed || (fixed == 0 && AdapterDevices().isEmpty()))
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    const QStringList adapters = AdapterDevices();
    const int index = number - fixed - 1;
    if (index < adapters.size())
        return adapters[index];
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
}

std::vector<int> EnumerateSerialPorts()
{
    std::vector<int> numbers;
    const auto bindings = AllBindings();
    for (const auto& [number, path] : bindings) {
        if (QFileInfo::exists(path))
            numbers.push_back(number);
    }
    const int fixed = FixedPortCount();
    auto add = [&](int number) {
        if (std::find(numbers.begin(), numbers.end(), number) == numbers.end())
            numbers.push_back(number);
    };
    for (int i = 0; i < fixed; ++i) {
        if (!bindings.count(i + 1) && FixedPortPresent(QStringLiteral("/dev/ttyS%1").arg(i)))
            add(i + 1);
    }
    const QStringList adapters = AdapterDevices();
    for (int i = 0; i < adapters.size(); ++i) {
        if (!bindings.count(fixed + 1 + i))
            add(fixed + 1 + i);
    }
    return numbers;
}

int SerialPortNumberOf(const QString& devicePath)
{
    const QString canonical = QFileInfo(devicePath).absoluteFilePath();
    for (const auto& [number, path] : AllBindings()) {
        if (QFileInfo(path).absoluteFilePath() == canonical)
            return number;
    }
    const int fixed = FixedPortCount();
    const QString name = QFileInfo(canonical).fileName();
    if (canonical.startsWith(QStringLiteral("/dev/ttyS"))) {
        const int index = DeviceIndex(name, QStringLiteral("ttyS"));
        if (index >= 0)
            return index + 1;
    }
    const int adapter = AdapterDevices().indexOf(canonical);
    return adapter >= 0 ? fixed + 1 + adapter : 0;
}

void BindSerialDevice(int number, const QString& devicePath)
{
    Bindings& b = TheBindings();
    std::lock_guard lock(b.mutex);
    if (devicePath.isEmpty())
        b.runtime.erase(number);
    else
        b.runtime[number] = devicePath;
}

int BindSerialDeviceAnywhere(const QString& devicePath)
{
    if (const int known = SerialPortNumberOf(devicePath))
        return known;
    const auto bindings = AllBindings();
    int number = std::max(FixedPortCount() + static_cast<int>(AdapterDevices().size()), 0) + 1;
    if (!bindings.empty())
        number = std::max(number, bindings.rbegin()->first + 1);
    BindSerialDevice(number, devicePath);
    return number;
}

void ReloadSerialBindings()
{
    Bindings& b = TheBindings();
    std::lock_guard lock(b.mutex);
    LoadFromFile(b);
}
