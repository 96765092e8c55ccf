// Feeds arbitrary bytes as an ".enc" file text: decoding, chunk counting and
// the damaged-image check must never read outside the buffers.
#include <cstddef>
#include <cstdint>

#include <vector>

#include "firmware/enc_codec.h"
#include "firmware/firmware_check.h"
#include "firmware/resource_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto image = ravo::decodeEncText(reinterpret_cast<const char*>(data), size);
    ravo::countImageChunks(image.data(), image.size());
    ravo::checkFirmwareImage(image);
    // The raw bytes as an image too, for lengths the hex text cannot reach cheaply.
    ravo::countImageChunks(data, size);
    ravo::checkFirmwareImage(std::vector<uint8_t>(data, data + size));

    if (size > 0) {
        auto* copy = new uint8_t[size];
        for (size_t i = 0; i < size; ++i)
            copy[i] = data[i];
        ravo::CResourceEncFile file;
        file.Attach(copy, size);
        file.Load();
        file.CountChunks();
        file.Close();
        delete[] copy;
    }
    return 0;
}
