#include <gtest/gtest.h>

#include <array>

#include "jobs/recovery_source.h"

namespace ravo {
namespace {

TEST(RecoverySource, UnitNumberAlwaysServiceDateFromLayout43)
{
    struct Row {
        uint8_t layout;
        uint8_t serial[2];
        uint16_t unitSerial;
        uint32_t serviceDate;
    };
    const Row rows[] = {
        {43, {0x34, 0x12}, 0x1234, 0x78563412},
        {44, {0xFF, 0xFF}, 0xFFFF, 0x78563412},
        {42, {0x34, 0x12}, 0x1234, 0},  // older headers carry no service date
        {0, {0x00, 0x00}, 0x0000, 0},
    };
    for (const Row& row : rows) {
        std::array<uint8_t, 256> header{};
        header[25] = row.layout;
        header[26] = row.serial[0];
        header[27] = row.serial[1];
        header[36] = 0x12;
        header[37] = 0x34;
        header[38] = 0x56;
        header[39] = 0x78;
        RecoverySource source = recoverySourceFromRedboxHeader(header.data());
        EXPECT_EQ(source.unitSerial, row.unitSerial) << int(row.layout);
        EXPECT_EQ(source.serviceDate, row.serviceDate) << int(row.layout);
    }
}

}  // namespace
}  // namespace ravo
