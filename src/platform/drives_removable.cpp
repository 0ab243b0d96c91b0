#include "platform/drives_removable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

QString ReadFirstLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readLine()).trimmed();
}

} // namespace

bool IsRemovableBlockDevice(const QString& device, const QString& sysfsRoot)
{
    if (!device.startsWith(QStringLiteral("/dev/")))
        return false;
    const QString name = QFileInfo(device).fileName();
    if (name.isEmpty())
        return false;
    // /sys/class/block/NAME leads into the device tree; a partition lies inside its disk.
    const QString node =
        QFileInfo(sysfsRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (node.isEmpty())
        return false;
    QString disk = node;
    if (QFileInfo::exists(node + QStringLiteral("/partition")))
        disk = QFileInfo(node).absolutePath();
    if (ReadFirstLine(disk + QStringLiteral("/removable")) == QStringLiteral("1"))
        return true;
    // USB disks often call themselves fixed; their place in the device tree tells.
    return disk.contains(QStringLiteral("/usb"));
}

std::vector<RemovableDrive> FilterRemovableDrives(const std::vector<MountedVolume>& volumes,
                                                  const QString& sysfsRoot)
{
    std::vector<RemovableDrive> drives;
    for (const MountedVolume& volume : volumes) {
        if (!volume.ready || volume.totalBytes <= 0)
            continue;
        if (!IsRemovableBlockDevice(volume.device, sysfsRoot))
            continue;
        drives.push_back(RemovableDrive{volume.rootPath, volume.label, volume.totalBytes,
                                        volume.fileSystem, volume.device});
    }
    return drives;
}

std::vector<RemovableDrive> ListRemovableDrives()
{
    std::vector<MountedVolume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        MountedVolume volume;
        volume.rootPath = storage.rootPath();
        volume.device = QString::fromLocal8Bit(storage.device());
        volume.label = storage.name();
        volume.fileSystem = QString::fromLatin1(storage.fileSystemType());
        volume.totalBytes = storage.bytesTotal();
        volume.ready = storage.isValid() && storage.isReady() && storage.bytesFree() >= 0;
        volumes.push_back(volume);
    }
    return FilterRemovableDrives(volumes, QStringLiteral("/sys"));
}

QString DriveLine(const RemovableDrive& drive)
{
    return QStringLiteral("%1 %2 - [%3MB %4]")
        .arg(drive.rootPath, drive.label)
        .arg(drive.totalBytes >> 20)
        .arg(drive.fileSystem);
}
