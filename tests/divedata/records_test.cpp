#include <gtest/gtest.h>

#include <cstring>

#include "divedata/dive_header_orangebox.h"
#include "divedata/dive_header_redbox.h"
#include "divedata/dive_info.h"
#include "divedata/dive_log.h"
#include "divedata/dive_record.h"
#include "link/log_entry.h"
#include "link/unit_time.h"

using namespace ravo;

TEST(DiveInfoReply, DecodesAsFarAsTheReplyReaches)
{
    struct Row {
        std::vector<uint8_t> bytes;
        uint32_t startTime, recordCount;
        uint16_t aux;
    };
    const Row rows[] = {
        {{}, 0, 0, 0},
        {{0x01, 0x02, 0x03}, 0, 0, 0},
        {{0x78, 0x56, 0x34, 0x12}, 0x12345678, 0, 0},
        {{0x78, 0x56, 0x34, 0x12, 0xDC, 0x05, 0x00, 0x00}, 0x12345678, 1500, 0},
        {{0x00, 0x00, 0x00, 0x00, 0x1E, 0x00, 0x00, 0x00, 0xCD, 0xAB}, 0, 30, 0xABCD},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x99}, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFF},
    };
    for (const Row& row : rows) {
        LogDirectoryEntry info = DecodeLogEntry(row.bytes.data(), row.bytes.size());
        EXPECT_EQ(info.startTime, row.startTime);
        EXPECT_EQ(info.recordCount, row.recordCount);
        EXPECT_EQ(info.auxWord, row.aux);
    }
}

TEST(Samples, EightByteBlockGivesTwoRecords)
{
    const uint8_t block[] = {0x10, 0x00, 0x08, 0x14, 0x14, 0x00, 0x27, 0x50};
    std::vector<CDiveDataRecord> samples;
    ASSERT_EQ(AppendSamples(block, sizeof block, samples), 0);
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0], (CDiveDataRecord{16, 8, 20}));
    EXPECT_EQ(samples[1], (CDiveDataRecord{20, 39, 80}));
    EXPECT_DOUBLE_EQ(depthMetres(samples[0].value), 10.0);
    EXPECT_DOUBLE_EQ(temperatureDegrees(samples[1].value), 20.0);
}

TEST(Samples, NullOrEmptyBlockAppendsNothingAndTwoBlocksAppendBoth)
{
    std::vector<CDiveDataRecord> samples{{1, 2, 3}};
    const uint8_t block[] = {0xFF, 0xFF, 0x0D, 0xC8};
    EXPECT_EQ(AppendSamples(nullptr, 4, samples), -1);
    EXPECT_EQ(AppendSamples(block, 0, samples), -1);
    EXPECT_EQ(samples.size(), 1u);
    EXPECT_EQ(AppendSamples(block, 4, samples), 0);
    EXPECT_EQ(AppendSamples(block, 4, samples), 0);
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_EQ(samples[2], (CDiveDataRecord{65535, 13, 200}));
}

TEST(Samples, TrailingPartialRecordIsDropped)
{
    const uint8_t block[] = {1, 0, 8, 2, 3, 0, 8};
    std::vector<CDiveDataRecord> samples;
    EXPECT_EQ(AppendSamples(block, 3, samples), 0);
    EXPECT_TRUE(samples.empty());
    EXPECT_EQ(AppendSamples(block, sizeof block, samples), 0);
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0], (CDiveDataRecord{1, 8, 2}));
}

TEST(OrangeboxHeader, ValidityMarker)
{
    struct Row {
        uint8_t b[4];
        bool valid;
    };
    const Row rows[] = {{{0xFF, 0xFF, 0x00, 0x00}, true},
                        {{0xFF, 0xFF, 0x00, 0x01}, false},
                        {{0xFF, 0xFE, 0x00, 0x00}, false},
                        {{0x00, 0x00, 0x00, 0x00}, false}};
    for (const Row& row : rows) {
        CDiveHeaderOrangebox header;
        std::memcpy(header.raw, row.b, 4);
        header.Parse();
        EXPECT_EQ(header.valid, row.valid);
        CDiveHeaderRedbox redbox;
        std::memcpy(redbox.raw, row.b, 4);
        redbox.Parse();
        EXPECT_EQ(redbox.valid, row.valid);
    }
}

