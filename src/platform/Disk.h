// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

namespace trelvik::platform {

enum class Direction { In, Out };

// One pass-through request: a 6- or 16-byte CDB, the data moved and how long to wait.
struct ScsiRequest {
    std::span<const std::uint8_t> cdb; // 6 or 16 bytes
    Direction direction = Direction::In;
    std::span<std::uint8_t> data; // reply (In) or payload (Out); at most 65536 bytes
    std::chrono::seconds timeout{60};
    bool lockVolume = false; // only the 6-byte data-out transfer asks for it
};

// An open handle to one disk of the camera: the device-facing seam that the native
// carriers (SG_IO, SPTI) and the simulated camera implement.
class Disk {
public:
    virtual ~Disk() = default;
    // Sends one request and waits for it. Returns true exactly when the system reports the
    // request as completed; the SCSI status is not judged. On failure `data` of a data-in
    // request holds whatever the carrier left there (zeros when nothing was written).
    // Example: a 16-byte "QZGETDB" read answered by the camera -> true, data = "QZ\x08DBUGRD..."
    virtual bool send(const ScsiRequest& request) = 0;
};

} // namespace trelvik::platform
