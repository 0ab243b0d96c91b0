#pragma once

#include <QString>

#include <vector>

// Removable drives for the USB disk export: mounted file systems on a removable block
// device (a card reader or a USB disk) whose size and volume information can be read.
struct RemovableDrive
{
    QString rootPath; // where the file system is mounted
    QString label;    // volume label, may be empty
    qint64 totalBytes = 0;
    QString fileSystem; // "vfat", "exfat", ...
    QString device;     // "/dev/sdb1"
};

// One mounted file system as the system reports it.
struct MountedVolume
{
    QString rootPath;
    QString device;
    QString label;
    QString fileSystem;
    qint64 totalBytes = 0;
    bool ready = false; // size and volume information could be read
};

// The removable drives, in mount order.
std::vector<RemovableDrive> ListRemovableDrives();

// The drives among the volumes whose block device is removable according to the kernel's
// device tree under sysfsRoot ("/sys" on a running system).
std::vector<RemovableDrive> FilterRemovableDrives(const std::vector<MountedVolume>& volumes,
                                                  const QString& sysfsRoot);
bool IsRemovableBlockDevice(const QString& device, const QString& sysfsRoot);

// The line the export dialog shows: "%s %s - [%dMB %s]" with the root path, the label,
// the size in megabytes (bytes shifted right by 20) and the file system.
QString DriveLine(const RemovableDrive& drive);
