#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravo {

// A read-only file over a block of bytes in memory: either a block built into
// the program (LoadFromResource) or the caller's buffer (Attach).
class CResourceFile {
public:
    CResourceFile() = default;
    virtual ~CResourceFile();
    CResourceFile(const CResourceFile&) = delete;
    CResourceFile& operator=(const CResourceFile&) = delete;

    // Frees the buffer unless attached; clears buffer, size, position, loaded.
    virtual void Close();
    // When loaded: hands the buffer to the caller (who then owns it, delete[])
    // and marks it attached. Otherwise null.
    virtual uint8_t* Detach();
    // When loaded: a new copy with two zero bytes appended (the caller frees it
    // with delete[]). Otherwise null.
    virtual uint8_t* Duplicate();
    // Copies the built-in block `name` of `type` (size + 16 zero bytes);
    // 1 on success, 0 when name, type or the block is missing.
    virtual int LoadFromResource(const void* module, const char* name, const char* type);
    // Returns the bytes from the position to the end; copies at most `maximum`
    // of them and moves the position to the end. With no destination nothing
    // is copied and the position stays.
    virtual size_t Read(void* destination, size_t maximum);
    // Origin 0 start, 1 position, 2 end (offset ignored, size returned). -1
    // when not loaded or the target lies beyond the size.
    virtual long Seek(long offset, int origin);
    long SeekToBegin() { return Seek(0, 0); }
    long SeekToEnd() { return Seek(0, 2); }
    // Uses the caller's buffer as content (attached, loaded) when both are given.
    virtual void Attach(uint8_t* buffer, size_t size);

    bool loaded() const { return loaded_; }
    size_t size() const { return size_; }
    const uint8_t* buffer() const { return buffer_; }

protected:
    uint8_t* buffer_ = nullptr;
    size_t size_ = 0;
    size_t position_ = 0;
    uint32_t reserved_ = 0;
    bool attached_ = false;
    bool loaded_ = false;
};

// The built-in counterpart of CEncFile: a firmware image carried inside the
// program as block "IDU_FW_FILE" of type "BINARY". This program carries none.
class CResourceEncFile : public CResourceFile {
public:
    ~CResourceEncFile() override;

    // False when nothing is loaded; otherwise decodes the block (size/2 bytes).
    bool Load();
    bool CountChunks();

    const uint8_t* image() const { return image_.empty() ? nullptr : image_.data(); }
    size_t imageLength() const { return image_.size(); }
    int chunkCount = 0;

private:
    std::vector<uint8_t> image_;
};

inline constexpr char kBuiltInFirmwareName[] = "IDU_FW_FILE";
inline constexpr char kBuiltInFirmwareType[] = "BINARY";

}  // namespace ravo
