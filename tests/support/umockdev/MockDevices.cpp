// SPDX-License-Identifier: MIT
#include "support/umockdev/MockDevices.h"

#include <umockdev.h>

#include <scsi/sg.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/Discovery.h"
#include "sim/CameraFirmware.h"
#include "text/Hex.h"

namespace trelvik::testing {

namespace {

constexpr unsigned kDriverSense = 0x08;
constexpr unsigned char kCheckCondition = 0x02;
// Fixed-format sense: ILLEGAL REQUEST, "invalid command operation code" (20/00) for a plain
// disk, "invalid field in CDB" (24/00) for a planted fault.
constexpr std::size_t kSenseLength = 18;

std::string hex(const std::uint8_t* bytes, std::size_t size) {
    std::string text;
    char pair[3];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        text += pair;
    }
    return text;
}

std::string baseName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

// Resolved client memory; it is written back to the client when the ioctl completes, so it
// lives to the end of the handler.
struct DataUnref {
    void operator()(UMockdevIoctlData* data) const { umockdev_ioctl_data_unref(data); }
};
using DataPtr = std::unique_ptr<UMockdevIoctlData, DataUnref>;

// A field of the client's sg_io_hdr that holds a pointer, resolved into the client's memory.
DataPtr resolvePointer(UMockdevIoctlData* header, std::size_t offset, std::size_t length) {
    if (length == 0) return nullptr;
    GError* error = nullptr;
    DataPtr data(umockdev_ioctl_data_resolve(header, offset, length, &error));
    if (error) g_error_free(error);
    return data;
}

} // namespace

std::string SgIoRecord::line() const {
    std::string text = node + " " + cdb + " " +
                       (direction == 'i'   ? "in"
                        : direction == 'o' ? "out"
                                           : "none") +
                       " " + std::to_string(length) + " " + std::to_string(timeoutMs);
    if (!dataOut.empty()) text += " " + dataOut;
    return text;
}

MockDevices::MockDevices() {
    m_testbed = umockdev_testbed_new();
    m_handler = umockdev_ioctl_base_new();
    g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(&MockDevices::onIoctl), this);
}

MockDevices::~MockDevices() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
    }
    m_changed.notify_all();
    for (const std::string& node : m_attached)
        umockdev_testbed_detach_ioctl(m_testbed, ("/dev/" + node).c_str(), nullptr);
    g_object_unref(m_handler);
    g_object_unref(m_testbed);
}

bool MockDevices::preloaded() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload") != nullptr;
}

std::string MockDevices::fixturePath(const std::string& name) {
    return std::string(TRELVIK_FIXTURES) + "/umockdev/" + name + ".umockdev";
}

void MockDevices::setCameraIds(std::vector<link::CameraIds> ids) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cameraIds = std::move(ids);
}

std::vector<MockDevices::Record> MockDevices::parse(const std::string& text) const {
    std::vector<Record> records;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() < 3 || line[1] != ':') continue;
        const std::string value = line.substr(3);
        if (line[0] == 'P') {
            records.push_back({value, "", "", {}});
        } else if (!records.empty() && line[0] == 'N') {
            records.back().node = value.substr(0, value.find('='));
        } else if (!records.empty() && line.rfind("E: SUBSYSTEM=", 0) == 0) {
            records.back().subsystem = line.substr(13);
        } else if (!records.empty() && line[0] == 'A') {
            const std::size_t equals = value.find('=');
            records.back().attributes[value.substr(0, equals)] = value.substr(equals + 1);
        }
    }
    return records;
}

bool MockDevices::plug(const std::string& name) {
    std::ifstream file(fixturePath(name));
    std::stringstream text;
    text << file.rdbuf();
    if (!file) {
        m_error = "cannot read " + fixturePath(name);
        return false;
    }
    std::vector<Record> records = parse(text.str());
    // umockdev backs a character node with a pty that it keeps when the device is removed and
    // will not make a second time: a node seen before is left out here and linked again below.
    std::string description;
    std::istringstream lines(text.str());
    for (std::string line; std::getline(lines, line);)
        if (!(line.rfind("N: ", 0) == 0 && m_ptys.count(line.substr(3)))) description += line + "\n";
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, description.c_str(), &error)) {
        m_error = name + ": " + (error ? error->message : "rejected");
        if (error) g_error_free(error);
        return false;
    }
    for (const Record& record : records) {
        if (record.node.empty()) continue;
        const std::filesystem::path node = devDirectory() / record.node;
        std::error_code ignored;
        if (const auto pty = m_ptys.find(record.node); pty != m_ptys.end())
            std::filesystem::create_symlink(pty->second, node, ignored);
        else if (std::filesystem::is_symlink(node))
            m_ptys[record.node] = std::filesystem::read_symlink(node);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Record& record : records) {
        if (record.node.rfind("sg", 0) != 0) continue;
        // The USB device above the node is the record with ids whose path is the longest prefix.
        const Record* usb = nullptr;
        for (const Record& candidate : records)
            if (candidate.attributes.count("idVendor") && record.path.rfind(candidate.path + "/", 0) == 0 &&
                (!usb || candidate.path.size() > usb->path.size()))
                usb = &candidate;
        std::string cameraKey;
        const auto vendor = usb ? text::parseHex(usb->attributes.at("idVendor"), 0xFFFF) : std::nullopt;
        const auto product = usb ? text::parseHex(usb->attributes.at("idProduct"), 0xFFFF) : std::nullopt;
        if (vendor && product)
            for (const link::CameraIds& ids : m_cameraIds)
                if (ids.vendor == *vendor && ids.diskProduct == *product) cameraKey = baseName(usb->path);
        if (!cameraKey.empty() && !m_cameras.count(cameraKey)) m_cameras[cameraKey] = sim::factoryState();
        Node& node = m_nodes[record.node];
        node.cameraKey = cameraKey;
        node.present = true;
    }
    // A node is attached once and stays attached (umockdev cannot attach twice); a removed
    // node is refused by its flag.
    for (const Record& record : records) {
        if (record.node.rfind("sg", 0) != 0 || !m_attached.insert(record.node).second) continue;
        GError* attachError = nullptr;
        if (!umockdev_testbed_attach_ioctl(m_testbed, ("/dev/" + record.node).c_str(), m_handler,
                                           &attachError))
            m_error = record.node + ": " + (attachError ? attachError->message : "cannot attach");
        if (attachError) g_error_free(attachError);
    }
    m_plugged[name] = std::move(records);
    return true;
}

