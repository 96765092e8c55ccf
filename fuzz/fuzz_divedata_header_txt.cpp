// Header text files and redbox header texts read back from disk, a whole
// saved log loaded through its names, the partial mark beside it, the header
// bytes read back from the hex dump, the saved slot a download compares
// itself with and the download plan that reads them.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "divedata/dive_log.h"
#include "divedata/download_plan.h"
#include "divedata/partial_log.h"
#include "divedata/sample_csv.h"
#include "divedata/saved_dive_slots.h"
#include "divedata/saved_logs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        auto dir = std::filesystem::temp_directory_path() / "fuzz_divedata_header_txt";
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    const std::string base = folder + "/KTL_SN1A2B_2000-01-01_00-00-00_O";
    for (const char* ext : {".txt", ".csv", ".partial"}) {
        std::FILE* file = std::fopen((base + ext).c_str(), "wb");
        if (!file)
            return 0;
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    ravo::CDiveHeaderOrangebox header;
    header.ReadOrangeBoxTxt(base + ".txt");
    ravo::CDiveHeaderRedbox redbox;
    redbox.ReadTxt(base + ".txt");
    ravo::CDiveLog log;
    ravo::FileMessages messages;
    log.loadFromFile(folder, "1A2B", "2000-01-01_00-00-00_O", &messages);
    uint32_t records = 0;
    ravo::IsMarkedPartial(base, &records);
    ravo::CDiveInfo entry;
    entry.valid = 1;
    entry.unitNumber = 0x1A2B;
    entry.recordCount = records;
    (void)ravo::DivesToDownload({entry}, folder);
    uint8_t raw[ravo::kHeaderBytes];
    (void)ravo::ParseHeaderHexDump(std::string(reinterpret_cast<const char*>(data), size), raw);
    const ravo::SavedDiveSlot slot = ravo::ReadSavedDiveSlot(base);
    log.info = entry;
    (void)ravo::SlotHoldsDive(slot, log);
    (void)ravo::SavedDiveLogPartial(folder, "KTL_SN1A2B_2000-01-01_00-00-00_O");
    (void)ravo::CheckSampleFile(base + ".csv");
    return 0;
}
