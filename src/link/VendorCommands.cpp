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

Status readIdentity(Disk& disk, const SignedCommand& command, char* buffer, std::size_t size) {
    // No room even for the terminator: refuse before talking to the camera.
    if (buffer == nullptr || size == 0) return Status::Failed;
    IdentityReply reply{};
    if (!exchange(disk, command, reply)) return Status::Failed;
    return statusOf(decodeIdentityString(reply, buffer, size));
}

} // namespace

Status ReadCameraClock(Disk& disk, std::tm& time) {
    std::array<std::uint8_t, kClockBlockLength> block{};
    if (SPTI_GetData(disk, kClockReadOpcode, block) == 0) return Status::Failed;
    return statusOf(decodeCameraClock(block, time));
}

Status WriteCameraClock(Disk& disk, const std::tm& time) {
    const auto block = encodeCameraClock(time);
    return statusOf(SPTI_SetData(disk, kClockWriteOpcode, block) != 0);
}

Status ReadVersionString(Disk& disk, std::string& text) {
    SignedReply reply{};
    if (exchange(disk, kCmdReadVersion, reply) && decodeVersionString(reply, text)) return Status::Ok;
    text = kNotAvailable;
    return Status::Failed;
}

Status ReadCardStatus(Disk& disk, std::array<std::uint8_t, 4>& status) {
    SignedReply reply{};
    if (!exchange(disk, kCmdReadCardStatus, reply)) return Status::Failed;
    return statusOf(decodeCardStatus(reply, status));
}

Status ReadRegister(Disk& disk, std::uint8_t code, std::uint8_t& value) {
    SignedReply reply{};
    if (!exchange(disk, kCmdReadRegister, reply, code)) return Status::Failed;
    return decodeRegisterRead(reply, code, value);
}

Status WriteRegister(Disk& disk, std::uint8_t code, std::uint8_t value) {
    SignedReply reply{};
    if (!exchange(disk, kCmdWriteRegister, reply, code, value)) return Status::Failed;
    return decodeRegisterWrite(reply, code, value);
}

Status ReadModelId(Disk& disk, char* buffer, std::size_t size) {
    return readIdentity(disk, kCmdReadModelId, buffer, size);
}

Status ReadMakeId(Disk& disk, char* buffer, std::size_t size) {
    return readIdentity(disk, kCmdReadMakeId, buffer, size);
}

Status ChangeToPcCam(Disk& disk) {
    SignedReply reply{};
    if (!exchange(disk, kCmdChangeToPcCam, reply, kPcCamArgument)) return Status::Failed;
    return statusOf(decodePcCamReply(reply));
}

Status FormatCard(Disk& disk, std::uint8_t medium) {
    SignedReply reply{};
    if (!exchange(disk, kCmdFormatCard, reply, medium)) return Status::Failed;
    return statusOf(decodeFormatReply(reply, medium));
}

Status SetFlashSave(Disk& disk, std::uint8_t flag) {
    SignedReply reply{};
    if (!exchange(disk, kCmdSetFlashSave, reply, flag)) return Status::Failed;
    return statusOf(decodeFlashSaveReply(reply, flag));
}

} // namespace trelvik::link