TEST(OrangeboxHeader, DecodesEveryMemberAtItsOffset)
{
    CDiveHeaderOrangebox h;
    uint8_t* r = h.raw;
    const uint8_t head[] = {0xFF, 0xFF, 0x00, 0x00,  // marker
                            0x78, 0x56, 0x34, 0x12,  // start time
                            0xD5, 0x07,              // o2 2005
                            0xB8, 0x0B,              // dil 3000
                            0x6E, 0x46,              // po2 1.10, 0.70
                            0x2D, 0x2E,              // 45 mV, 46 mV
                            0x0C, 0x00, 0xFB, 0xFF,  // start depth 12, offset 0xFFFB
                            0x07,                    // mouthpiece
                            0x34, 0x12,              // logger version
                            0x64, 0x2A,              // FO2 100, software 42
                            0xCD, 0xAB, 0x01, 0x00,  // battery serial, rig serial
                            0x05, 0x01,              // logs 261
                            0x03, 0x23, 0x4F, 0x5A,  // days, He, N2, SoC
                            0x68, 0x10, 0x2C, 0x01, 0x10, 0x27};
    std::memcpy(r, head, sizeof head);
    const uint8_t one[] = {0x00, 0x00, 0x80, 0x3F};
    const uint8_t two[] = {0x00, 0x00, 0x00, 0x40};
    std::memcpy(r + 41, one, 4);
    std::memcpy(r + 41 + 32, two, 4);
    std::memcpy(r + 77, two, 4);
    std::memcpy(r + 77 + 32, one, 4);
    std::memset(r + 113, 0xFF, 4);
    r[117] = 1;
    r[200] = 0x5A;
    h.Parse();
    EXPECT_TRUE(h.valid);
    EXPECT_EQ(h.text, "Ravo_Config v1.35");
    EXPECT_EQ(h.startTime, 0x12345678u);
    EXPECT_EQ(h.o2Pressure, 2005);
    EXPECT_EQ(h.dilPressure, 3000);
    EXPECT_EQ(h.po2Sensor1, 110);
    EXPECT_EQ(h.po2Sensor2, 70);
    EXPECT_EQ(h.sensor1mV, 45);
    EXPECT_EQ(h.sensor2mV, 46);
    EXPECT_EQ(h.startDepth, 12);
    EXPECT_EQ(h.depthOffset, 0xFFFB);
    EXPECT_EQ(h.mouthpiece, 7);
    EXPECT_EQ(h.loggerVersion, 0x1234);
    EXPECT_EQ(h.assumedFO2, 100);
    EXPECT_EQ(h.softwareVersion, 42);
    EXPECT_EQ(h.batterySerial, 0xABCD);
    EXPECT_EQ(h.rigSerial, 1);
    EXPECT_EQ(h.numberOfLogs, 261);
    EXPECT_EQ(h.daysSinceLearn, 3);
    EXPECT_EQ(h.heliumPercent, 35);
    EXPECT_EQ(h.nitrogenPercent, 79);
    EXPECT_EQ(h.batterySoC, 90);
    EXPECT_EQ(h.batteryMillivolts, 4200);
    EXPECT_EQ(h.batteryCycles, 300);
    EXPECT_EQ(h.cumulativeOtu, 10000);
    EXPECT_FLOAT_EQ(h.n2Tension[0], 1.0f);
    EXPECT_FLOAT_EQ(h.n2Tension[8], 2.0f);
    EXPECT_FLOAT_EQ(h.heTension[0], 2.0f);
    EXPECT_FLOAT_EQ(h.heTension[8], 1.0f);
    EXPECT_EQ(h.surfaceInterval, -1);
    EXPECT_EQ(h.decoRig, 1);
    EXPECT_EQ(h.raw[200], 0x5A);  // undecoded bytes stay in raw

    h.Reset();
    EXPECT_FALSE(h.valid);
    EXPECT_TRUE(h.text.empty());
    EXPECT_EQ(h.startTime, 0u);
    EXPECT_EQ(h.raw[200], 0);
}

