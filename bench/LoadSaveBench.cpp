// SPDX-License-Identifier: MIT
// Load and Save of all settings, where users wait: the whole window offscreen against the
// simulated camera, each request through the request gate as in the tool, with no reply
// latency and with 1 ms per command. Reports transfers, wall time, the time the camera's
// replies really took, and the tool's own time per transfer (wall time less the camera's,
// over the transfers). Build it optimised: cmake --preset release.
//   bench_load_save [--runs N]
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStyleFactory>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "cmdtable/MassCmd.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "platform/Native.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/RequestGate.h"
#include "shell/ui/WindowActions.h"
#include "sim/SimDiskSystem.h"

using namespace trelvik;

namespace {

class SilentPresenter : public i18n::BoxPresenter {
public:
    int show(const i18n::BoxRequest&) override { return i18n::kAnswerOk; }
};

struct Figures {
    std::size_t transfers = 0;
    double wallMs = 0;
    double cameraMs = 0; // what the camera's replies really took: a sleep of 1 ms takes longer
};

// One run of `button` on a window of `toolMode` whose camera answers after `latencyMs`.
Figures runOnce(cmdtable::ToolMode toolMode, const char* button, int latencyMs) {
    const auto profile = platform::makeNativeProfileReader();
    const auto codec = platform::makeNativeTextCodec();
    SilentPresenter presenter;
    i18n::MessageCatalog catalog(*profile, *codec);
    i18n::Reporter reporter(presenter, catalog, *codec);
    const bool settingsTool = toolMode == cmdtable::ToolMode::Settings;
    const std::string commandFile =
        std::string(TRELVIK_DATA_DIR) + (settingsTool ? "/Camera_Setting.ini" : "/mass_cmd.ini");
    cmdtable::MassCmdTable table(*profile, reporter, toolMode);
    table.MassCmd_LoadTable(commandFile);
    shell::AppState state;
    state.ToolMode = toolMode;
    state.WindowTitleBase = "Bench";
    shell::TForm1 form;
    form.adaptToToolMode(toolMode);
    form.BindCommandTable({table, catalog, *codec, toolMode});

    double sleptMs = 0;
    sim::SimOptions options;
    options.sleep = [&sleptMs](std::chrono::milliseconds latency) {
        QElapsedTimer slept;
        slept.start();
        std::this_thread::sleep_for(latency);
        sleptMs += static_cast<double>(slept.nsecsElapsed()) / 1e6;
    };
    sim::SimDiskSystem camera(sim::factoryState(), options);
    camera.update([&](sim::CameraState& s) { s.faults.latencyMs = latencyMs; });
    shell::RequestGate gate;
    shell::GatedDiskSystem gated(camera, gate);
    link::CameraConnection connection(gated, camera.ids(), link::CameraConnection::Opening::Explicit);
    (void)connection.open();
    shell::WindowActions actions(form, {table, state, reporter, *codec, connection, {}});
    auto* target = form.findChild<QPushButton*>(button);
    // Save writes what a Load showed.
    if (std::strcmp(button, "TntButton_Save_Camera_Settings") == 0)
        form.findChild<QPushButton*>("TntButton_Load_Camera_Settings")->click();
    camera.clearCommandLog();
    sleptMs = 0;
    QElapsedTimer wall;
    wall.start();
    target->click();
    Figures figures;
    figures.wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    figures.transfers = camera.commandLog().size();
    figures.cameraMs = sleptMs;
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    int runs = 5;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    std::printf("%-8s %-5s %-8s %9s %10s %12s %22s\n", "tool", "run", "latency", "transfers", "wall (ms)",
                "camera (ms)", "own time (ms/transfer)");
    for (const auto toolMode : {cmdtable::ToolMode::Full, cmdtable::ToolMode::Settings})
        for (const char* button : {"TntButton_Load_Camera_Settings", "TntButton_Save_Camera_Settings"})
            for (int latencyMs : {0, 1}) {
                std::vector<Figures> all;
                for (int run = 0; run < runs; ++run)
                    all.push_back(runOnce(toolMode, button, latencyMs));
                std::sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.wallMs < b.wallMs; });
                const Figures& median = all[all.size() / 2];
                const double own = (median.wallMs - median.cameraMs) /
                                   static_cast<double>(std::max<std::size_t>(median.transfers, 1));
                std::printf("%-8s %-5s %5d ms %9zu %10.2f %12.2f %22.4f\n",
                            toolMode == cmdtable::ToolMode::Full ? "full" : "settings",
                            std::strstr(button, "Load") ? "Load" : "Save", latencyMs, median.transfers,
                            median.wallMs, median.cameraMs, own);
            }
    return 0;
}