void MockDevices::unplug(const std::string& name) {
    std::vector<Record> records;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_plugged.find(name);
        if (it == m_plugged.end()) return;
        records = std::move(it->second);
        m_plugged.erase(it);
        for (const Record& record : records)
            if (m_nodes.count(record.node)) m_nodes[record.node].present = false;
    }
    // The kernel takes a device's children away before the device itself.
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.path.size() > b.path.size(); });
    for (const Record& record : records)
        umockdev_testbed_uevent(m_testbed, ("/sys" + record.path).c_str(), "remove");
    for (const Record& record : records) {
        umockdev_testbed_remove_device(m_testbed, ("/sys" + record.path).c_str());
        // A kept pty's node would outlive its device and still open.
        std::error_code ignored;
        if (!record.node.empty() && m_ptys.count(record.node))
            std::filesystem::remove(devDirectory() / record.node, ignored);
    }
    // umockdev leaves a removed device's links in /sys/block, /sys/class/<subsystem> and
    // /sys/bus/<subsystem>/devices behind, dangling, and cannot make them again when the device
    // comes back.
    const std::filesystem::path sys = devDirectory().parent_path() / "sys";
    for (const Record& record : records) {
        const std::string name = baseName(record.path);
        std::error_code ignored;
        for (const std::filesystem::path& link :
             {sys / "block" / name, sys / "class" / record.subsystem / name,
              sys / "bus" / record.subsystem / "devices" / name})
            if (std::filesystem::is_symlink(link) && !std::filesystem::exists(link))
                std::filesystem::remove(link, ignored);
    }
}

std::filesystem::path MockDevices::devDirectory() const {
    gchar* root = umockdev_testbed_get_root_dir(m_testbed);
    std::filesystem::path dev = std::filesystem::path(root) / "dev";
    g_free(root);
    return dev;
}

std::string MockDevices::error() const {
    return m_error;
}

sim::CameraState MockDevices::camera(const std::string& usbSysname) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_cameras[usbSysname];
}

void MockDevices::updateCamera(const std::function<void(sim::CameraState&)>& change,
                               const std::string& usbSysname) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_cameras.count(usbSysname)) m_cameras[usbSysname] = sim::factoryState();
    change(m_cameras[usbSysname]);
}

std::vector<SgIoRecord> MockDevices::requests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

std::vector<std::string> MockDevices::requestLines() {
    std::vector<std::string> lines;
    for (const SgIoRecord& record : requests())
        lines.push_back(record.line());
    return lines;
}

void MockDevices::clearRequests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

void MockDevices::addFault(const SgIoFault& fault) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults.push_back(fault);
    m_released = false;
}

bool MockDevices::waitUntilHeld(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, limit, [this] { return m_held > 0; });
}

void MockDevices::release() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
    }
    m_changed.notify_all();
}

bool MockDevices::takeModeSwitch() {
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool switched = m_modeSwitch;
    m_modeSwitch = false;
    return switched;
}

void MockDevices::switchPersonality(const std::string& from, const std::string& to) {
    unplug(from);
    plug(to);
}

int MockDevices::onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    return static_cast<MockDevices*>(self)->handle(client);
}

