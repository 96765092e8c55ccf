#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace ravo {

// A firmware file (".enc", hexadecimal text) read into a firmware image in
// memory. A read-only file object on standard file I/O.
class CEncFile {
public:
    // Open flags; on this platform the sharing flag is advisory only.
    enum OpenFlags : unsigned { modeRead = 0x0000, shareDenyWrite = 0x0020 };

    CEncFile() = default;
    virtual ~CEncFile();
    CEncFile(const CEncFile&) = delete;
    CEncFile& operator=(const CEncFile&) = delete;

    // Discards any image, then opens `path` for reading. Kept in openResult.
    virtual bool Open(const std::string& path, unsigned flags = modeRead | shareDenyWrite);
    virtual void Close();
    bool isOpen() const { return file_ != nullptr; }

    // Reads the whole open file and decodes it into the image. False when no
    // file is open; an empty or unreadable file leaves an empty image (true).
    bool Load();
    // Sets chunkCount; false when there is no image or it is empty.
    bool CountChunks();

    const uint8_t* image() const { return image_.empty() ? nullptr : image_.data(); }
    size_t imageLength() const { return image_.size(); }

    bool openResult = false;
    int chunkCount = 0;
    // The last Load met a read error (its image is then empty).
    bool readFailed = false;

private:
    std::FILE* file_ = nullptr;
    std::vector<uint8_t> image_;
};

}  // namespace ravo
