#pragma once
#include <cstdint>

#include "link/irda_part.h"
#include "link/log_entry.h"
#include "link/unit_commands.h"
#include "link/unit_reply.h"

namespace ravo {

// The command layer of the link: frames, replies and unit commands, built on
// the byte-stream operations of irda_part.
//
// Commands return 1 on success and 0 on failure; on failure their outputs
// hold 0 unless stated. A command the unit's opcode map lacks (see
// unitOpcode) fails without an exchange. Every request addresses
// linkUnitNumber(); the reply of another unit number is still accepted.
class irda_cmd : public irda_part {
public:
    ~irda_cmd() override = default;

    // The unit every request addresses, and the firmware version that picks
    // the opcode map; held by the link (CIrComm).
    virtual uint16_t linkUnitNumber() const = 0;
    virtual uint32_t linkFirmwareVersion() const = 0;
    virtual void setLinkFirmwareVersion(uint32_t version) = 0;

    // --- Frames -----------------------------------------------------------

    // Tells the activity and writes one stuffed frame (n at most 255;
    // larger payloads are not sent). The write's result is not examined.
    void SendFrame(uint8_t opcode, const uint8_t* payload, int n);
    // Tells the activity and writes one bootloader chunk frame.
    void SendChunk(const uint8_t* data, int length);
    // Waits for the next valid frame (at most about 2.5 s). True only when one
    // came from linkUnitNumber(); `reply.valid` tells whether any came.
    bool ReceiveReply(UnitReply& reply);
    static bool CheckFrame(const uint8_t* bytes, int count, UnitReply& reply)
    {
        return ravo::CheckFrame(bytes, count, reply);
    }

    // One request and the reply to it. 1 when a valid reply came (its opcode
    // and length are the caller's to test); 0 when none came or when the
    // unit's map lacks the command (nothing is sent then).
    int Exchange(UnitCommand cmd, const uint8_t* payload, int n, UnitReply& reply);

    // --- Primitives ---------------------------------------------------------

    int ReadByte(UnitCommand cmd, uint8_t& out);
    int ReadWord(UnitCommand cmd, uint16_t& out);
    int ReadDword(UnitCommand cmd, uint32_t& out);
    int WriteByte(UnitCommand cmd, uint8_t v);
    int WriteWord(UnitCommand cmd, uint16_t v);
    int WriteDword(UnitCommand cmd, uint32_t v);
    int WriteBytes(UnitCommand cmd, uint8_t b0, uint8_t b1);

    // --- Access and system --------------------------------------------------

    // The four challenge bytes; bytes the reply lacks are 0.
    int ReadChallenge(uint8_t challenge[4]);
    int SendResponse(const uint8_t response[4]);
    // Stores `version` in the link first (it picks the opcode map even when
    // the handshake fails), reads the challenge and answers it. 1 when the
    // unit acknowledged the response; no response is sent without a challenge.
    int Handshake(uint32_t version);

    // The raw versions reply (reply opcode 5): up to 15 bytes into `bytes`,
    // their number in `count`. Decoding into UnitVersions is the caller's.
    int ReadVersions(uint8_t bytes[15], int& count);
    int GetBatteryMillivolts(uint16_t& millivolts);
    int SetClock(uint32_t unitTime);
    int EnterBootloader(bool forced);
    int PowerDown();

    // --- Logs ---------------------------------------------------------------

