// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DiskSystem.h"
#include "support/ByteText.h"
#include "support/ScriptedDisk.h"

namespace trelvik::testing {

// A drive catalog made of plain data, for tests of everything that discovers and opens the
// camera. Each openPath answers from its own script; what was opened, sent and closed is kept
// in one event list in the order it happened.
class FakeDiskSystem : public platform::DiskSystem {
public:
    // How one path behaves when opened: refused with an error code, or a disk answering
    // `replies` one per request, from the first again on every open (a request past the last
    // reply fails and writes nothing).
    struct Script {
        int openError = 0; // non-zero: open fails with this code
        struct Reply {
            std::vector<std::uint8_t> bytes;
            bool completed = true;
        };
        std::vector<Reply> replies;
    };

    std::vector<platform::DriveEntry> driveList;
    std::vector<platform::UsbDeviceNode> usbList;
    std::map<std::string, Script> scripts; // by openPath; a path without a script cannot be opened
    // "open <path>", "send <path>", "close <path>" or "refused <path>", in order.
    std::vector<std::string> events;
    // Every request sent, in order, with the path it went to.
    std::vector<std::pair<std::string, RecordedRequest>> requests;
    int drivesCalls = 0;
    int usbDevicesCalls = 0;
    // What lastFailure() answers: the host's reason for a failed request, "" for the camera's.
    std::string failure;

    // Adds a drive. Example: addDrive("F:", platform::DriveType::Removable, 2, "\\\\.\\PhysicalDrive2").
    platform::DriveEntry& addDrive(std::string name, platform::DriveType type, int diskNumber,
                                   std::string openPath, bool probed = true) {
        platform::DriveEntry drive;
        drive.rootPath = "\\\\.\\" + name + "\\";
        drive.name = std::move(name);
        drive.type = type;
        drive.diskNumber = diskNumber;
        drive.openPath = std::move(openPath);
        drive.probed = probed;
        driveList.push_back(std::move(drive));
        return driveList.back();
    }

    // Adds a USB device with its children's disk numbers.
    void addUsbDevice(std::string instanceId, std::vector<int> children) {
        usbList.push_back({std::move(instanceId), std::move(children)});
    }

    // Makes `path` answer with these replies (each completed).
    void answer(const std::string& path, std::vector<std::vector<std::uint8_t>> replies) {
        Script& script = scripts[path];
        for (auto& bytes : replies)
            script.replies.push_back({std::move(bytes), true});
    }

    // Makes opening `path` fail with `error`.
    void refuse(const std::string& path, int error) { scripts[path].openError = error; }

    std::vector<platform::DriveEntry> drives() override {
        ++drivesCalls;
        return driveList;
    }
    std::vector<platform::UsbDeviceNode> usbDevices() override {
        ++usbDevicesCalls;
        return usbList;
    }
    std::unique_ptr<platform::Disk> open(const std::string& openPath, int& errorCode) override {
        const auto it = scripts.find(openPath);
        if (it == scripts.end() || it->second.openError != 0) {
            errorCode = it == scripts.end() ? 2 : it->second.openError; // 2: no such file
            events.push_back("refused " + openPath);
            return nullptr;
        }
        events.push_back("open " + openPath);
        return std::make_unique<FakeDisk>(*this, openPath);
    }

    std::string lastFailure() const override { return failure; }

    // The paths that received a request, in order.
    std::vector<std::string> sentTo() const {
        std::vector<std::string> paths;
        for (const auto& [path, request] : requests)
            paths.push_back(path);
        return paths;
    }

private:
    class FakeDisk : public platform::Disk {
    public:
        FakeDisk(FakeDiskSystem& owner, std::string path) : m_owner(owner), m_path(std::move(path)) {}
        ~FakeDisk() override { m_owner.events.push_back("close " + m_path); }
        bool send(const platform::ScsiRequest& request) override {
            m_owner.events.push_back("send " + m_path);
            m_owner.requests.emplace_back(m_path, RecordedRequest::of(request));
            Script& script = m_owner.scripts[m_path];
            if (m_next >= script.replies.size()) return false;
            const Script::Reply& reply = script.replies[m_next++];
            if (request.direction == platform::Direction::In)
                std::copy_n(reply.bytes.begin(), std::min(reply.bytes.size(), request.data.size()),
                            request.data.begin());
            return reply.completed;
        }

    private:
        FakeDiskSystem& m_owner;
        std::string m_path;
        std::size_t m_next = 0;
    };
};

} // namespace trelvik::testing
