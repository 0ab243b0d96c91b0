// Feeds arbitrary bytes to the firmware package loader. When the first byte is odd, the
// rest is taken as a plain image and encrypted with the package key first, so that the
// fuzzer also reaches the checks behind the decryption.
#include "comm/des_triple.h"
#include "comm/firmware_package.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_firmware_package";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    if (size == 0)
        return 0;
    const QString password = QStringLiteral("fuzz");
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    if (data[0] & 1) {
        std::vector<std::uint8_t> plain(bytes.begin(), bytes.end());
        plain.resize((plain.size() + 7) / 8 * 8, 0);
        if (CTripleDes(FirmwarePackageKey(password)).EncryptEcb(plain.data(), plain.size()))
            bytes = QByteArray(reinterpret_cast<const char*>(plain.data()),
                               static_cast<qsizetype>(plain.size()));
    }
    const std::optional<FirmwareTarget> target =
        (data[0] & 2) ? std::optional<FirmwareTarget>(FirmwareTarget{data[0], 0}) : std::nullopt;
    CFirmwarePackage package;
    int message = 0;
    if (CFirmwarePackage::Open(bytes, password, target, package, message)) {
        package.Scramble(data[0]);
        for (const FirmwareChunk& chunk : package.Chunks(1 + data[0] % 300))
            (void)chunk;
    }
    return 0;
}
