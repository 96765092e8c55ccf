#include "settings/settings_backup.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <variant>

#include "link/c_format.h"
#include "link/unit_conversions.h"
#include "settings/ini_file.h"
#include "settings/setting_editor.h"
#include "link/unit_time.h"
#include "settings/setting_texts.h"
#include "settings/settings_rows.h"

namespace ravo {
namespace {

constexpr char kHeadSection[] = "unit";
constexpr char kRowsSection[] = "settings";
constexpr char kRecordSection[] = "values";

using FieldPointer = std::variant<uint8_t UnitSettings::*, int32_t UnitSettings::*, uint32_t UnitSettings::*,
                                  double UnitSettings::*>;

struct RecordField {
    const char* key;
    FieldPointer field;
};

// The record's fields as the file names them. batteryVoltage is a reading,
// not a setting, and is left out.
const std::vector<RecordField>& recordFields()
{
    static const std::vector<RecordField> fields = {
        {"valid", &UnitSettings::valid},
        {"backlightBrightness", &UnitSettings::backlightBrightness},
        {"backlightOffLevel", &UnitSettings::backlightOffLevel},
        {"metric", &UnitSettings::metric},
        {"decimalMode", &UnitSettings::decimalMode},
        {"highResO2", &UnitSettings::highResO2},
        {"setpointSurface", &UnitSettings::setpointSurface},
        {"setpointDepth", &UnitSettings::setpointDepth},
        {"vdotO2Damping", &UnitSettings::vdotO2Damping},
        {"dilN2Percent", &UnitSettings::dilN2Percent},
        {"dilHePercent", &UnitSettings::dilHePercent},
        {"oxygenPercent", &UnitSettings::oxygenPercent},
        {"oxygenSize", &UnitSettings::oxygenSize},
        {"dilSize", &UnitSettings::dilSize},
        {"rmv", &UnitSettings::rmv},
        {"counterLungVolume", &UnitSettings::counterLungVolume},
        {"hudBrightness", &UnitSettings::hudBrightness},
        {"rtcTime", &UnitSettings::rtcTime},
        {"timeToFly", &UnitSettings::timeToFly},
        {"depthLimit", &UnitSettings::depthLimit},
        {"dilPressure", &UnitSettings::dilPressure},
        {"oxygenPressure", &UnitSettings::oxygenPressure},
        {"o2Sensor1mV", &UnitSettings::o2Sensor1mV},
        {"o2Sensor2mV", &UnitSettings::o2Sensor2mV},
        {"mouthpiecePosition", &UnitSettings::mouthpiecePosition},
        {"hasExtendedInfo", &UnitSettings::hasExtendedInfo},
        {"decoAvailable", &UnitSettings::decoAvailable},
        {"decoEnabled", &UnitSettings::decoEnabled},
        {"maxTimeToSurface", &UnitSettings::maxTimeToSurface},
        {"batterySerial", &UnitSettings::batterySerial},
        {"hasServiceTime", &UnitSettings::hasServiceTime},
        {"serviceTime", &UnitSettings::serviceTime},
        {"hasStatusInfo", &UnitSettings::hasStatusInfo},
        {"batteryType", &UnitSettings::batteryType},
        {"eModuleType", &UnitSettings::eModuleType},
        {"systemMode", &UnitSettings::systemMode},
        {"testNumber", &UnitSettings::testNumber},
        {"errorCode", &UnitSettings::errorCode},
        {"otuValue", &UnitSettings::otuValue},
    };
    return fields;
}

std::string fieldText(const UnitSettings& record, const FieldPointer& field)
{
    return std::visit(
        [&](auto member) -> std::string {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, double>)
                return formatC("%.10g", record.*member);
            else if constexpr (std::is_same_v<T, uint32_t>)
                return formatC("%u", unsigned(record.*member));
            else
                return formatC("%d", int(record.*member));
        },
        field);
}

template <typename T>
bool parseNumber(const std::string& text, T& out)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

bool setField(UnitSettings& record, const FieldPointer& field, const std::string& text)
{
    return std::visit(
        [&](auto member) -> bool {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, double>) {
                double value = 0;
                if (!parseNumber(text, value) || !(value > -1e9 && value < 1e9))
                    return false;
                record.*member = value;
            } else if constexpr (std::is_same_v<T, uint8_t>) {
                unsigned value = 0;
                if (!parseNumber(text, value) || value > 255)
                    return false;
                record.*member = uint8_t(value);
            } else {
                T value = 0;
                if (!parseNumber(text, value))
                    return false;
                record.*member = value;
            }
            return true;
        },
        field);
}

