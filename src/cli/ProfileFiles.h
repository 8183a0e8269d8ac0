// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <string>

// The files dump writes: whole or not at all, and never over a file that is not its own.
namespace trelvik::cli {

// Whether `text`, a file's content, is a profile dump wrote of the camera `device`, as an
// INI profile or as JSON.
bool isProfileOfCamera(const std::string& text, const std::string& device);

// Whether a profile of the camera `device` may be written at `path`: nothing is there yet, or
// an earlier profile of that camera. Says why not on `err`.
bool mayWriteProfile(const std::string& path, const std::string& device, std::ostream& err);

// Writes `text` to `path` beside it and renames it over, so a failure leaves the file as it
// was; says why on `err` in the system's words.
bool writeProfileFile(const std::string& path, const std::string& text, std::ostream& err);

} // namespace trelvik::cli