namespace {

CDiveHeaderRedbox redboxWithLevel(uint8_t level)
{
    CDiveHeaderRedbox h;
    for (int i = 0; i < kHeaderBytes; ++i)
        h.raw[i] = uint8_t(i);
    h.raw[25] = level;
    h.Parse();
    return h;
}

}  // namespace

TEST(RedboxHeader, Level42LeavesExtendedMembersZero)
{
    CDiveHeaderRedbox h = redboxWithLevel(42);
    EXPECT_EQ(h.layoutLevel, 42);
    EXPECT_EQ(h.unitSerial, 0x1B1A);
    EXPECT_EQ(h.startTime, 0x07060504u);
    EXPECT_EQ(h.word34, 0);
    EXPECT_EQ(h.serviceDate, 0u);
    EXPECT_EQ(h.word40, 0);
    EXPECT_EQ(h.word42, 0);
    EXPECT_EQ(h.bytes44[0], 0);
    EXPECT_EQ(h.word58, 0);
    EXPECT_EQ(h.bytes64[1], 0);
    EXPECT_EQ(h.dword115, 0u);
    EXPECT_EQ(h.word119, 0);
    // Always decoded, whatever the level.
    EXPECT_EQ(h.dword30, 0x21201F1Eu);
    EXPECT_EQ(h.bytes121[0], 121);
    EXPECT_EQ(h.words124[2], 0x8180);
    EXPECT_EQ(h.dwords130[0], 0x85848382u);
    EXPECT_EQ(h.dwords166[8], 0xC9C8C7C6u);
    EXPECT_EQ(h.byte202, 202);
}

TEST(RedboxHeader, Level43DecodesExtendedMembers)
{
    CDiveHeaderRedbox h = redboxWithLevel(43);
    EXPECT_EQ(h.word34, 0x2322);
    EXPECT_EQ(h.serviceDate, 0x27262524u);
    EXPECT_EQ(h.word40, 0x2928);
    EXPECT_EQ(h.word42, 0x2B2A);
    EXPECT_EQ(h.bytes44[9], 53);
    EXPECT_EQ(h.word58, 0x3B3A);
    EXPECT_EQ(h.bytes60[1], 61);
    EXPECT_EQ(h.word62, 0x3F3E);
    EXPECT_EQ(h.bytes64[1], 65);
    EXPECT_EQ(h.dword115, 0x76757473u);
    EXPECT_EQ(h.word119, 0x7877);
}

TEST(RedboxHeader, ParseClearsMembersOfAnEarlierHeader)
{
    CDiveHeaderRedbox h = redboxWithLevel(43);
    std::memset(h.raw, 0, sizeof h.raw);
    h.raw[25] = 42;
    h.Parse();
    EXPECT_EQ(h.serviceDate, 0u);
    EXPECT_EQ(h.word34, 0);
}

TEST(DiveLog, ClearEmptiesInfoHeaderAndSamples)
{
    CDiveLog log;
    log.info.valid = 1;
    log.info.recordCount = 4;
    log.isDive = true;
    log.header.raw[0] = 0xFF;
    log.header.Parse();
    log.samples.push_back({1, 8, 2});
    log.clear();
    EXPECT_EQ(log.info.valid, 0);
    EXPECT_EQ(log.info.recordCount, 0u);
    EXPECT_FALSE(log.isDive);
    EXPECT_TRUE(log.header.text.empty());
    EXPECT_EQ(log.header.raw[0], 0);
    EXPECT_TRUE(log.samples.empty());
}

TEST(UnitTime, ShownInUtc)
{
    struct Row {
        uint32_t unitTime;
        const char* text;
    };
    const Row rows[] = {
        {0, "2000-01-01 00:00:00"},
        {59 * 86400, "2000-02-29 00:00:00"},
        {60 * 86400 - 1, "2000-02-29 23:59:59"},
        {366 * 86400, "2001-01-01 00:00:00"},
        {1336314153 - 946684800, "2012-05-06 14:22:33"},
        {0xFFFFFFFF, "2136-02-07 06:28:15"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatUnitTime(row.unitTime), row.text) << row.unitTime;
}
