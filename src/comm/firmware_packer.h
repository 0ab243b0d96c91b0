#pragma once

#include "comm/firmware_package.h"

#include <QByteArray>
#include <QString>

// Builds a firmware package from a firmware image: bytes 49-63 of the image receive the
// marker, byte 64 the model code and byte 65 the model variant (an image shorter than 66
// bytes is first completed with zeros), the image is completed with zeros to whole 8-byte
// blocks and encrypted with the package key of the password. False with a text in error
// when the image is empty or too large or the password is empty, longer than 31
// characters or not 8-bit text.
[[nodiscard]] bool BuildFirmwarePackage(const QByteArray& image, FirmwareTarget target,
                                        const QString& password, QByteArray& package,
                                        QString& error);
