// SPDX-License-Identifier: MIT
// Loads arbitrary bytes as a command file, then asks the table for every code it holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "cmdtable/MassCmd.h"
#include "i18n/BoxPresenter.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "text/Utf8TextCodec.h"

namespace {

using namespace trelvik;
using fuzzing::DocumentReader;
using text::Utf8TextCodec;

class NullPresenter final : public i18n::BoxPresenter {
public:
    int show(const i18n::BoxRequest& request) override {
        if (request.text.size() > i18n::kMaxBoxTextLength) __builtin_trap();
        return i18n::kAnswerOk;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DocumentReader reader(std::string_view(reinterpret_cast<const char*>(data), size));
    const Utf8TextCodec codec;
    NullPresenter presenter;
    // The same bytes also serve as message file, so "#" labels and message 282 resolve.
    i18n::MessageCatalog catalog(reader, codec);
    catalog.MessageFilePath = u"fuzz.ini";
    i18n::Reporter reporter(presenter, catalog, codec);
    // One load per input (the document's lookups dominate the time); the first byte picks
    // the tool mode, which only changes how a missing code is reported.
    {
        cmdtable::MassCmdTable table(reader, reporter,
                                     size > 0 && (data[0] & 1) ? cmdtable::ToolMode::Settings
                                                               : cmdtable::ToolMode::Full);
        if (!table.MassCmd_LoadTable("fuzz.ini")) {
            if (table.entry_count() != 0) __builtin_trap();
            return 0;
        }
        if (table.entry_count() > cmdtable::kMaxEntries) __builtin_trap();
        for (std::size_t index = 0; index < table.entries().size(); ++index) {
            const cmdtable::MassCmd& entry = table.entries()[index];
            // A later entry with an earlier entry's code is never found: only the first counts.
            const bool first = table.MassCmd_CmdIdToCmdIndex(entry.cmd_code) == static_cast<int>(index);
            if (entry.name.empty() || entry.name.size() > cmdtable::kMaxNameLength) __builtin_trap();
            if (entry.count > 0 && entry.items.size() != static_cast<std::size_t>(entry.count))
                __builtin_trap();
            if (entry.items.size() > static_cast<std::size_t>(cmdtable::kMaxChoices)) __builtin_trap();
            for (const cmdtable::MassCmdItem& item : entry.items) {
                if (item.label.empty() || item.label.size() > cmdtable::kMaxLabelLength) __builtin_trap();
                if (first && table.ValueToItemIndex(entry.cmd_code, item.value) < 0) __builtin_trap();
                (void)catalog.GetLabelText(item.label);
            }
            (void)table.ItemIndexToValue(entry.cmd_code, entry.count);
            (void)table.ItemIndexToValue(entry.cmd_code, -1);
            (void)catalog.GetLabelText(entry.name);
        }
        (void)table.MassCmd_CmdIdToCmdIndex(0x7FFFFFFF);
    }
    return 0;
}
