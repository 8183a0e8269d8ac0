// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/CameraSession.h"
#include "support/CaseName.h"

namespace trelvik::cli {
namespace {

using Kind = link::ConnectionError::Kind;

struct ReportCase {
    const char* name;
    link::ConnectionError error;
    int exit;
    std::string err;
};

class ErrorReportTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ErrorReportTest, PrintsTheSentenceAndPicksTheExitCode) {
    const ReportCase& c = GetParam();
    std::ostringstream err;
    EXPECT_EQ(reportError(c.error, err), c.exit);
    EXPECT_EQ(err.str(), c.err);
}

link::ConnectionError error(Kind kind, std::string text) {
    link::ConnectionError e;
    e.kind = kind;
    e.text = std::move(text);
    return e;
}

link::ConnectionError refusedOpen(bool permissionDenied) {
    link::ConnectionError e = error(Kind::OpenFailed, "cannot open /dev/sg2: error 13 (Permission denied)");
    e.path = "/dev/sg2";
    e.errorCode = 13;
    e.permissionDenied = permissionDenied;
    return e;
}

link::ConnectionError hostFailure() {
    // The connection puts the host's reason into the text; the camera is not blamed.
    link::ConnectionError e =
        error(Kind::CameraFailed, "cannot save the simulated camera's state file x: Permission denied");
    e.systemReason = e.text;
    return e;
}

const std::string kUdevHint = "The camera's device node is not writable for this user: install the udev rule "
                              "70-trelvik.rules and plug the camera in again.\n";

INSTANTIATE_TEST_SUITE_P(
    Kinds, ErrorReportTest,
    ::testing::Values(
        ReportCase{"NoCamera", error(Kind::NoCamera, "no camera found (USB 2E7A:0101)"), kExitNoCamera,
                   "trelvik-cli: no camera found (USB 2E7A:0101)\n"},
        ReportCase{"NotSupported", error(Kind::NotSupported, "the camera does not support register 0x25"),
                   kExitNotSupported, "trelvik-cli: the camera does not support register 0x25\n"},
        ReportCase{"CameraFailed", error(Kind::CameraFailed, "register 0x41 write failed"), kExitCameraFailed,
                   "trelvik-cli: register 0x41 write failed\n"},
        ReportCase{"HostFailed", hostFailure(), kExitCameraFailed,
                   "trelvik-cli: cannot save the simulated camera's state file x: Permission denied\n"},
        ReportCase{"OpenFailed", refusedOpen(false), kExitCameraFailed,
                   "trelvik-cli: cannot open /dev/sg2: error 13 (Permission denied)\n"},
        ReportCase{"OpenWithoutRights", refusedOpen(true), kExitCameraFailed,
                   "trelvik-cli: cannot open /dev/sg2: error 13 (Permission denied)\n" + kUdevHint}),
    testing::namedCases());

} // namespace
} // namespace trelvik::cli
