// SPDX-License-Identifier: MIT
#include "cli/CommandTableFile.h"

#include <filesystem>
#include <ostream>
#include <vector>

#include "cli/NativeServices.h"
#include "i18n/BoxPresenter.h"

namespace trelvik::cli {

const char* const kTableOptionHelp =
    "  --table=FILE             the command file naming the camera's settings (default: mass_cmd.ini\n"
    "                           beside trelvik-cli, else in the installed tool's folder); its [APP]\n"
    "                           ids name the camera unless --ids-from does\n";

// The command file's complaints become lines on the error stream.
class CommandTableFile::Presenter final : public i18n::BoxPresenter {
public:
    Presenter(std::ostream& err, const platform::TextCodec& codec) : m_err(err), m_codec(codec) {}
    int show(const i18n::BoxRequest& request) override {
        m_err << "trelvik-cli: " << m_codec.toNarrow(request.text) << "\n";
        return i18n::kAnswerOk;
    }

private:
    std::ostream& m_err;
    const platform::TextCodec& m_codec;
};

CommandTableFile::CommandTableFile() = default;

CommandTableFile::~CommandTableFile() = default;

int CommandTableFile::load(const Invocation& invocation, std::ostream& err) {
    NativeServices& natives = *invocation.natives;
    if (const auto given = invocation.value("table")) {
        m_path = *given;
    } else {
        // The CLI beside the tool (a run folder, a copy) or in the bin folder of an installation.
        const auto exe = natives.system().executablePath();
        const std::filesystem::path folder = exe ? std::filesystem::path(*exe).parent_path() : ".";
        const std::vector<std::filesystem::path> candidates = {
            folder / "mass_cmd.ini", folder / ".." / "lib" / "trelvik" / "mass_cmd.ini"};
        for (const auto& candidate : candidates)
            if (!notAFile(candidate.string())) {
                m_path = candidate.lexically_normal().string();
                break;
            }
        if (m_path.empty()) {
            err << "trelvik-cli: no command file given and none found; looked for "
                << candidates[0].lexically_normal().string() << " and "
                << candidates[1].lexically_normal().string() << " (name one with --table=FILE)\n";
            return kExitUsage;
        }
    }
    if (const auto problem = notAFile(m_path)) {
        err << "trelvik-cli: " << m_path << " " << *problem << "\n";
        return kExitUsage;
    }
    m_presenter = std::make_unique<Presenter>(err, natives.codec());
    m_catalog = std::make_unique<i18n::MessageCatalog>(natives.profiles(), natives.codec());
    m_reporter = std::make_unique<i18n::Reporter>(*m_presenter, *m_catalog, natives.codec());
    m_table =
        std::make_unique<cmdtable::MassCmdTable>(natives.profiles(), *m_reporter, cmdtable::ToolMode::Full);
    if (!m_table->MassCmd_LoadTable(m_path)) return kExitUsage;
    return kExitOk;
}

} // namespace trelvik::cli
