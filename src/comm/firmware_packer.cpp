#include "comm/firmware_packer.h"

#include "comm/des_triple.h"

#include <algorithm>
#include <vector>

bool BuildFirmwarePackage(const QByteArray& image, FirmwareTarget target, const QString& password,
                          QByteArray& package, QString& error)
{
    package.clear();
    if (image.isEmpty()) {
        error = QStringLiteral("the firmware image is empty");
        return false;
    }
    if (image.size() > CFirmwarePackage::kMaximumFileSize - 8) {
        error = QStringLiteral("the firmware image is larger than %1 bytes")
                    .arg(CFirmwarePackage::kMaximumFileSize - 8);
        return false;
    }
    if (password.isEmpty() || password.size() > kFirmwarePasswordLength) {
        error = QStringLiteral("the password must have 1 to %1 characters")
                    .arg(kFirmwarePasswordLength);
        return false;
    }
    if (!IsFirmwarePasswordEncodable(password)) {
        error = QStringLiteral("the password may only hold Latin-1 characters");
        return false;
    }

    const std::size_t size =
        (std::max<std::size_t>(std::size_t(image.size()), CFirmwarePackage::kHeaderSize) + 7) / 8 *
        8;
    std::vector<std::uint8_t> buffer(size, 0);
    std::copy(image.begin(), image.end(), reinterpret_cast<char*>(buffer.data()));
    const auto marker = FirmwareMarker();
    std::copy(marker.begin(), marker.end(), buffer.begin() + CFirmwarePackage::kMarkerOffset);
    buffer[CFirmwarePackage::kModelOffset] = target.model;
    buffer[CFirmwarePackage::kVariantOffset] = target.variant;

    const CTripleDes cipher(FirmwarePackageKey(password));
    if (!cipher.EncryptEcb(buffer.data(), buffer.size())) {
        WipeBytes(buffer.data(), buffer.size());
        error = QStringLiteral("internal error: the image is not whole blocks");
        return false;
    }
    package = QByteArray(reinterpret_cast<const char*>(buffer.data()), qsizetype(buffer.size()));
    return true;
}
