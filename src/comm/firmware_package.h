#pragma once

#include "comm/firmware_key.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The controller a package must fit: identify reply byte 0 (model code) and byte 1
// (model variant).
struct FirmwareTarget
{
    std::uint8_t model = 0;
    std::uint8_t variant = 0;

    static FirmwareTarget FromIdentity(const std::array<std::uint8_t, 5>& identity)
    {
        return {identity[0], identity[1]};
    }
};

// One piece of the image as it is streamed: its offset and its bytes.
struct FirmwareChunk
{
    std::uint32_t offset = 0;
    std::span<const std::uint8_t> bytes;
};

// A decrypted firmware image, read from a package file ("*.rzbin") of whole 8-byte blocks
// encrypted with two-key Triple DES (EDE, ECB) under the package key of a password.
//
// Image layout: bytes 0-3 receive the padded length before sending, bytes 49-63 the
// marker, byte 64 the model code, byte 65 the model variant; everything else is firmware
// content. The image is wiped when it is rejected and when the object releases it.
class CFirmwarePackage
{
public:
    static constexpr int kMarkerOffset = 49;
    static constexpr int kMarkerSize = 15;
    static constexpr int kModelOffset = 64;
    static constexpr int kVariantOffset = 65;
    // The smallest image that holds every field.
    static constexpr int kHeaderSize = 66;
    // Larger files are refused without being read.
    static constexpr qint64 kMaximumFileSize = 64 * 1024 * 1024;

    // String-table messages of loading.
    enum Message : int {
        MessageNone = 0,
        MessageOpenFailed = 41025,  // "Failed on open file!"
        MessageReadFailed = 41026,  // "Failed on read file!"
        MessageNoPassword = 41057,  // "Must input a password."
        MessageFileMissing = 41058, // "The file is not exists."
        MessageBadFile = 41059,     // "Bad file."
    };

    CFirmwarePackage() = default;
    ~CFirmwarePackage();
    CFirmwarePackage(CFirmwarePackage&& other) noexcept;
    CFirmwarePackage& operator=(CFirmwarePackage&& other) noexcept;
    CFirmwarePackage(const CFirmwarePackage&) = delete;
    CFirmwarePackage& operator=(const CFirmwarePackage&) = delete;

    // Steps 2 to 6 of an update: the file must exist, the password must not be empty, the
    // file is read whole, padded with zeros to whole blocks, decrypted in place, checked
    // (marker, model code, model variant) and given its padded length in bytes 0-3. On
    // failure returns false with one of the messages above in messageId (its text also
    // goes to the last-error text) and leaves out empty.
    [[nodiscard]] static bool Load(const QString& path, const QString& password,
                                   const std::array<std::uint8_t, 5>& identity,
                                   CFirmwarePackage& out, int& messageId);

    // The same with the target given directly; without one the model code and variant are
    // not checked.
    [[nodiscard]] static bool LoadFile(const QString& path, const QString& password,
                                       std::optional<FirmwareTarget> target, CFirmwarePackage& out,
                                       int& messageId);

    // The same for the bytes of a package already read. Without a target the model code
    // and variant are not checked.
    [[nodiscard]] static bool Open(const QByteArray& packageBytes, const QString& password,
                                   std::optional<FirmwareTarget> target, CFirmwarePackage& out,
                                   int& messageId);

    // Step 5 on a decrypted buffer: false when the marker differs or (with a target) the
    // model code or variant differs; a rejected buffer is overwritten with zeros.
    [[nodiscard]] static bool CheckImage(std::vector<std::uint8_t>& image,
                                         std::optional<FirmwareTarget> target);

    // The byte every image byte is XORed with for a firmware query reply x: (5 × x) mod 256.
    static std::uint8_t ScrambleMask(std::uint8_t queryReply)
    {
        return std::uint8_t(5u * queryReply);
    }

    bool IsEmpty() const { return m_image.empty(); }
    // The padded length, a multiple of 8.
    std::uint32_t Length() const { return std::uint32_t(m_image.size()); }
    const std::vector<std::uint8_t>& Image() const { return m_image; }
    std::uint8_t Model() const { return m_image.size() > kModelOffset ? m_image[kModelOffset] : 0; }
    std::uint8_t Variant() const
    {
        return m_image.size() > kVariantOffset ? m_image[kVariantOffset] : 0;
    }

    // XORs every byte of the image with ScrambleMask(queryReply).
    void Scramble(std::uint8_t queryReply);

    // The image cut into pieces of chunkSize bytes (the last one shorter); empty when
    // chunkSize is not positive. The pieces point into this object.
    std::vector<FirmwareChunk> Chunks(int chunkSize) const;

    // Wipes and releases the image.
    void Clear();

private:
    // Decrypts, checks and stamps a padded buffer and takes it over; wipes it on rejection.
    static bool Accept(std::vector<std::uint8_t>& buffer, const QString& password,
                       std::optional<FirmwareTarget> target, CFirmwarePackage& out, int& messageId);

    std::vector<std::uint8_t> m_image;
};

// Overwrites bytes with zeros in a way the compiler does not drop.
void WipeBytes(std::uint8_t* data, std::size_t size);
