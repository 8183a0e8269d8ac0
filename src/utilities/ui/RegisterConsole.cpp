// SPDX-License-Identifier: MIT
#include "utilities/ui/RegisterConsole.h"

#include <QLineEdit>
#include <QPushButton>

#include "link/Discovery.h"
#include "text/Hex.h"
#include "utilities/RegisterFields.h"

namespace trelvik::utilities {

namespace {

// The field's value as the lenient reading takes it: the hexadecimal digits that lead its
// first characters, low eight bits. Example: "141" -> 0x41, "0x41" -> 0x00.
std::uint8_t leadingHexByte(const QLineEdit* field, const platform::TextCodec& codec) {
    if (!field) return 0;
    const QString counted = field->text().left(static_cast<qsizetype>(kCommandFieldLength));
    return static_cast<std::uint8_t>(text::HexToInt(codec.toNarrow(counted.toStdU16String())) & 0xFF);
}

} // namespace

RegisterConsole::RegisterConsole(QWidget& root, UtilityServices services)
    : m_services(std::move(services)), m_command(control<QLineEdit>(root, "TntEditCommand")),
      m_data(control<QLineEdit>(root, "TntEditData")) {
    if (auto* button = control<QPushButton>(root, "TntButtonCommandRead"))
        connect(button, &QPushButton::clicked, this, &RegisterConsole::TntButtonCommandReadClick);
    if (auto* button = control<QPushButton>(root, "TntButtonCommandWrite"))
        connect(button, &QPushButton::clicked, this, &RegisterConsole::TntButtonCommandWriteClick);
}

void RegisterConsole::setData(std::string_view text) {
    if (m_data) m_data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void RegisterConsole::TntButtonCommandReadClick() {
    const std::uint8_t code = leadingHexByte(m_command, m_services.codec);
    std::uint8_t value = 0;
    link::ProbeEcho echo = link::ProbeEcho::WrongCode;
    const link::Status status =
        link::ScanAndReadRegister(m_services.camera.system(), code, &value, nullptr, nullptr, &echo);
    if (status != link::Status::Ok) {
        setData(kReadFailedData);
        m_services.reporter.PlainBox(registerReadFailedText(code), kCommandReadCaption, kBoxError);
        return;
    }
    if (echo != link::ProbeEcho::Value) {
        // The camera was found but gave no value: the field must not keep an earlier one, which
        // would read as this register's.
        setData(kReadNoValueData);
        m_services.reporter.PlainBox(registerNoValueText(code, echo == link::ProbeEcho::NotSupported),
                                     kCommandReadCaption, kBoxWarning);
        return;
    }
    setData(registerValueText(value));
    m_services.reporter.PlainBox(registerReadText(code, value), kCommandReadCaption, kBoxInformation);
}

bool RegisterConsole::refused(const QLineEdit& field, std::string_view label) {
    const std::u16string text = field.text().toStdU16String();
    const FieldProblem problem = strictFieldProblem(text);
    if (problem == FieldProblem::None) return false;
    // A long field is quoted by its start, so the advice after it still fits the box.
    QString shown = field.text().left(static_cast<qsizetype>(kCommandFieldLength));
    if (!shown.isEmpty() && shown.back().isHighSurrogate()) shown.chop(1);
    if (shown.size() < field.text().size()) shown += QStringLiteral("...");
    m_services.reporter.PlainBox(
        fieldProblemText(problem, label, m_services.codec.toNarrow(shown.toStdU16String())),
        kCommandWriteCaption, kBoxError);
    return true;
}

void RegisterConsole::TntButtonCommandWriteClick() {
    if (!m_command || !m_data || refused(*m_command, "Command") || refused(*m_data, "Data")) return;
    const std::uint8_t code = leadingHexByte(m_command, m_services.codec);
    const std::uint8_t value = leadingHexByte(m_data, m_services.codec);
    const link::Status status =
        link::ScanAndWriteRegister(m_services.camera.system(), code, value, nullptr, nullptr);
    if (status == link::Status::Ok)
        m_services.reporter.PlainBox(registerWrittenText(code, value), kCommandWriteCaption, kBoxInformation);
    else
        m_services.reporter.PlainBox(registerWriteFailedText(code, value), kCommandWriteCaption, kBoxError);
}

} // namespace trelvik::utilities
