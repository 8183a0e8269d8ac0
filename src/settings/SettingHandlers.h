// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "cmdtable/MassCmd.h"
#include "link/CameraConnection.h"
#include "link/Status.h"
#include "settings/SettingRows.h"

namespace trelvik::settings {

using link::Status;

// What the handlers ask of the window. Controls are named by objectName; every Show... call
// updates its control and then lets the window process what is pending, so that it repaints
// in the middle of a long run of reads and writes.
class SettingControls {
public:
    virtual ~SettingControls() = default;
    virtual bool isEnabled(std::string_view control) const = 0;
    // The selected entry of a combo box, -1 for none.
    virtual int selectedIndex(std::string_view comboBox) const = 0;
    virtual int position(std::string_view trackBar) const = 0;
    virtual std::u16string text(std::string_view edit) const = 0;

    // Status Ok: enabled, `position` selected (-1: none), white with black text. Failed:
    // disabled, nothing selected, red with white text. NotSupported: the same in 0xD8E9EC.
    virtual void ShowListResult(std::string_view comboBox, Status status, int position) = 0;
    // Status Ok: the track bar enabled at `value` (its ends hold it), the label shown with
    // `text`. Otherwise the track bar disabled at 0 and the label hidden.
    virtual void ShowTextResult(std::string_view trackBar, std::string_view valueLabel,
                                const std::u16string& text, int value, Status status) = 0;
    // An edit enabled or disabled with `text`.
    virtual void showEditResult(std::string_view edit, bool enabled, const std::u16string& text) = 0;
    // A track bar's value label, as its change handler keeps it.
    virtual void setValueLabel(std::string_view valueLabel, const std::u16string& text) = 0;
};

// The same as ShowTextResult with the value in decimal.
void ShowNumberResult(SettingControls& controls, std::string_view trackBar, std::string_view valueLabel,
                      int value, Status status);

// The camera's one-byte registers as the handlers reach them.
class RegisterPort {
public:
    virtual ~RegisterPort() = default;
    // Ok and `value`, Failed, or NotSupported; `value` is set only on Ok.
    virtual Status read(std::uint8_t code, std::uint8_t& value) = 0;
    virtual Status write(std::uint8_t code, std::uint8_t value) = 0;
};

// The registers of whichever camera is connected when a handler runs; with none connected
// every transfer fails, without a request.
class CameraRegisters final : public RegisterPort {
public:
    explicit CameraRegisters(link::CameraConnection& camera) : m_camera(camera) {}
    Status read(std::uint8_t code, std::uint8_t& value) override;
    Status write(std::uint8_t code, std::uint8_t value) override;

private:
    link::CameraConnection& m_camera;
};

// The words the settings page's value labels give their units, in the user's language; the
// register pages always say "sec" and "min". At most kMaxUnitWordLength characters each.
struct UnitWords {
    std::u16string minute = u"min";
    std::u16string second = u"sec";
};
inline constexpr std::size_t kMaxUnitWordLength = 9;

// The R, W and change handlers of every setting row, one procedure per kind of setting. No
// handler shows a message of its own: the control's state is the whole report. A code the
// command table lacks is reported by the table's lookup.
class SettingHandlers {
public:
    // `words` is read each time a label is written, so a change of language shows at once.
    SettingHandlers(const cmdtable::MassCmdTable& table, RegisterPort& registers, SettingControls& controls,
                    const UnitWords& words)
        : m_table(table), m_registers(registers), m_controls(controls), m_words(words) {}

    // The R button: reads the row's registers and shows what came back.
    void read(const SettingRow& row);
    // The W button: writes the control's value, unless the control is disabled (the debug
    // setting's W writes whatever its state, and turns it not supported when it has no value).
    void write(const SettingRow& row);
    // A list setting's R and W on a list of its own name. Example: (0x32, "TntComboBox_Date_Format").
    void readList(int code, std::string_view list);
    void writeList(int code, std::string_view list, bool evenWhenDisabled = false);
    // A track bar moved: its value label follows.
    void trackBarChanged(const SettingRow& row, int position);

    // The value label's text for a track-bar position. Examples: AVI_RECORD_TIME at 64 -> "5 min";
    // its settings-page row with the German words -> "5 Min.".
    static std::u16string valueLabelText(const SettingRow& row, int position, const UnitWords& words);

private:
    void readNumber(const SettingRow& row);
    void writeNumber(const SettingRow& row);
    void readText(const SettingRow& row);
    void writeText(const SettingRow& row);
    // Writes `bytes` from the row's first register on, stopping at the first that does not
    // succeed. Ok when all did.
    bool writeAll(const SettingRow& row, const std::vector<std::uint8_t>& bytes);

    // Registers of a text setting that its last read reached, by first code. A read that
    // stopped part-way leaves the rest unknown, and a write must not fill them with zeros.
    std::map<int, int> m_textRegistersRead;
    const cmdtable::MassCmdTable& m_table;
    RegisterPort& m_registers;
    SettingControls& m_controls;
    const UnitWords& m_words;
};

} // namespace trelvik::settings
