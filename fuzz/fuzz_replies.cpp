// SPDX-License-Identifier: MIT
// Arbitrary bytes as camera replies: every decoder on the exact-sized input (so a read past its
// end trips the address sanitizer), and every operation on a disk that answers with them.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>

#include "link/Transport.h"
#include "link/VendorCommands.h"
#include "link/VendorProtocol.h"
#include "platform/windows/SptiRequest.h"

namespace {

using namespace trelvik::link;
using trelvik::platform::buildSptiRequest;
using trelvik::platform::kSptiBufferSize;
using trelvik::platform::kSptiLayout32;
using trelvik::platform::kSptiLayout64;

// Answers every request with the fuzz input, as far as it reaches, and a verdict of its own.
class ReplayDisk : public Disk {
public:
    ReplayDisk(std::span<const std::uint8_t> reply, bool ok) : m_reply(reply), m_ok(ok) {}
    bool send(const ScsiRequest& request) override {
        if (request.direction == Direction::In)
            std::copy_n(m_reply.begin(), std::min(m_reply.size(), request.data.size()), request.data.begin());
        return m_ok;
    }

private:
    std::span<const std::uint8_t> m_reply;
    bool m_ok;
};

void decodeAll(std::span<const std::uint8_t> reply, std::uint8_t arg1, std::uint8_t arg2) {
    std::uint8_t value = 0;
    decodeRegisterRead(reply, arg1, value);
    decodeRegisterWrite(reply, arg1, arg2);
    std::string text;
    decodeVersionString(reply, text);
    std::array<std::uint8_t, 4> status{};
    decodeCardStatus(reply, status);
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{arg2}, std::size_t{33}}) {
        std::string buffer(size, 'x');
        decodeIdentityString(reply, buffer.data(), size);
    }
    decodePcCamReply(reply);
    decodeFormatReply(reply, arg1);
    decodeFlashSaveReply(reply, arg1);
    std::tm time{};
    decodeCameraClock(reply, time);
    encodeCameraClock(time);
    ReplyHasTag(reply, arg1,
                std::string_view(reinterpret_cast<const char*>(reply.data()),
                                 std::min<std::size_t>(reply.size(), arg2)));
}

void runAll(Disk& disk, std::uint8_t arg1, std::uint8_t arg2) {
    std::uint8_t value = 0;
    ReadRegister(disk, arg1, value);
    WriteRegister(disk, arg1, arg2);
    std::string text;
    ReadVersionString(disk, text);
    std::array<std::uint8_t, 4> status{};
    ReadCardStatus(disk, status);
    std::string buffer(arg2, 'x');
    ReadModelId(disk, buffer.data(), buffer.size());
    ReadMakeId(disk, buffer.data(), buffer.size());
    ChangeToPcCam(disk);
    FormatCard(disk, arg1);
    SetFlashSave(disk, arg1);
    std::tm time{};
    ReadCameraClock(disk, time);
    WriteCameraClock(disk, time);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t arg1 = data[0];
    const std::uint8_t arg2 = data[1];
    const bool ok = (data[2] & 1) != 0;
    const std::span<const std::uint8_t> reply(data + 3, size - 3);

    decodeAll(reply, arg1, arg2);
    ReplayDisk disk(reply, ok);
    runAll(disk, arg1, arg2);

    // The transfer with a CDB of any length taken from the input.
    std::array<std::uint8_t, 35> out{};
    QZCMD_SPTI_GetData(disk, reply.first(std::min<std::size_t>(reply.size(), arg1 % 20)),
                       std::span(out).first(arg2 % 36), std::chrono::seconds(arg2));

    // The request builder with a CDB taken from the input.
    static std::array<std::uint8_t, kSptiBufferSize> buffer;
    std::array<std::uint8_t, 16> replyBuffer{};
    const ScsiRequest request{reply.first(std::min<std::size_t>(reply.size(), arg2 % 18)),
                              ok ? Direction::In : Direction::Out, replyBuffer, std::chrono::seconds(arg1),
                              ok};
    buildSptiRequest(arg2 & 1 ? kSptiLayout64 : kSptiLayout32, request, buffer);
    return 0;
}