    // `cmd` is UNIT_CMD_GET_DIVE_COUNT or UNIT_CMD_GET_REDBOX_COUNT.
    int ReadLogCount(UnitCommand cmd, uint16_t& count);
    // `cmd` is UNIT_CMD_GET_DIVE_INFO or UNIT_CMD_GET_REDBOX_INFO. A reply
    // that stops early leaves the fields it lacks 0 and still succeeds.
    int ReadLogEntry(UnitCommand cmd, uint16_t logIndex, LogDirectoryEntry& entry);
    // Fills the 256-byte header of log `logIndex` with UNIT_CMD_GET_DIVE_HEADER
    // or UNIT_CMD_GET_REDBOX_HEADER, block by block; five failed exchanges in
    // a row end it with 0, the header keeping what arrived.
    static constexpr int kHeaderSize = 256;
    int ReadHeaderBlocks(UnitCommand cmd, uint16_t logIndex, uint8_t header[kHeaderSize]);
    // Reads up to `wanted` bytes (cut to kMaxDataBlock) of samples from
    // `position` (in 4-byte records) into `destination` with
    // UNIT_CMD_GET_DIVE_DATA or UNIT_CMD_GET_REDBOX_DATA; `got` tells how many
    // were stored. A short reply is followed by a request for the position
    // after the whole records stored. 0 after five failed attempts in a row.
    static constexpr int kMaxDataBlock = 100;
    int ReadDataBlock(UnitCommand cmd, uint32_t position, uint8_t* destination, int wanted, int& got);

    // --- Setting reads (converted as the user sees them) -------------------

    int GetBacklight(int& brightnessPercent, int& offLevelPercent);
    int GetMetric(bool& metric);
    int GetDecimal(bool& decimalMode);
    int GetHighRes(bool& highResO2);
    int GetSetpointSurface(double& bar);
    int GetSetpointDepth(double& bar);
    int GetVdotDamping(int& value);
    int GetBatteryVoltage(double& volts);
    int GetO2Sensor1(int& millivolts);
    int GetO2Sensor2(int& millivolts);
    int GetDilN2(int& percent);
    int GetDilHe(int& percent);
    int GetOxygenPart(int& percent);
    int GetOxygenSize(double& litres);
    int GetDilSize(double& litres);
    int GetRmv(int& value);
    int GetCounterLung(double& litres);
    int GetHudBrightness(uint16_t& percent);
    int GetClock(uint32_t& unitTime);
    int GetTimeToFly(uint32_t& unitTime);
    int GetOxygenPressure(double& bar);
    int GetDilPressure(double& bar);
    int GetMouthpiece(int& position);
    int GetDepthLimit(double& metres);
    // A reply of 0xFF leaves `available` as it was (and still succeeds).
    int GetDecoAvailable(bool& available);
    int GetDecoEnabled(bool& enabled);
    int GetMaxTts(int& minutes);
    int GetBatterySerial(uint16_t& serial);
    int GetServiceTime(uint32_t& unitTime);
    int GetSystemMode(uint8_t& systemMode, uint8_t& testNumber, uint8_t& errorCode);
    int GetModuleTypes(uint8_t& batteryType, uint8_t& eModuleType);
    int GetOtu(uint16_t& otu);

    // --- Setting writes (floating values multiplied, then truncated) -------

    int SetBacklight(int brightnessPercent, int offLevelPercent);
    int SetMetric(bool metric);
    int SetDecimal(bool decimalMode);
    int SetHudBrightness(int percent);
    int SetSetpointSurface(double bar);
    int SetSetpointDepth(double bar);
    int SetDilSize(double litres);
    int SetHighRes(bool highResO2);
    int SetOxygenPart(int percent);
    int SetDilHe(int percent);
    int SetDilN2(int percent);
    int SetDilPressure(double bar);
    int SetDecoEnabled(bool enabled);
    int SetMaxTts(int minutes);
    int SetServiceDate(uint32_t unitTime);
    int ResetTissues();
    int ResetOtu();

    // --- Lost unit number recovery -------------------------------------------

    int SendRecoveryWord();
    int SetRecoveryFlag();
    int SetUnitNumber(uint16_t unitNumber);

protected:
    // Opcode of `cmd` for the link's firmware version, -1 when absent.
    int opcodeOf(UnitCommand cmd) const { return unitOpcode(cmd, linkFirmwareVersion()); }

private:
    bool feedReceived(const uint8_t* bytes, int count, UnitReply& reply);
    int readPayload(UnitCommand cmd, int minimum, UnitReply& reply);
    int write(UnitCommand cmd, const uint8_t* payload, int n);
};

}  // namespace ravo