bool parseHex(const std::string& text, uint32_t& out, uint32_t maximum)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out, 16);
    return ec == std::errc() && ptr == end && !text.empty() && out <= maximum;
}

bool secondMap(uint32_t version)
{
    return version >= kFirmwareSecondMap;
}

const char* familyText(uint32_t version)
{
    return secondMap(version) ? "firmware 4700 or later" : "firmware before 4700";
}

// The value row `rowId` stands for, to the unit's own resolution: the list
// rounds the setpoints to one decimal, which would hide 0.57 against 0.6.
// Empty for other rows.
std::string rowValueKey(int rowId, const UnitSettings& f)
{
    auto flag = [](uint8_t v) { return std::string(v ? "1" : "0"); };
    switch (rowId) {
    case ROW_DECIMAL: return flag(f.decimalMode);
    case ROW_METRIC: return flag(f.metric);
    case ROW_HIGH_RES: return flag(f.highResO2);
    case ROW_DECO_ENABLED: return flag(f.decoEnabled);
    case ROW_BACKLIGHT: return formatC("%d", f.backlightBrightness);
    case ROW_BACKLIGHT_OFF: return formatC("%d", f.backlightOffLevel);
    case ROW_HUD: return formatC("%d", f.hudBrightness);
    case ROW_SETPOINT_SURFACE: return formatC("%.2f", f.setpointSurface);
    case ROW_SETPOINT_DEPTH: return formatC("%.2f", f.setpointDepth);
    case ROW_DIL_SIZE: return formatC("%.1f", f.dilSize);
    case ROW_DIL_PRESSURE: return formatC("%.1f", f.dilPressure);
    case ROW_DIL_O2: return formatC("%d", 100 - f.dilN2Percent - f.dilHePercent);
    case ROW_DIL_HE: return formatC("%d", f.dilHePercent);
    case ROW_OXYGEN_PART: return formatC("%d", f.oxygenPercent);
    case ROW_MAX_TTS: return formatC("%d", f.maxTimeToSurface);
    default: return {};
    }
}

// What the editor of `rowId` is given to arrive at the file's value. A real
// is nudged by less than the unit's resolution, so that the truncation on the
// way to the unit gives the stored value and not the one below it.
std::string entryFor(int rowId, const EditorRequest& editor, const UnitSettings& f)
{
    auto real = [](double value, double resolution) { return formatC("%.6f", value + resolution * 0.4); };
    switch (rowId) {
    case ROW_DECIMAL:
    case ROW_METRIC:
    case ROW_HIGH_RES:
    case ROW_DECO_ENABLED: return rowValueKey(rowId, f) == "1" ? editor.firstText : editor.secondText;
    case ROW_SETPOINT_SURFACE: return real(f.setpointSurface, 0.01);
    case ROW_SETPOINT_DEPTH: return real(f.setpointDepth, 0.01);
    case ROW_DIL_SIZE: return real(f.dilSize, 0.1);
    case ROW_DIL_PRESSURE: return real(f.dilPressure, 0.1);
    default: return rowValueKey(rowId, f);
    }
}

bool restorableRow(int rowId)
{
    // The clock is set to the PC's time, not to a saved one; the reset rows
    // are service actions.
    return rowId != ROW_NONE && rowId != ROW_RTC && !rowIsServiceOnly(rowId);
}

// The list's rows with every row editable, in list order.
const std::vector<SettingsRow>& everyEditableRow()
{
    static const std::vector<SettingsRow> rows = [] {
        UnitSettings all;
        all.valid = all.hasExtendedInfo = all.decoAvailable = all.decoEnabled = 1;
        all.depthLimit = 60;
        return buildSettingsRows(all, true);
    }();
    return rows;
}

const SettingsRow* rowNamed(const std::vector<SettingsRow>& rows, const std::string& name)
{
    for (const SettingsRow& row : rows)
        if (row.name == name)
            return &row;
    return nullptr;
}

const SettingsRow* rowWithId(const std::vector<SettingsRow>& rows, int rowId)
{
    for (const SettingsRow& row : rows)
        if (row.rowId == rowId)
            return &row;
    return nullptr;
}

// The unit side of the restore's edits: the editors are answered from the
// file, the link and the notices are the caller's, the re-read is held back.
class RestoreEditHost : public UnitEditHost {
public:
    RestoreEditHost(UnitEditHost& unit, const UnitSettings& file) : unit_(unit), file_(file) {}

    int rowId = 0;

