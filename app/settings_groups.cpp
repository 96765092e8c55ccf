#include "app/settings_groups.h"

#include <cstring>

#include "settings/setting_editor.h"

namespace ravo {
namespace {

enum Group { Setpoints, Gases, Deco, Display, Status, Service, kGroupCount };

constexpr const char* kGroupTitles[kGroupCount] = {"Set-up: setpoints", "Set-up: gases", "Set-up: deco",
                                                   "Set-up: display",   "Live status",   "Service"};

struct RowFacts {
    const char* name;
    Group group;
    const char* unit;  // empty for a text or a choice
};

constexpr RowFacts kRows[] = {
    {"Decimal/point", Display, ""},
    {"Metric/Imperial", Display, ""},
    {"HigResInDisplay", Display, ""},
    {"Backlight brightness", Display, "%"},
    {"Backlight offlevel", Display, "%"},
    {"HUD brightness", Display, "%"},
    {"Setpoint surface", Setpoints, "bar"},
    {"Setpoint depth", Setpoints, "bar"},
    {"DIL size (liter)", Gases, "litres"},
    {"DIL pressure (bar)", Gases, "bar"},
    {"DIL O2 part (%)", Gases, "%"},
    {"DIL HE part (%)", Gases, "%"},
    {"DIL N2 part (%)", Gases, "%"},
    {"Oxygen size (liter)", Gases, "litres"},
    {"Oxygen pressure (bar)", Gases, "bar"},
    {"Oxygen part (%)", Gases, "%"},
    {"Counter lung volume (liter)", Gases, "litres"},
    {"RMV value (liter)", Gases, "litres per minute"},
    {"vdot 02 damping", Service, ""},
    {"RTC time (UTC)", Status, "UTC"},
    {"Service time (UTC)", Service, "UTC"},
    {"TimeToFly time (UTC)", Status, "UTC"},
    {"Mouthpiece pos", Status, ""},
    {"O2 sensor 1 (mV)", Status, "mV"},
    {"O2 sensor 2 (mV)", Status, "mV"},
    {"Battery SR", Service, ""},
    {"Depth limit (m)", Deco, "m"},
    {"Deco enabled", Deco, ""},
    {"Max TimeToSurface (min)", Deco, "minutes"},
    {"OTU value", Status, "OTU"},
    {"Battery type", Service, ""},
    {"E-module type", Service, ""},
    {"System mode", Status, ""},
    {"Reset servicedate", Service, ""},
    {"Reset tissuetension", Service, ""},
    {"Reset cumulation OTU level", Service, ""},
};

const RowFacts* factsOf(const SettingsRow& row)
{
    for (const RowFacts& facts : kRows)
        if (row.name == facts.name)
            return &facts;
    return nullptr;
}

bool isDiluentMix(const SettingsRow& row)
{
    return row.name == "DIL O2 part (%)" || row.name == "DIL HE part (%)";
}

}  // namespace

std::vector<SettingsGroup> groupSettingsRows(const std::vector<SettingsRow>& rows)
{
    std::vector<SettingsGroup> groups(kGroupCount);
    for (int g = 0; g < kGroupCount; ++g)
        groups[size_t(g)].title = kGroupTitles[g];
    for (const SettingsRow& row : rows) {
        const RowFacts* facts = factsOf(row);
        groups[size_t(facts ? facts->group : Status)].rows.push_back(row);
    }
    std::erase_if(groups, [](const SettingsGroup& group) { return group.rows.empty(); });
    return groups;
}

std::string settingsRowLockedReason(const SettingsRow& row, const UnitSettings& s)
{
    if (row.editable)
        return {};
    if (isDiluentMix(row)) {
        if (!s.decoAvailable)
            return "Read-only: this unit offers no deco mode";
        if (!s.decoEnabled)
            return "Read-only while deco is off";
        return "Read-only while the depth limit is 40 m or less";
    }
    if (row.name == "Max TimeToSurface (min)")
        return "Read-only while deco is off";
    return {};
}

std::string settingsRowTooltip(const SettingsRow& row, const UnitSettings& s)
{
    const RowFacts* facts = factsOf(row);
    std::string tip;
    if (facts && *facts->unit)
        tip = std::string("Unit: ") + facts->unit;
    auto line = [&tip](const std::string& text) {
        if (!tip.empty())
            tip += "\n";
        tip += text;
    };
    const std::optional<EditorRequest> editor = row.editable ? editorForRow(row.rowId, s) : std::nullopt;
    if (!editor) {
        const std::string locked = settingsRowLockedReason(row, s);
        line(locked.empty() ? std::string("Read-only: shown as the unit reports it") : locked);
        return tip;
    }
    switch (editor->kind) {
    case EditorKind::Int:
    case EditorKind::Real: line("Range: " + editor->rangeText); break;
    case EditorKind::Bool: line("Choices: " + editor->firstText + " or " + editor->secondText); break;
    case EditorKind::Clock: line("Set to the PC's clock"); break;
    case EditorKind::Reset: line("Service mode: sends a reset to the unit"); break;
    }
    line("Double-click or press Enter to change");
    return tip;
}

}  // namespace ravo
