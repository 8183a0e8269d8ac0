// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "cli/Cli.h"
#include "cmdtable/MassCmd.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "platform/ProfileReader.h"
#include "platform/TextCodec.h"

// The command file that names the camera's settings for the profile commands and the
// register names of read and write.
namespace trelvik::cli {

// "--table=FILE": the command file; without it mass_cmd.ini beside the CLI's real path, else
// in the installed tool's folder.
inline const OptionSpec kTableOption{"table", OptionValue::Required};
extern const char* const kTableOptionHelp;

class CommandTableFile {
public:
    CommandTableFile();
    ~CommandTableFile();
    // Loads the file the invocation names or the default one. kExitOk, or kExitUsage after
    // saying on `err` what is wrong or where it looked.
    int load(const Invocation& invocation, std::ostream& err);
    const cmdtable::MassCmdTable& table() const { return *m_table; }
    const std::string& path() const { return m_path; }

private:
    class Presenter;
    std::unique_ptr<Presenter> m_presenter;
    std::unique_ptr<i18n::MessageCatalog> m_catalog;
    std::unique_ptr<i18n::Reporter> m_reporter;
    std::unique_ptr<cmdtable::MassCmdTable> m_table;
    std::string m_path;
};

} // namespace trelvik::cli