    bool showEditor(const EditorRequest& editor, std::string& entered) override
    {
        entered = entryFor(rowId, editor, file_);
        return !entered.empty();
    }
    void notice(const std::string& text) override { unit_.notice(text); }
    void requestReread() override {}
    bool linkBusy() override { return unit_.linkBusy(); }
    void keepLinkOpen() override { unit_.keepLinkOpen(); }
    CIrComm& unitLink() override { return unit_.unitLink(); }
    uint32_t unitFirmwareVersion() override { return unit_.unitFirmwareVersion(); }
    bool waitOnLink(const std::function<void()>& work) override { return unit_.waitOnLink(work); }
    uint32_t unitNow() override { return unit_.unitNow(); }

private:
    UnitEditHost& unit_;
    const UnitSettings& file_;
};

}  // namespace

std::string settingsBackupText(const UnitSettings& record, uint16_t unitNumber, uint32_t firmwareVersion,
                               uint32_t savedAt)
{
    IniDocument document;
    document.headComments = {
        "Settings of a Ravo unit.",
        "[settings] lists the rows as the settings list showed them; [values] holds what the unit",
        "sent, and is what a restore writes back (only rows whose value differs, after asking).",
    };
    IniSection& head = document.add(kHeadSection);
    head.entries = {{"number", formatC("%04X", unsigned(unitNumber))},
                    {"firmware", formatC("%04X", unsigned(firmwareVersion))},
                    {"saved", FormatUnitTime(savedAt)}};
    IniSection& rows = document.add(kRowsSection);
    for (const SettingsRow& row : buildSettingsRows(record, false))
        rows.entries.emplace_back(row.name, row.value);
    IniSection& values = document.add(kRecordSection);
    for (const RecordField& field : recordFields())
        values.entries.emplace_back(field.key, fieldText(record, field.field));
    return writeIni(document);
}

bool parseSettingsBackup(const std::string& text, SettingsBackup& backup, std::string& error)
{
    backup = SettingsBackup{};
    IniDocument document;
    if (!parseIni(text, document, error))
        return false;
    const IniSection* head = document.find(kHeadSection);
    const IniSection* values = document.find(kRecordSection);
    if (!head || !values) {
        error = "not a settings file of a Ravo unit (no [unit] or [values] section)";
        return false;
    }
    const std::string* number = head->find("number");
    const std::string* firmware = head->find("firmware");
    uint32_t parsed = 0;
    if (!number || !parseHex(*number, parsed, 0xFFFF)) {
        error = "[unit] number is not a unit number";
        return false;
    }
    backup.unitNumber = uint16_t(parsed);
    if (!firmware || !parseHex(*firmware, backup.firmwareVersion, 0xFFFF)) {
        error = "[unit] firmware is not a firmware version";
        return false;
    }
    if (const std::string* saved = head->find("saved"))
        backup.savedAt = *saved;
    for (const RecordField& field : recordFields()) {
        const std::string* value = values->find(field.key);
        if (!value || !setField(backup.record, field.field, *value)) {
            error = formatC("[values] %s is missing or no number", field.key);
            return false;
        }
    }
    if (!backup.record.valid) {
        error = "the file holds no complete settings read";
        return false;
    }
    if (const IniSection* rows = document.find(kRowsSection))
        backup.rows = rows->entries;
    return true;
}

std::string backupMismatch(const SettingsBackup& backup, uint16_t unitNumber, uint32_t firmwareVersion)
{
    if (backup.unitNumber != unitNumber)
        return formatC("The file holds the settings of unit %04X, not of unit %04X", unsigned(backup.unitNumber),
                       unsigned(unitNumber));
    if (secondMap(backup.firmwareVersion) != secondMap(firmwareVersion))
        return formatC("The file was saved from %s (%04X); the unit runs %s (%04X)", familyText(backup.firmwareVersion),
                       unsigned(backup.firmwareVersion), familyText(firmwareVersion), unsigned(firmwareVersion));
    return {};
}

UnitSettings atUnitResolution(const UnitSettings& record, bool asSent)
{
    UnitSettings s = record;
    // Whole steps times the resolution, as the read computes a value.
    auto real = [asSent](double& value, double resolution) {
        const double steps = asSent ? double(truncatedProduct(value, 1.0 / resolution)) : std::round(value / resolution);
        value = steps * resolution;
    };
    real(s.setpointSurface, 0.01);
    real(s.setpointDepth, 0.01);
    real(s.oxygenSize, 0.1);
    real(s.dilSize, 0.1);
    real(s.counterLungVolume, 0.1);
    real(s.depthLimit, 0.1);
    real(s.dilPressure, 0.1);
    real(s.oxygenPressure, 0.1);
    s.backlightBrightness = backlightPercentFromByte(backlightByteFromPercent(s.backlightBrightness));
    s.backlightOffLevel = backlightPercentFromByte(backlightByteFromPercent(s.backlightOffLevel));
    s.hudBrightness = hudPercentFromWord(hudWordFromPercent(s.hudBrightness));
    return s;
}

