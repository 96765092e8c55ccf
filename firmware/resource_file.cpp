#include "firmware/resource_file.h"

#include <cstring>

#include "firmware/enc_codec.h"

namespace ravo {
namespace {

struct BuiltInBlock {
    const char* name;
    const char* type;
    const uint8_t* data;
    size_t size;
};

// The blocks built into the program: none are carried on this platform.
const BuiltInBlock* findBuiltInBlock(const char*, const char*)
{
    return nullptr;
}

}  // namespace

CResourceFile::~CResourceFile()
{
    CResourceFile::Close();
}

void CResourceFile::Close()
{
    if (!attached_)
        delete[] buffer_;
    buffer_ = nullptr;
    size_ = 0;
    position_ = 0;
    loaded_ = false;
}

uint8_t* CResourceFile::Detach()
{
    if (!loaded_)
        return nullptr;
    attached_ = true;
    return buffer_;
}

uint8_t* CResourceFile::Duplicate()
{
    if (!loaded_)
        return nullptr;
    auto* copy = new uint8_t[size_ + 2]();
    if (size_)
        std::memcpy(copy, buffer_, size_);
    return copy;
}

int CResourceFile::LoadFromResource(const void*, const char* name, const char* type)
{
    Close();
    if (!name || !type)
        return 0;
    const BuiltInBlock* block = findBuiltInBlock(name, type);
    if (!block || !block->data)
        return 0;
    buffer_ = new uint8_t[block->size + 16]();
    std::memcpy(buffer_, block->data, block->size);
    size_ = block->size;
    position_ = 0;
    attached_ = false;
    loaded_ = true;
    return 1;
}

size_t CResourceFile::Read(void* destination, size_t maximum)
{
    if (!loaded_ || reserved_ != 0 || position_ >= size_)
        return 0;
    size_t remaining = size_ - position_;
    if (!destination)
        return remaining;
    std::memcpy(destination, buffer_ + position_, remaining < maximum ? remaining : maximum);
    position_ = size_;
    return remaining;
}

long CResourceFile::Seek(long offset, int origin)
{
    if (!loaded_)
        return -1;
    long target;
    switch (origin) {
    case 0: target = offset; break;
    case 1: target = long(position_) + offset; break;
    case 2: position_ = size_; return long(size_);
    default: return -1;
    }
    if (target < 0 || size_t(target) > size_)
        return -1;
    position_ = size_t(target);
    return target;
}

void CResourceFile::Attach(uint8_t* buffer, size_t size)
{
    if (!buffer || !size)
        return;
    Close();
    buffer_ = buffer;
    size_ = size;
    position_ = 0;
    attached_ = true;
    loaded_ = true;
}

CResourceEncFile::~CResourceEncFile() = default;

bool CResourceEncFile::Load()
{
    image_.clear();
    chunkCount = 0;
    if (!loaded_)
        return false;
    image_ = decodeEncText(reinterpret_cast<const char*>(buffer_), size_);
    return true;
}

bool CResourceEncFile::CountChunks()
{
    chunkCount = 0;
    if (image_.empty())
        return false;
    chunkCount = countImageChunks(image_.data(), image_.size());
    return true;
}

}  // namespace ravo
