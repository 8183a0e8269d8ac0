// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/DiskSystem.h"

namespace trelvik::link {

// One look at a system's drives, kept for a whole command: every camera of the command is
// found in it and opened from it, where each would otherwise walk the system again (a
// folder of N simulated cameras read N times for each of N cameras). rescan() forgets it, so
// a failure can ask whether the camera is still there. Safe to share between threads.
class CatalogSnapshot final : public platform::DiskSystemDecorator {
public:
    // `inner` must outlive this object and the disks it opens.
    explicit CatalogSnapshot(platform::DiskSystem& inner) : DiskSystemDecorator(inner) {}

    std::vector<platform::DriveEntry> drives() override { return catalog().drives; }
    std::vector<platform::UsbDeviceNode> usbDevices() override { return catalog().usbDevices; }
    Catalog catalog() override {
        std::lock_guard lock(m_mutex);
        if (!m_catalog) m_catalog = m_inner.catalog();
        return *m_catalog;
    }
    Catalog camerasCatalog(std::uint16_t vendor, std::uint16_t product) override {
        std::lock_guard lock(m_mutex);
        if (m_catalog) return *m_catalog;
        auto [it, fresh] = m_cameras.try_emplace({vendor, product});
        if (fresh) it->second = m_inner.camerasCatalog(vendor, product);
        return it->second;
    }
    void rescan() override {
        std::lock_guard lock(m_mutex);
        m_catalog.reset();
        m_cameras.clear();
        m_inner.rescan();
    }

private:
    std::mutex m_mutex;
    std::optional<Catalog> m_catalog;
    std::map<std::pair<std::uint16_t, std::uint16_t>, Catalog> m_cameras; // by vendor and product id
};

} // namespace trelvik::link
