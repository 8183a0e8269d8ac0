// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "cmdtable/MassCmd.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "platform/Native.h"
#include "profile/ProfileDocument.h"

using namespace trelvik;

namespace {

const std::string kCommandFile = TRELVIK_DATA_DIR "/mass_cmd.ini";
const std::string kMessageFile = TRELVIK_DATA_DIR "/Camera_Setting_UNICODE_msg.ini";

class SilentPresenter : public i18n::BoxPresenter {
public:
    int show(const i18n::BoxRequest&) override { return i18n::kAnswerOk; }
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Parsing and indexing the full tool's command file once.
void ParseCommandFile(benchmark::State& state) {
    const std::string bytes = readAll(kCommandFile);
    for (auto _ : state)
        benchmark::DoNotOptimize(profile::ProfileDocument(bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ParseCommandFile);

// The whole load of the full tool's command table, as start-up does it, with a fresh
// reader each time so the file is read and parsed too.
void LoadCommandTable(benchmark::State& state) {
    const auto codec = platform::makeNativeTextCodec();
    SilentPresenter presenter;
    for (auto _ : state) {
        const auto reader = platform::makeNativeProfileReader();
        i18n::MessageCatalog catalog(*reader, *codec);
        i18n::Reporter reporter(presenter, catalog, *codec);
        cmdtable::MassCmdTable table(*reader, reporter, cmdtable::ToolMode::Full);
        if (!table.MassCmd_LoadTable(kCommandFile)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(table.entry_count());
    }
}
BENCHMARK(LoadCommandTable)->Unit(benchmark::kMicrosecond);

// Every text the settings tool looks up while it starts, in one language.
void LookUpMessages(benchmark::State& state) {
    const auto codec = platform::makeNativeTextCodec();
    const auto reader = platform::makeNativeProfileReader();
    i18n::MessageCatalog catalog(*reader, *codec);
    catalog.MessageFilePath = codec->toWide(kMessageFile);
    catalog.LanguageBase = 0x4000;
    for (auto _ : state)
        for (int id = 256; id <= 329; ++id)
            benchmark::DoNotOptimize(catalog.GetMsgText(id));
}
BENCHMARK(LookUpMessages)->Unit(benchmark::kMicrosecond);

} // namespace
