// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "platform/Native.h"
#include "shell/StartupSequence.h"
#include "shell/ui/MainWindow.h"
#include "support/Files.h"
#include "support/RecordingBoxPresenter.h"

namespace trelvik::testing {

// A German system whose executable lies in a folder of the test's choosing.
class FixedSystem : public platform::SystemInfo {
public:
    explicit FixedSystem(std::string exe) : m_exe(std::move(exe)) {}
    std::uint16_t systemLangId() const override { return 0x0407; }
    std::optional<std::string> executablePath() const override { return m_exe; }
    bool fileExists(const std::string& path) const override { return std::filesystem::is_regular_file(path); }
    char pathSeparator() const override { return '/'; }

private:
    std::string m_exe;
};

inline void copyData(const QString& name, const QString& toDir) {
    QFile::copy(QStringLiteral(TRELVIK_DATA_DIR "/") + name, toDir + "/" + name);
}

// The real window started the way the tool starts it, with boxes recorded.
struct WindowTool {
    std::unique_ptr<platform::ProfileReader> profile = platform::makeNativeProfileReader();
    std::unique_ptr<platform::TextCodec> codec = platform::makeNativeTextCodec();
    RecordingBoxPresenter presenter;
    i18n::MessageCatalog catalog{*profile, *codec};
    i18n::Reporter reporter{presenter, catalog, *codec};
    shell::AppState state;
    shell::TForm1 form;
    QTemporaryDir dir;
    std::unique_ptr<FixedSystem> system;
    std::unique_ptr<shell::StartupSequence> startup;

    bool start(const QString& folder) {
        system = std::make_unique<FixedSystem>((folder + "/trelvik").toStdString());
        startup = std::make_unique<shell::StartupSequence>(
            shell::StartupServices{*profile, *codec, *system, catalog, reporter}, state, form);
        return startup->FormCreate();
    }
    // The command table start-up loaded.
    const cmdtable::MassCmdTable& table() const { return *startup->table(); }
    // Starts beside copies of the sample files; `edit` may change the first (the command file).
    bool startWith(std::initializer_list<const char*> files,
                   const std::function<void(std::string&)>& edit = nullptr) {
        for (const char* file : files)
            copyData(file, dir.path());
        if (edit) {
            const std::filesystem::path commandFile = (dir.path() + "/" + *files.begin()).toStdString();
            std::string text = readText(commandFile);
            edit(text);
            writeText(commandFile, text);
        }
        return start(dir.path());
    }
    template <typename T> T* find(const QString& name) { return form.findChild<T*>(name); }
};

} // namespace trelvik::testing