bool sameRowValue(int rowId, const UnitSettings& a, const UnitSettings& b)
{
    return rowValueKey(rowId, atUnitResolution(a)) == rowValueKey(rowId, atUnitResolution(b));
}

std::vector<SettingDifference> settingsDifferences(const UnitSettings& unitRead, const UnitSettings& fileRead)
{
    // Both as the unit stores them: 0.95 read back is 95 x 0.01, a hair
    // above the 0.95 the file holds, and the list's one decimal would show
    // them as 1.0 against 0.9.
    const UnitSettings unit = atUnitResolution(unitRead);
    const UnitSettings file = atUnitResolution(fileRead);
    const std::vector<SettingsRow> unitRows = buildSettingsRows(unit, false);
    const std::vector<SettingsRow> fileRows = buildSettingsRows(file, false);
    std::vector<SettingDifference> differences;
    auto add = [&](const SettingsRow* u, const SettingsRow* f) {
        SettingDifference d;
        d.name = u ? u->name : f->name;
        d.unitValue = u ? u->value : "--";
        d.fileValue = f ? f->value : "--";
        // Editable on either side: a row may open up once another is written.
        int id = (u && u->rowId) ? u->rowId : (f ? f->rowId : 0);
        d.restorable = restorableRow(id) && u && f;
        d.rowId = d.restorable ? id : 0;
        if (d.restorable && d.unitValue == d.fileValue) {
            d.unitValue = rowValueKey(id, unit);
            d.fileValue = rowValueKey(id, file);
        }
        differences.push_back(std::move(d));
    };
    for (const SettingsRow& u : unitRows) {
        const SettingsRow* f = rowNamed(fileRows, u.name);
        int id = u.rowId ? u.rowId : (f ? f->rowId : 0);
        if (!f || f->value != u.value || !sameRowValue(id, unit, file))
            add(&u, f);
    }
    for (const SettingsRow& f : fileRows)
        if (!rowNamed(unitRows, f.name))
            add(nullptr, &f);
    return differences;
}

RestoreResult restoreSettings(const UnitSettings& file, const std::vector<int>& rowIds, UnitSettings& record,
                              UnitEditHost& host)
{
    RestoreResult result;
    // In list order, whatever order the caller checked them in.
    std::vector<int> pending;
    for (const SettingsRow& row : everyEditableRow())
        if (restorableRow(row.rowId) && std::find(rowIds.begin(), rowIds.end(), row.rowId) != rowIds.end())
            pending.push_back(row.rowId);

    RestoreEditHost editHost(host, file);
    std::vector<int> written;
    for (int pass = 0; pass < 2 && !pending.empty(); ++pass) {
        std::vector<int> later;
        for (int id : pending) {
            if (!rowWithId(buildSettingsRows(record, false), id)) {
                later.push_back(id);  // not editable until another row is written
                continue;
            }
            if (pass > 0 && sameRowValue(id, record, file))
                continue;
            editHost.rowId = id;
            EditOutcome outcome = editSettingOnUnit(id, record, false, editHost);
            if (outcome == EditOutcome::NotTaken)
                host.notice(formatC("The unit did not answer the write of \"%s\"",
                                    rowWithId(everyEditableRow(), id)->name.c_str()));
            if (outcome != EditOutcome::Sent) {
                result.failure = outcome;
                break;
            }
            if (std::find(written.begin(), written.end(), id) == written.end())
                written.push_back(id);
            // A value the editor's range held back may fit once its partner is written.
            if (pass == 0 && !sameRowValue(id, record, file))
                later.push_back(id);
        }
        if (result.failure != EditOutcome::Sent)
            later.clear();
        pending = later;
    }
    for (int id : pending)
        if (!sameRowValue(id, record, file))
            result.notWritten.push_back(rowWithId(everyEditableRow(), id)->name);
    result.written = int(written.size());
    if (result.written > 0)
        host.requestReread();
    return result;
}

void checkRestore(RestoreResult& result, const std::vector<int>& rowIds, const UnitSettings& unit,
                  const UnitSettings& file)
{
    // Nothing asked for is nothing to check.
    result.checked = unit.valid != 0 || rowIds.empty();
    result.notWritten.clear();
    result.written = 0;
    for (const SettingsRow& row : everyEditableRow()) {
        if (!restorableRow(row.rowId) || std::find(rowIds.begin(), rowIds.end(), row.rowId) == rowIds.end())
            continue;
        if (result.checked && sameRowValue(row.rowId, unit, file))
            ++result.written;
        else
            result.notWritten.push_back(row.name);
    }
}

}  // namespace ravo
