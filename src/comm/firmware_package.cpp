#include "comm/firmware_package.h"

#include "base/bounded_file.h"
#include "base/last_error.h"
#include "base/string_table.h"
#include "comm/des_triple.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

void WipeBytes(std::uint8_t* data, std::size_t size)
{
    volatile std::uint8_t* bytes = data;
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = 0;
}

namespace {

void Wipe(std::vector<std::uint8_t>& buffer)
{
    WipeBytes(buffer.data(), buffer.size());
}

bool Fail(int message, int& messageId)
{
    messageId = message;
    RecordError(LoadString(message));
    return false;
}

std::size_t PaddedSize(std::size_t size)
{
    return (size + 7) / 8 * 8;
}

} // namespace

CFirmwarePackage::~CFirmwarePackage()
{
    Clear();
}

CFirmwarePackage::CFirmwarePackage(CFirmwarePackage&& other) noexcept
    : m_image(std::move(other.m_image))
{
    other.m_image.clear();
}

CFirmwarePackage& CFirmwarePackage::operator=(CFirmwarePackage&& other) noexcept
{
    if (this != &other) {
        Clear();
        m_image = std::move(other.m_image);
        other.m_image.clear();
    }
    return *this;
}

void CFirmwarePackage::Clear()
{
    Wipe(m_image);
    m_image.clear();
    m_image.shrink_to_fit();
}

bool CFirmwarePackage::Load(const QString& path, const QString& password,
                            const std::array<std::uint8_t, 5>& identity, CFirmwarePackage& out,
                            int& messageId)
{
    return LoadFile(path, password, FirmwareTarget::FromIdentity(identity), out, messageId);
}

bool CFirmwarePackage::LoadFile(const QString& path, const QString& password,
                                std::optional<FirmwareTarget> target, CFirmwarePackage& out,
                                int& messageId)
{
    out.Clear();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return Fail(MessageFileMissing, messageId);
    if (password.isEmpty())
        return Fail(MessageNoPassword, messageId);
    // A larger file is refused without being read.
    if (info.isFile() && info.size() > kMaximumFileSize)
        return Fail(MessageBadFile, messageId);
    // Folders and devices are refused at once; a pipe is read up to the same size.
    QByteArray bytes;
    QString reason;
    if (!ReadFileBounded(path, kMaximumFileSize, &bytes, &reason)) {
        messageId = MessageOpenFailed;
        RecordError(LoadString(MessageOpenFailed) + u' ' + reason);
        return false;
    }
    if (bytes.size() < kHeaderSize)
        return Fail(MessageBadFile, messageId);
    std::vector<std::uint8_t> buffer(PaddedSize(std::size_t(bytes.size())), 0);
    std::memcpy(buffer.data(), bytes.constData(), std::size_t(bytes.size()));
    return Accept(buffer, password, target, out, messageId);
}

bool CFirmwarePackage::Open(const QByteArray& packageBytes, const QString& password,
                            std::optional<FirmwareTarget> target, CFirmwarePackage& out,
                            int& messageId)
{
    out.Clear();
    if (password.isEmpty())
        return Fail(MessageNoPassword, messageId);
    if (packageBytes.size() < kHeaderSize || packageBytes.size() > kMaximumFileSize)
        return Fail(MessageBadFile, messageId);
    std::vector<std::uint8_t> buffer(PaddedSize(std::size_t(packageBytes.size())), 0);
    std::memcpy(buffer.data(), packageBytes.constData(), std::size_t(packageBytes.size()));
    return Accept(buffer, password, target, out, messageId);
}

bool CFirmwarePackage::Accept(std::vector<std::uint8_t>& buffer, const QString& password,
                              std::optional<FirmwareTarget> target, CFirmwarePackage& out,
                              int& messageId)
{
    const CTripleDes cipher(FirmwarePackageKey(password));
    if (buffer.size() < std::size_t(kHeaderSize) ||
        !cipher.DecryptEcb(buffer.data(), buffer.size()) || !CheckImage(buffer, target)) {
        Wipe(buffer);
        return Fail(MessageBadFile, messageId);
    }
    const std::uint32_t length = std::uint32_t(buffer.size());
    for (int i = 0; i < 4; ++i)
        buffer[std::size_t(i)] = std::uint8_t(length >> (8 * i));
    // Moving hands the storage over without leaving a copy of the plain image behind.
    out.m_image = std::move(buffer);
    buffer.clear();
    messageId = MessageNone;
    return true;
}

bool CFirmwarePackage::CheckImage(std::vector<std::uint8_t>& image,
                                  std::optional<FirmwareTarget> target)
{
    bool fits = image.size() >= std::size_t(kHeaderSize);
    if (fits) {
        const auto marker = FirmwareMarker();
        fits = std::equal(marker.begin(), marker.end(), image.begin() + kMarkerOffset);
    }
    if (fits && target)
        fits = image[kModelOffset] == target->model && image[kVariantOffset] == target->variant;
    if (!fits)
        Wipe(image);
    return fits;
}

void CFirmwarePackage::Scramble(std::uint8_t queryReply)
{
    const std::uint8_t mask = ScrambleMask(queryReply);
    for (std::uint8_t& byte : m_image)
        byte ^= mask;
}

std::vector<FirmwareChunk> CFirmwarePackage::Chunks(int chunkSize) const
{
    std::vector<FirmwareChunk> chunks;
    if (chunkSize <= 0)
        return chunks;
    const std::size_t step = std::size_t(chunkSize);
    chunks.reserve((m_image.size() + step - 1) / step);
    for (std::size_t offset = 0; offset < m_image.size(); offset += step) {
        const std::size_t size = std::min(step, m_image.size() - offset);
        chunks.push_back({std::uint32_t(offset), {m_image.data() + offset, size}});
    }
    return chunks;
}
