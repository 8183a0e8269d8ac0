// SPDX-License-Identifier: MIT
#include "sim/CameraFirmware.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <mutex>
#include <optional>
#include <vector>

#include "utilities/CameraClock.h"

namespace trelvik::sim {

namespace {

// The firmware's own copy of the protocol, on purpose: it is the independent model the link
// layer is tested against, so it shares none of the link's constants (the reset rule and the
// flash-save flag included).
constexpr std::uint8_t kSignedOpcode = 0xFC;
constexpr std::uint8_t kClockReadOpcode = 0xFE;
constexpr std::uint8_t kClockWriteOpcode = 0xFF;
constexpr std::size_t kSignedCdbLength = 16;
constexpr std::size_t kClockCdbLength = 6;
constexpr std::size_t kClockBlockLength = 8;
constexpr std::size_t kIdentityTextLength = 32;
constexpr std::uint8_t kResetCode = 0x00;
constexpr std::uint8_t kResetValue = 0xFF;
constexpr std::uint8_t kPcCamArgument = 2;
constexpr std::size_t kMediaSlots = 4;
constexpr std::uint8_t kNotFormattable = 0x10; // any of the upper four status bits

// std::localtime and std::mktime share static state; the GUI and tests may call from threads.
std::mutex& timeMutex() {
    static std::mutex mutex;
    return mutex;
}

std::array<std::uint8_t, 6> localBytes(std::time_t when) {
    std::tm fields{};
    {
        std::lock_guard<std::mutex> lock(timeMutex());
        if (const std::tm* local = std::localtime(&when)) fields = *local;
    }
    // The year byte is cut to 8 bits on purpose: the host reads it back as a signed number.
    return {static_cast<std::uint8_t>(fields.tm_year - 100), static_cast<std::uint8_t>(fields.tm_mon + 1),
            static_cast<std::uint8_t>(fields.tm_mday),       static_cast<std::uint8_t>(fields.tm_hour),
            static_cast<std::uint8_t>(fields.tm_min),        static_cast<std::uint8_t>(fields.tm_sec)};
}

// The host time the six clock bytes stand for, when they are a real date and time. The year
// byte is signed, as the host reads it: 0xFF is 1999.
std::optional<std::time_t> timeOfBytes(const std::array<std::uint8_t, 6>& b) {
    const int year = 2000 + static_cast<std::int8_t>(b[0]);
    const int month = b[1];
    if (month < 1 || month > 12) return std::nullopt;
    if (b[2] < 1 || b[2] > utilities::daysInMonth(year, month) || b[3] > 23 || b[4] > 59 || b[5] > 59)
        return std::nullopt;
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = b[2];
    fields.tm_hour = b[3];
    fields.tm_min = b[4];
    fields.tm_sec = b[5];
    fields.tm_isdst = -1;
    std::lock_guard<std::mutex> lock(timeMutex());
    const std::time_t when = std::mktime(&fields);
    if (when == static_cast<std::time_t>(-1)) return std::nullopt;
    return when;
}

// A reply under construction: "QZ", a length byte, then whatever the command adds.
class Reply {
public:
    Reply(std::uint8_t lengthByte, const char* tag) : m_bytes{'Q', 'Z', lengthByte} {
        for (const char* c = tag; *c; ++c)
            m_bytes.push_back(static_cast<std::uint8_t>(*c));
    }
    Reply& add(std::uint8_t byte) {
        m_bytes.push_back(byte);
        return *this;
    }
    Reply& addText(const std::string& text, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            m_bytes.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
        return *this;
    }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

void deliver(const std::vector<std::uint8_t>& reply, std::span<std::uint8_t> data) {
    const std::size_t n = std::min(reply.size(), data.size());
    std::copy_n(reply.begin(), n, data.begin());
    std::fill(data.begin() + static_cast<std::ptrdiff_t>(n), data.end(), std::uint8_t{0});
}

std::uint8_t echoedCode(const CameraState& state, std::uint8_t code) {
    return state.faults.wrongEcho.count(code) ? static_cast<std::uint8_t>(code + 1) : code;
}

// Answers a 16-byte signed command; an empty reply means "not a command of ours".
std::vector<std::uint8_t> answerSigned(CameraState& state, const std::string& signature,
                                       std::span<const std::uint8_t> cdb) {
    const std::uint8_t arg1 = cdb[9];
    const std::uint8_t arg2 = cdb[10];
    if (signature == "QZGETDB") {
        Reply reply(8, "DBUGRD");
        if (state.unsupported.count(arg1)) return reply.add('N').add('S').bytes();
        return reply.add(echoedCode(state, arg1)).add(state.registers[arg1]).bytes();
    }
    if (signature == "QZSETDB") {
        Reply reply(8, "DBUGWR");
        if (state.unsupported.count(arg1)) return reply.add('N').add('S').bytes();
        if (arg1 == kResetCode && arg2 == kResetValue)
            state.registers = state.defaults;
        else
            state.registers[arg1] = arg2;
        return reply.add(echoedCode(state, arg1)).add(arg2).bytes();
    }
    if (signature == "QZGETVS") {
        // The length byte tells the whole text even when the host's buffer holds less of it.
        const std::size_t length = std::min<std::size_t>(state.version.size(), 255);
        Reply reply(static_cast<std::uint8_t>(length), "");
        return reply.addText(state.version, length).bytes();
    }
    if (signature == "QZGETCA") {
        Reply reply(8, "CARD");
        for (std::uint8_t status : state.media)
            reply.add(status);
        return reply.bytes();
    }
    if (signature == "QZGETMD") return Reply(0x20, "").addText(state.model, kIdentityTextLength).bytes();
    if (signature == "QZGETMK") return Reply(0x20, "").addText(state.make, kIdentityTextLength).bytes();
    if (signature == "QZCHANG") {
        // Only argument 2 (PC camera) switches; the reply goes out before the disk leaves.
        if (arg1 == kPcCamArgument) state.mode = CameraMode::PcCam;
        return Reply(6, "CHANGE").add(arg1).bytes();
    }
    if (signature == "QZFMTCA") {
        const bool formatted = arg1 < kMediaSlots && state.media[arg1] < kNotFormattable;
        return Reply(8, "FORMAT").add(arg1).add(formatted ? 0 : 1).bytes();
    }
    if (signature == "QZSSVFL") {
        state.flashSave = arg1;
        return Reply(8, "SSVFLAS").add(arg1).bytes();
    }
    return {};
}

void writeClock(CameraState& state, std::span<const std::uint8_t> data,
                std::chrono::system_clock::time_point hostNow) {
    // A block without the magic is not a clock the firmware recognises; it completes unread.
    if (data.size() < kClockBlockLength || data[0] != 'Q' || data[1] != 'Z') return;
    std::array<std::uint8_t, 6> bytes{};
    std::copy_n(data.begin() + 2, bytes.size(), bytes.begin());
    if (state.clock) {
        state.clock = bytes;
        return;
    }
    // A running clock keeps running from the time written. A time that is no date cannot run
    // and is kept as written, which is also what the camera would report back.
    if (const auto when = timeOfBytes(bytes)) {
        const long long offset = static_cast<long long>(*when) -
                                 static_cast<long long>(std::chrono::system_clock::to_time_t(hostNow));
        // A host clock far outside the years the offset is meant for must not leave a state
        // file that no later command can read: the nearest offset the file can hold is kept.
        state.clockOffsetS = std::clamp(offset, -kMaxClockOffsetS, kMaxClockOffsetS);
    } else {
        state.clock = bytes;
    }
}

} // namespace

std::string commandName(std::span<const std::uint8_t> cdb, platform::Direction direction) {
    if (cdb.size() == kSignedCdbLength && cdb[0] == kSignedOpcode)
        return std::string(reinterpret_cast<const char*>(cdb.data()) + 2, 7);
    if (cdb.size() == kClockCdbLength && cdb[0] == kClockReadOpcode && direction == platform::Direction::In)
        return "clock-read";
    if (cdb.size() == kClockCdbLength && cdb[0] == kClockWriteOpcode && direction == platform::Direction::Out)
        return "clock-write";
    return "";
}

std::array<std::uint8_t, 6> cameraClockBytes(const CameraState& state,
                                             std::chrono::system_clock::time_point hostNow) {
    if (state.clock) return *state.clock;
    const std::time_t now = std::chrono::system_clock::to_time_t(hostNow);
    return localBytes(static_cast<std::time_t>(static_cast<long long>(now) + state.clockOffsetS));
}

void answerCommand(CameraState& state, const platform::ScsiRequest& request,
                   std::chrono::system_clock::time_point hostNow) {
    const std::string name = commandName(request.cdb, request.direction);
    std::vector<std::uint8_t> reply;
    if (name == "clock-read") {
        reply = {'Q', 'Z'};
        const auto bytes = cameraClockBytes(state, hostNow);
        reply.insert(reply.end(), bytes.begin(), bytes.end());
    } else if (name == "clock-write") {
        writeClock(state, request.data, hostNow);
        return;
    } else if (!name.empty() && request.direction == platform::Direction::In) {
        reply = answerSigned(state, name, request.cdb);
    }
    // Unknown commands, and data-out where the firmware expects none, leave nothing to read.
    if (request.direction == platform::Direction::In) deliver(reply, request.data);
}

} // namespace trelvik::sim
