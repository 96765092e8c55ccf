#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ravo {

// Why a firmware file cannot be sent to the unit.
enum class FirmwareFileStatus {
    Ok,
    NotFound,       // no such file, or no path at all
    NotAFile,       // a folder, a device, a pipe
    Unreadable,
    Empty,
    TooLarge,       // more than kFirmwareFileMaxBytes
    NoChunks,       // no chunk carries any firmware byte
    ChunkCut,       // a chunk declares more bytes than remain
    TooManyChunks,  // more than kFirmwareMaxChunks
};

inline constexpr size_t kFirmwareFileMaxBytes = size_t(4) << 20;
inline constexpr int kFirmwareMaxChunks = 4096;

struct FirmwareFileCheck {
    FirmwareFileStatus status = FirmwareFileStatus::Ok;
    std::string reason;  // for the user, empty when Ok: "the file is empty"
    int chunks = 0;      // chunk headers in the image, when it was decoded

    bool ok() const { return status == FirmwareFileStatus::Ok; }
};

// Reads and decodes the ".enc" file at `path` into `image` and checks that it
// can be sent as it stands: a regular, readable, non-empty file of at most
// 4 MiB whose image holds 1 to 4096 chunks, at least one with payload, and no
// chunk running past the image's end. On any refusal `image` is left empty.
// Nothing is sent anywhere; the whole check happens before the unit is asked
// for anything.
FirmwareFileCheck loadFirmwareFile(const std::string& path, std::vector<uint8_t>& image);

// The same check, for callers that only decide whether to ask for a download
// (the unit view, ravo-cli firmware flash).
FirmwareFileCheck checkFirmwareFile(const std::string& path);

// The check of a decoded image alone (the built-in image has no file).
FirmwareFileCheck checkFirmwareImage(const std::vector<uint8_t>& image);

// The status line for a refused file, naming it as `shownName`:
// "File [%s] not found" for a missing file, else
// "Firmware file [%s] refused: %s" with the reason.
std::string firmwareFileLine(const std::string& shownName, const FirmwareFileCheck& check);

}  // namespace ravo
