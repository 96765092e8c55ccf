#include "firmware/enc_file.h"

#include "firmware/enc_codec.h"

namespace ravo {

CEncFile::~CEncFile()
{
    Close();
}

bool CEncFile::Open(const std::string& path, unsigned)
{
    image_.clear();
    image_.shrink_to_fit();
    chunkCount = 0;
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    openResult = file_ != nullptr;
    return openResult;
}

void CEncFile::Close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

bool CEncFile::Load()
{
    image_.clear();
    chunkCount = 0;
    readFailed = false;
    if (!file_)
        return false;
    std::string text;
    char block[65536];
    std::rewind(file_);
    for (;;) {
        size_t got = std::fread(block, 1, sizeof block, file_);
        text.append(block, got);
        if (got < sizeof block)
            break;
    }
    readFailed = std::ferror(file_) != 0;
    if (readFailed)
        return true;  // unreadable: an empty image, as for an empty file
    image_ = decodeEncText(text.data(), text.size());
    return true;
}

bool CEncFile::CountChunks()
{
    chunkCount = 0;
    if (image_.empty())
        return false;
    chunkCount = countImageChunks(image_.data(), image_.size());
    return true;
}

}  // namespace ravo
