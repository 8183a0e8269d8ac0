// SPDX-License-Identifier: MIT
#include "settings/SettingHandlers.h"

#include <vector>

#include "link/VendorCommands.h"
#include "settings/Encodings.h"

namespace trelvik::settings {

namespace {

std::u16string wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// A number as a track bar and its value label show it.
struct Shown {
    int position;
    std::u16string text;
};

Shown decimal(int value) {
    return {value, wide(std::to_string(value))};
}
// The register pages write the units in English; the settings page in the user's words.
Shown duration(const ShownDuration& d, const SettingRow& row, const UnitWords& words) {
    if (row.page != Page::Settings) return {d.position, wide(durationText(d))};
    return {d.position, wide(std::to_string(d.amount)) + u" " + (d.minutes ? words.minute : words.second)};
}

bool isRecordTime(const SettingRow& row) {
    return row.kind == SettingKind::Duration && row.width == 1;
}

// The number that the row's registers hold, as shown.
Shown shownFromRegisters(const SettingRow& row, const std::vector<std::uint8_t>& bytes,
                         const UnitWords& words) {
    if (isRecordTime(row)) return duration(recordTimeFromByte(bytes[0]), row, words);
    const unsigned value = joinBytes(bytes);
    if (row.kind == SettingKind::Duration) return duration(intervalFromSeconds(value), row, words);
    if (row.flags & kSecondsUnit)
        return duration({static_cast<int>(value), static_cast<int>(value), false}, row, words);
    return decimal(static_cast<int>(value));
}

// The registers' bytes for a track-bar position.
std::vector<std::uint8_t> registersFromPosition(const SettingRow& row, int position) {
    if (isRecordTime(row)) return {recordTimeByte(position)};
    if (row.kind == SettingKind::Duration) return splitBytes(intervalSeconds(position), row.width);
    return splitBytes(static_cast<unsigned>(position), row.width);
}

} // namespace

void ShowNumberResult(SettingControls& controls, std::string_view trackBar, std::string_view valueLabel,
                      int value, Status status) {
    controls.ShowTextResult(trackBar, valueLabel, decimal(value).text, value, status);
}

namespace {
// What a handler shows: the camera's refusal apart, every failure (no camera included) alike.
Status statusOf(const link::ConnectionError& error) {
    return error.kind == link::ConnectionError::Kind::NotSupported ? Status::NotSupported : Status::Failed;
}
} // namespace

Status CameraRegisters::read(std::uint8_t code, std::uint8_t& value) {
    const link::Result<std::uint8_t> read = m_camera.readRegister(code);
    if (!read) return statusOf(read.error());
    value = *read;
    return Status::Ok;
}

Status CameraRegisters::write(std::uint8_t code, std::uint8_t value) {
    const link::Outcome written = m_camera.writeRegister(code, value);
    return written ? Status::Ok : statusOf(written.error());
}

void SettingHandlers::read(const SettingRow& row) {
    switch (row.kind) {
    case SettingKind::List:
        return readList(row.code, valueControlName(row));
    case SettingKind::Number:
    case SettingKind::Duration:
    case SettingKind::MultiNumber:
        return readNumber(row);
    case SettingKind::Text:
        return readText(row);
    }
}

void SettingHandlers::write(const SettingRow& row) {
    switch (row.kind) {
    case SettingKind::List:
        return writeList(row.code, valueControlName(row), row.flags & kAlwaysWrites);
    case SettingKind::Number:
    case SettingKind::Duration:
    case SettingKind::MultiNumber:
        return writeNumber(row);
    case SettingKind::Text:
        return writeText(row);
    }
}

void SettingHandlers::trackBarChanged(const SettingRow& row, int position) {
    m_controls.setValueLabel(valueLabelName(row), valueLabelText(row, position, m_words));
}

std::u16string SettingHandlers::valueLabelText(const SettingRow& row, int position, const UnitWords& words) {
    if (isRecordTime(row)) return duration(recordTimeAt(position), row, words).text;
    if (row.kind == SettingKind::Duration) return duration(intervalAt(position), row, words).text;
    if (row.flags & kSecondsUnit) return duration({position, position, false}, row, words).text;
    return decimal(position).text;
}

void SettingHandlers::readList(int code, std::string_view list) {
    std::uint8_t value = 0;
    const Status status = m_registers.read(static_cast<std::uint8_t>(code), value);
    const int position = status == Status::Ok ? m_table.ValueToItemIndex(code, value) : -1;
    m_controls.ShowListResult(list, status, position);
}

void SettingHandlers::writeList(int code, std::string_view list, bool evenWhenDisabled) {
    if (!evenWhenDisabled && !m_controls.isEnabled(list)) return;
    const int position = m_controls.selectedIndex(list);
    const int value = m_table.ItemIndexToValue(code, position);
    // A choice the table gives no value for is refused here rather than sent as 0xFF.
    const Status status = value == -1 ? Status::NotSupported
                                      : m_registers.write(static_cast<std::uint8_t>(code),
                                                          static_cast<std::uint8_t>(value & 0xFF));
    m_controls.ShowListResult(list, status, position);
}

void SettingHandlers::readNumber(const SettingRow& row) {
    // Every register is read even after one failed: the camera's answers are all logged and
    // the worst of them decides.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(row.width), 0);
    std::vector<Status> statuses;
    for (int i = 0; i < row.width; ++i)
        statuses.push_back(m_registers.read(static_cast<std::uint8_t>(row.code + i), bytes[i]));
    const Status status = combinedStatus(statuses);
    const Shown shown = status == Status::Ok ? shownFromRegisters(row, bytes, m_words) : Shown{0, u""};
    m_controls.ShowTextResult(valueControlName(row), valueLabelName(row), shown.text, shown.position, status);
}

void SettingHandlers::writeNumber(const SettingRow& row) {
    const std::string trackBar = valueControlName(row);
    if (!m_controls.isEnabled(trackBar)) return;
    const int position = m_controls.position(trackBar);
    const std::vector<std::uint8_t> bytes = registersFromPosition(row, position);
    Status status;
    if (row.width == 1)
        status = m_registers.write(static_cast<std::uint8_t>(row.code), bytes[0]);
    else
        // A setting written in part is not what the window shows: it shows as failed.
        status = writeAll(row, bytes) ? Status::Ok : Status::NotSupported;
    m_controls.ShowTextResult(trackBar, valueLabelName(row), valueLabelText(row, position, m_words), position,
                              status);
}

void SettingHandlers::readText(const SettingRow& row) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < row.width; ++i) {
        std::uint8_t byte = 0;
        if (m_registers.read(static_cast<std::uint8_t>(row.code + i), byte) != Status::Ok) break;
        bytes.push_back(byte);
    }
    m_textRegistersRead[row.code] = static_cast<int>(bytes.size());
    m_controls.showEditResult(valueControlName(row), !bytes.empty(), textFromRegisters(bytes));
}

void SettingHandlers::writeText(const SettingRow& row) {
    const std::string edit = valueControlName(row);
    if (!m_controls.isEnabled(edit)) return;
    // Before any read the whole setting is the user's to write.
    const auto read = m_textRegistersRead.find(row.code);
    const int width = read == m_textRegistersRead.end() ? row.width : read->second;
    const std::vector<std::uint8_t> bytes = registersFromText(m_controls.text(edit), width);
    // Registers written before a failure stay written; the emptied edit says the text is lost.
    if (writeAll(row, bytes))
        m_controls.showEditResult(edit, true, textFromRegisters(bytes));
    else
        m_controls.showEditResult(edit, false, u"");
}

bool SettingHandlers::writeAll(const SettingRow& row, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (m_registers.write(static_cast<std::uint8_t>(row.code + static_cast<int>(i)), bytes[i]) !=
            Status::Ok)
            return false;
    return true;
}

} // namespace trelvik::settings
