// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "link/Discovery.h"
#include "sim/CameraState.h"

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

// A mock kernel for the real Linux layer: umockdev's testbed fakes /sys, /dev and uevents for
// this process and its children (they must run under libumockdev-preload, as umockdev-wrapper
// starts them), and every sg node of a plugged description answers SG_IO. A node below a USB
// device with one of the camera's ids answers from the simulated camera's firmware; any other
// refuses vendor opcodes with CHECK CONDITION and ILLEGAL REQUEST sense, as a plain disk does.
namespace trelvik::testing {

// One SG_IO request as the mock sg node received it.
struct SgIoRecord {
    std::string node; // Example: "sg1"
    std::string cdb;  // upper-case hex. Example: "FC0B515A474554444201000000000000"
    char direction;   // 'i' data-in, 'o' data-out, '-' none
    unsigned length;  // dxfer_len
    unsigned timeoutMs;
    std::string dataOut; // hex of a data-out payload

    // Example: "sg1 FC0B515A474554444201000000000000 in 16 4000"; data-out adds the payload.
    std::string line() const;
};

// How requests are answered instead of by the device, for `times` requests whose command name
// (sim::commandName: "QZGETDB", "clock-read", ...) is `command`, or any request when it is "".
struct SgIoFault {
    std::string command;
    int times = 1;
    int errnoValue = 0;          // the ioctl fails with this errno
    unsigned hostStatus = 0;     // the request did not complete (DID_TIME_OUT is 3)
    unsigned driverStatus = 0;   // driver byte beside DRIVER_SENSE
    int resid = 0;               // the device sent this many bytes fewer (the rest stays as it was)
    bool checkCondition = false; // status CHECK CONDITION with sense 5/24/00, the reply still sent
    bool hold = false;           // the request waits until release(), then gets the fault
};

class MockDevices {
public:
    // A fresh testbed; preloaded() tells whether this process sees it.
    MockDevices();
    ~MockDevices();
    MockDevices(const MockDevices&) = delete;
    MockDevices& operator=(const MockDevices&) = delete;

    // True when libumockdev-preload is loaded into this process.
    static bool preloaded();
    // The description tests/fixtures/umockdev/<name>.umockdev.
    static std::string fixturePath(const std::string& name);

    // The USB ids whose devices answer as the camera; the camera's own ids by default.
    void setCameraIds(std::vector<link::CameraIds> ids);
    // Adds the devices of description `name`; the testbed announces each with an "add" uevent.
    // False (and `error()` says why) when it cannot be read.
    bool plug(const std::string& name);
    // Announces the removal of each device of `name`, deepest first, and takes them away.
    void unplug(const std::string& name);
    std::string error() const;

    // The firmware state of the camera on USB port `usbSysname` (made from the factory state at
    // its first plug and kept across unplugging, as the camera keeps its settings).
    sim::CameraState camera(const std::string& usbSysname = "1-2");
    void updateCamera(const std::function<void(sim::CameraState&)>& change,
                      const std::string& usbSysname = "1-2");

    // Every request received, oldest first, and the same as lines.
    std::vector<SgIoRecord> requests();
    std::vector<std::string> requestLines();
    void clearRequests();

    void addFault(const SgIoFault& fault);
    // Waits until a held request has arrived; false after `limit`.
    bool waitUntilHeld(std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Lets held requests go on.
    void release();

    // The camera switched itself to PC-camera mode since the last call: its disk must leave and
    // its capture device arrive, which the caller does on its own thread (see switchPersonality).
    bool takeModeSwitch();
    // Replaces description `from` by `to`, as the camera does when it changes personality.
    void switchPersonality(const std::string& from, const std::string& to);

private:
    struct Record {
        std::string path; // the syspath below /sys. Example: "/devices/.../block/sdb"
        std::string node; // N: line. Example: "sdb"
        std::string subsystem;
        std::map<std::string, std::string> attributes;
    };
    struct Node {
        std::string cameraKey; // the USB device's sysname, "" for a plain disk
        bool present = false;
    };
    static int onIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    int handle(UMockdevIoctlClient* client);
    std::vector<Record> parse(const std::string& text) const;
    std::filesystem::path devDirectory() const;

    UMockdevTestbed* m_testbed = nullptr;
    UMockdevIoctlBase* m_handler = nullptr;
    std::mutex m_mutex; // the handler runs on umockdev's thread
    std::condition_variable m_changed;
    std::vector<link::CameraIds> m_cameraIds{link::kDefaultCameraIds};
    std::map<std::string, std::vector<Record>> m_plugged; // description -> its records
    std::map<std::string, Node> m_nodes;                  // "sg1" -> its answering side
    std::set<std::string> m_attached;                     // nodes with the handler attached
    std::map<std::string, sim::CameraState> m_cameras;    // USB sysname -> firmware state
    std::map<std::string, std::filesystem::path> m_ptys;  // node -> the pty umockdev made for it
    std::vector<SgIoRecord> m_requests;
    std::vector<SgIoFault> m_faults;
    int m_held = 0;
    bool m_released = false;
    bool m_modeSwitch = false;
    std::string m_error;
};

} // namespace trelvik::testing