// Runs on umockdev's thread, once per ioctl of any process on any attached node.
int MockDevices::handle(UMockdevIoctlClient* client) {
    if (umockdev_ioctl_client_get_request(client) != SG_IO) return FALSE;
    const std::string node = baseName(umockdev_ioctl_client_get_devnode(client));
    const DataPtr header = resolvePointer(umockdev_ioctl_client_get_arg(client), 0, sizeof(sg_io_hdr_t));
    if (!header) {
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return TRUE;
    }
    auto* hdr = reinterpret_cast<sg_io_hdr_t*>(header->data);
    if (hdr->interface_id != 'S') {
        umockdev_ioctl_client_complete(client, -1, ENOSYS);
        return TRUE;
    }
    const DataPtr cdb = resolvePointer(header.get(), offsetof(sg_io_hdr_t, cmdp), hdr->cmd_len);
    const DataPtr data = resolvePointer(header.get(), offsetof(sg_io_hdr_t, dxferp), hdr->dxfer_len);
    const DataPtr sense = resolvePointer(header.get(), offsetof(sg_io_hdr_t, sbp), hdr->mx_sb_len);
    if (!cdb || (hdr->dxfer_len > 0 && !data)) {
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return TRUE;
    }

    const platform::Direction direction =
        hdr->dxfer_direction == SG_DXFER_TO_DEV ? platform::Direction::Out : platform::Direction::In;
    const std::span<const std::uint8_t> cdbBytes(cdb->data, static_cast<std::size_t>(cdb->data_len));
    const std::span<std::uint8_t> dataBytes =
        data ? std::span<std::uint8_t>(data->data, static_cast<std::size_t>(data->data_len))
             : std::span<std::uint8_t>();
    const std::string command = sim::commandName(cdbBytes, direction);

    std::unique_lock<std::mutex> lock(m_mutex);
    SgIoRecord record{node,
                      hex(cdb->data, cdbBytes.size()),
                      hdr->dxfer_direction == SG_DXFER_TO_DEV     ? 'o'
                      : hdr->dxfer_direction == SG_DXFER_FROM_DEV ? 'i'
                                                                  : '-',
                      hdr->dxfer_len,
                      hdr->timeout,
                      direction == platform::Direction::Out && data ? hex(data->data, dataBytes.size()) : ""};
    m_requests.push_back(record);

    SgIoFault fault;
    bool faulted = false;
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (!it->command.empty() && it->command != command) continue;
        fault = *it;
        faulted = true;
        if (--it->times <= 0) m_faults.erase(it);
        break;
    }
    if (faulted && fault.hold) {
        ++m_held;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released; });
        --m_held;
    }
    const Node info = m_nodes.count(node) ? m_nodes[node] : Node{};
    // The sg driver refuses every request on a node whose device has gone.
    if (!info.present && !(faulted && fault.hold)) {
        lock.unlock();
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return TRUE;
    }
    if (faulted && fault.errnoValue) {
        lock.unlock();
        umockdev_ioctl_client_complete(client, -1, fault.errnoValue);
        return TRUE;
    }

    hdr->status = 0;
    hdr->masked_status = 0;
    hdr->host_status = 0;
    hdr->driver_status = 0;
    hdr->sb_len_wr = 0;
    hdr->resid = 0;
    hdr->duration = 1;
    hdr->info = 0;
    const auto checkCondition = [&](std::uint8_t asc) {
        hdr->status = kCheckCondition;
        hdr->masked_status = kCheckCondition >> 1;
        hdr->driver_status = kDriverSense;
        hdr->info = SG_INFO_CHECK;
        if (!sense) return;
        std::uint8_t bytes[kSenseLength] = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, asc, 0};
        const std::size_t n = std::min<std::size_t>(kSenseLength, static_cast<std::size_t>(sense->data_len));
        std::memcpy(sense->data, bytes, n);
        hdr->sb_len_wr = static_cast<unsigned char>(n);
    };

    if (faulted && fault.hostStatus) {
        // The request never reached an answer: nothing comes back but the host byte.
        hdr->host_status = static_cast<unsigned short>(fault.hostStatus);
        hdr->resid = static_cast<int>(hdr->dxfer_len);
        hdr->info = SG_INFO_CHECK;
    } else if (info.cameraKey.empty()) {
        checkCondition(0x20);
        hdr->resid = static_cast<int>(hdr->dxfer_len);
    } else {
        sim::CameraState& state = m_cameras[info.cameraKey];
        const sim::CameraMode before = state.mode;
        std::vector<std::uint8_t> reply(dataBytes.begin(), dataBytes.end());
        platform::ScsiRequest request{cdbBytes, direction, reply, std::chrono::seconds(hdr->timeout / 1000),
                                      false};
        sim::answerCommand(state, request, std::chrono::system_clock::now());
        if (before == sim::CameraMode::Disk && state.mode == sim::CameraMode::PcCam) m_modeSwitch = true;
        if (direction == platform::Direction::In) {
            // A short transfer leaves the tail of the host's buffer as it was.
            const std::size_t sent = dataBytes.size() - std::min<std::size_t>(dataBytes.size(), fault.resid);
            std::copy_n(reply.begin(), sent, dataBytes.begin());
            hdr->resid = static_cast<int>(dataBytes.size() - sent);
        }
        if (faulted && fault.checkCondition) checkCondition(0x24);
        if (faulted) hdr->driver_status |= fault.driverStatus;
    }
    lock.unlock();
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
}

} // namespace trelvik::testing
