// SPDX-License-Identifier: MIT
#include "link/VendorCommands.h"


#include "link/Transport.h"
#include "link/VendorProtocol.h"

namespace trelvik::link {

namespace {

constexpr char kNotAvailable[] = "<N/A>";

// One signed exchange: builds the CDB, reads the command's reply length into `reply` and
// reports whether the transfer completed. No retries: the caller decides what a failure means.
bool exchange(Disk& disk, const SignedCommand& command, std::span<std::uint8_t> reply, std::uint8_t arg1 = 0,
              std::uint8_t arg2 = 0) {
    const auto cdb = SignedCdb(command, arg1, arg2);
    return QZCMD_SPTI_GetData(disk, cdb, reply.first(command.replyLength), command.timeout) != 0;
}

using SignedReply = std::array<std::uint8_t, kSignedReplyLength>;
using IdentityReply = std::array<std::uint8_t, kIdentityReplyLength>;

int readIdentity(Disk& disk, const SignedCommand& command, char* buffer, std::size_t size) {
    // No room even for the terminator: refuse before talking to the camera.
    if (buffer == nullptr || size == 0) return 0;
    IdentityReply reply{};
    if (!exchange(disk, command, reply)) return 0;
    return decodeIdentityString(reply, buffer, size) ? 1 : 0;
}

} // namespace

int ReadCameraClock(Disk& disk, std::tm& time) {
    std::array<std::uint8_t, kClockBlockLength> block{};
    if (SPTI_GetData(disk, kClockReadOpcode, block) == 0) return 0;
    return decodeCameraClock(block, time) ? 1 : 0;
}

int WriteCameraClock(Disk& disk, const std::tm& time) {
    const auto block = encodeCameraClock(time);
    return SPTI_SetData(disk, kClockWriteOpcode, block) != 0 ? 1 : 0;
}

int ReadVersionString(Disk& disk, std::string& text) {
    SignedReply reply{};
    if (exchange(disk, kCmdReadVersion, reply) && decodeVersionString(reply, text)) return 1;
    text = kNotAvailable;
    return 0;
}

int ReadCardStatus(Disk& disk, std::array<std::uint8_t, 4>& status) {
    SignedReply reply{};
    if (!exchange(disk, kCmdReadCardStatus, reply)) return 0;
    return decodeCardStatus(reply, status) ? 1 : 0;
}

int ReadRegister(Disk& disk, std::uint8_t code, std::uint8_t& value) {
    SignedReply reply{};
    if (!exchange(disk, kCmdReadRegister, reply, code)) return 0;
    return decodeRegisterRead(reply, code, value);
}

int WriteRegister(Disk& disk, std::uint8_t code, std::uint8_t value) {
    SignedReply reply{};
    if (!exchange(disk, kCmdWriteRegister, reply, code, value)) return 0;
    return decodeRegisterWrite(reply, code, value);
}

int ReadModelId(Disk& disk, char* buffer, std::size_t size) { return readIdentity(disk, kCmdReadModelId, buffer, size); }

int ReadMakeId(Disk& disk, char* buffer, std::size_t size) { return readIdentity(disk, kCmdReadMakeId, buffer, size); }

int ChangeToPcCam(Disk& disk) {
    SignedReply reply{};
    if (!exchange(disk, kCmdChangeToPcCam, reply, kPcCamArgument)) return 0;
    return decodePcCamReply(reply) ? 1 : 0;
}

int FormatCard(Disk& disk, std::uint8_t medium) {
    SignedReply reply{};
    if (!exchange(disk, kCmdFormatCard, reply, medium)) return 0;
    return decodeFormatReply(reply, medium) ? 1 : 0;
}

int SetFlashSave(Disk& disk, std::uint8_t flag) {
    SignedReply reply{};
    if (!exchange(disk, kCmdSetFlashSave, reply, flag)) return 0;
    return decodeFlashSaveReply(reply, flag) ? 1 : 0;
}

} // namespace trelvik::link
