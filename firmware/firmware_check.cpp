#include "firmware/firmware_check.h"

#include <cerrno>
#include <cstring>

#include "firmware/enc_file.h"
#include "firmware/regular_file.h"
#include "link/c_format.h"

namespace ravo {
namespace {

FirmwareFileCheck refused(FirmwareFileStatus status, std::string reason)
{
    FirmwareFileCheck check;
    check.status = status;
    check.reason = std::move(reason);
    return check;
}

// What the file is, before it is read: opening a pipe could block and
// reading a huge file would take long, so both are refused here.
FirmwareFileCheck checkFileKind(const std::string& path)
{
    if (path.empty())
        return refused(FirmwareFileStatus::NotFound, "no file was chosen");
    const RegularFileCheck file = CheckRegularFile(path, kFirmwareFileMaxBytes);
    if (file.missing)
        return refused(FirmwareFileStatus::NotFound, "the file does not exist");
    if (file.notAFile)
        return refused(FirmwareFileStatus::NotAFile, file.reason);
    if (file.tooLarge)
        return refused(FirmwareFileStatus::TooLarge,
                       formatC("the file is larger than 4 MiB (%llu bytes)", (unsigned long long)file.size));
    if (!file.ok)
        return refused(FirmwareFileStatus::Unreadable, "the file cannot be read (" + file.reason + ")");
    if (file.size == 0)
        return refused(FirmwareFileStatus::Empty, "the file is empty");
    return {};
}

}  // namespace

FirmwareFileCheck checkFirmwareImage(const std::vector<uint8_t>& image)
{
    int chunks = 0;
    bool payload = false;
    const size_t size = image.size();
    for (size_t offset = 0; size >= 2 && offset <= size - 2;) {
        const size_t length = (size_t(image[offset]) << 8) | image[offset + 1];
        ++chunks;
        if (chunks > kFirmwareMaxChunks)
            return refused(FirmwareFileStatus::TooManyChunks,
                           formatC("it has more than %d chunks", kFirmwareMaxChunks));
        if (offset + 2 + length > size)
            return refused(FirmwareFileStatus::ChunkCut,
                           formatC("chunk %d declares %u bytes, only %u remain", chunks, unsigned(length), unsigned(size - offset - 2)));
        payload = payload || length > 0;
        offset += 2 + length;
    }
    if (!payload)
        return refused(FirmwareFileStatus::NoChunks, "it holds no firmware chunk");
    FirmwareFileCheck check;
    check.chunks = chunks;
    return check;
}

FirmwareFileCheck loadFirmwareFile(const std::string& path, std::vector<uint8_t>& image)
{
    image.clear();
    FirmwareFileCheck check = checkFileKind(path);
    if (!check.ok())
        return check;
    CEncFile file;
    if (!file.Open(path, CEncFile::modeRead | CEncFile::shareDenyWrite))
        return refused(FirmwareFileStatus::Unreadable, std::string("the file cannot be read (") + std::strerror(errno) + ")");
    if (!file.Load() || file.readFailed)
        return refused(FirmwareFileStatus::Unreadable, "the file cannot be read");
    image.assign(file.image(), file.image() + file.imageLength());
    check = checkFirmwareImage(image);
    if (!check.ok())
        image.clear();
    return check;
}

FirmwareFileCheck checkFirmwareFile(const std::string& path)
{
    std::vector<uint8_t> image;
    return loadFirmwareFile(path, image);
}

std::string firmwareFileLine(const std::string& shownName, const FirmwareFileCheck& check)
{
    if (check.status == FirmwareFileStatus::NotFound)
        return formatC("File [%s] not found", shownName.c_str());
    return formatC("Firmware file [%s] refused: %s", shownName.c_str(), check.reason.c_str());
}

}  // namespace ravo
