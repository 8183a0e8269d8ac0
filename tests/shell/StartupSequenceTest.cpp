// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "debuglog/DebugLog.h"
#include "platform/Native.h"
#include "shell/StartupSequence.h"
#include "support/CaseName.h"
#include "support/Files.h"
#include "support/RecordingBoxPresenter.h"

namespace fs = std::filesystem;
using namespace trelvik;

namespace {

class FakeSystem : public platform::SystemInfo {
public:
    std::uint16_t langId = 0x0409;
    std::optional<std::string> exePath;
    std::uint16_t systemLangId() const override { return langId; }
    std::optional<std::string> executablePath() const override { return exePath; }
    bool fileExists(const std::string& path) const override { return fs::is_regular_file(path); }
    char pathSeparator() const override { return static_cast<char>(fs::path::preferred_separator); }
};

class RecordingView : public shell::StartupView {
public:
    std::uint32_t colour = 0;
    std::optional<std::string> caption;
    std::optional<cmdtable::ToolMode> toolMode;
    std::optional<std::vector<std::u16string>> languages;
    int selectedLanguage = -2;
    bool shown = false;
    std::optional<cmdtable::ToolMode> boundFor;
    std::vector<std::string> steps; // the view's calls in order
    void setWindowColour(std::uint32_t bgr) override {
        colour = bgr;
        steps.push_back("colour");
    }
    void setCaption(const std::string& title) override {
        caption = title;
        steps.push_back("caption");
    }
    void adaptToToolMode(cmdtable::ToolMode mode) override {
        toolMode = mode;
        steps.push_back("adapt");
    }
    void RefreshTrackBars() override { steps.push_back("refresh"); }
    void BindCommandTable(const settings::BindingSources& sources) override {
        boundFor = sources.toolMode;
        steps.push_back("bind " + std::to_string(sources.table.entry_count()));
    }
    void fillLanguageList(const std::vector<std::u16string>& names, int selected) override {
        languages = names;
        selectedLanguage = selected;
        steps.push_back("languages");
    }
    void ApplyCaptions(const shell::CaptionSources&) override { steps.push_back("captions"); }
    void showAndPaint() override {
        shown = true;
        steps.push_back("show");
    }
};

// The message file is UTF-16LE with a byte-order mark, as the tool ships it.
void writeUtf16File(const fs::path& path, const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    trelvik::testing::writeText(path, bytes);
}

const char* kTable = "[APP]\nTitle=Field camera\n[Mass_Cmd_00]\nname=RESOLUTION_MODE\ncmd=0x01\ncount=2\n"
                     "0=0:VGA\n1=1:HD\n";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { system.exePath = (m_dir / "trelvik").string(); }

    bool runFormCreate() {
        shell::StartupSequence startup({*profile, *codec, system, catalog, reporter}, state, view);
        const bool ok = startup.FormCreate();
        tableLoaded = startup.table() != nullptr;
        return ok;
    }
    std::string boxText(std::size_t i = 0) const { return codec->toNarrow(presenter.requests().at(i).text); }

    trelvik::testing::TempDir m_scratch{"trelvik-startup"};
    fs::path m_dir = m_scratch.path();
    std::unique_ptr<platform::ProfileReader> profile = platform::makeNativeProfileReader();
    std::unique_ptr<platform::TextCodec> codec = platform::makeNativeTextCodec();
    FakeSystem system;
    trelvik::testing::RecordingBoxPresenter presenter;
    i18n::MessageCatalog catalog{*profile, *codec};
    i18n::Reporter reporter{presenter, catalog, *codec};
    shell::AppState state;
    RecordingView view;
    bool tableLoaded = false;
};

TEST(LanguageBase, FollowsThePrimaryLanguageOfTheSystem) {
    struct Case {
        std::uint16_t langId;
        std::int32_t base;
        std::string line;
    } cases[] = {
        {0x0404, 0x2000, "it is Trad Chinese Windows\n"},
        {0x0804, 0x3000, "it is Trad Simplified Chinsese Windows\n"},
        {0x0C04, 0x3000, "it is Trad Simplified Chinsese Windows\n"}, // Hong Kong: sub-language 3
        {0x0407, 0x1000, "it is German Windows\n"},
        {0x0807, 0x1000, "it is German Windows\n"},
        {0x0411, 0x4000, "it is Japanese Windows\n"},
        {0x0409, 0x0000, "it is English-like Windows\n"},
        {0x0C07 + 0x400 * 8, 0x1000, "it is German Windows\n"}, // any sub-language of German
        {0x0104, 0x0000, "it is English-like Windows\n"},       // 0x104: primary 0x104, not Chinese
    };
    for (const Case& c : cases) {
        const auto choice = shell::LanguageBaseForLangId(c.langId);
        EXPECT_EQ(choice.base, c.base) << std::hex << c.langId;
        EXPECT_EQ(choice.debugLine, c.line) << std::hex << c.langId;
    }
}

TEST(MessageFilePath, ReplacesEverythingFromTheLastDot) {
    EXPECT_EQ(shell::MessageFilePathFor("/opt/t/Camera_Setting.ini"),
              "/opt/t/Camera_Setting_UNICODE_msg.ini");
    EXPECT_EQ(shell::MessageFilePathFor("/opt/t.v2/Camera_Setting.ini"),
              "/opt/t.v2/Camera_Setting_UNICODE_msg.ini");
    EXPECT_EQ(shell::MessageFilePathFor("/opt/t/noext"), "/opt/t/noext");
}

TEST_F(StartupTest, ExecutablePathWithoutSeparatorEndsTheTool) {
    system.exePath = "trelvik";
    EXPECT_FALSE(runFormCreate());
    ASSERT_EQ(presenter.count(), 1u);
    EXPECT_EQ(boxText(), "Invalid Execute File Name:\n\ntrelvik");
    EXPECT_EQ(presenter.last().icon, i18n::BoxIcon::Error);
    EXPECT_FALSE(view.shown);
}

TEST_F(StartupTest, MissingCommandFilesNameTheSettingsToolsFile) {
    EXPECT_FALSE(runFormCreate());
    ASSERT_EQ(presenter.count(), 1u);
    EXPECT_EQ(boxText(), (m_dir / "Camera_Setting.ini").string() + " does not exist!");
    EXPECT_FALSE(view.shown);
}

TEST_F(StartupTest, SettingsToolWithoutMessageFileNamesItsFullPath) {
    trelvik::testing::writeText(m_dir / "Camera_Setting.ini", kTable);
    EXPECT_FALSE(runFormCreate());
    ASSERT_EQ(presenter.count(), 1u);
    EXPECT_EQ(boxText(), (m_dir / "Camera_Setting_UNICODE_msg.ini").string() + " does not exist!");
    EXPECT_FALSE(tableLoaded);
}

TEST_F(StartupTest, BothCommandFilesMakeTheFullToolWithoutMessageFile) {
    trelvik::testing::writeText(m_dir / "mass_cmd.ini", kTable);
    trelvik::testing::writeText(m_dir / "Camera_Setting.ini", kTable);
    system.langId = 0x0807; // Swiss German
    debuglog::DebugCapture debug;
    ASSERT_TRUE(runFormCreate());
    EXPECT_TRUE(presenter.requests().empty());
    EXPECT_EQ(state.ToolMode, cmdtable::ToolMode::Full);
    EXPECT_EQ(view.toolMode, cmdtable::ToolMode::Full);
    EXPECT_TRUE(catalog.MessageFilePath.empty());
    EXPECT_EQ(catalog.LanguageBase, 0x1000);
    EXPECT_FALSE(view.languages.has_value());
    EXPECT_EQ(view.caption, "Field camera");
    EXPECT_EQ(view.colour, 0xD8E9ECu);
    EXPECT_TRUE(view.shown);
    EXPECT_TRUE(tableLoaded);
    ASSERT_FALSE(debug.lines().empty());
    EXPECT_EQ(debug.lines().front(), "QZ::it is German Windows\n");
}

// The binding needs the loaded table and comes before the settings tool's language list,
// which in turn comes before the first paint.
TEST_F(StartupTest, StepsReachTheWindowInOrderForEachToolMode) {
    const struct {
        const char* commandFile;
        cmdtable::ToolMode mode;
        std::vector<std::string> steps;
    } cases[] = {
        {"mass_cmd.ini",
         cmdtable::ToolMode::Full,
         {"colour", "caption", "adapt", "refresh", "bind 1", "show"}},
        {"Camera_Setting.ini",
         cmdtable::ToolMode::Settings,
         {"colour", "caption", "adapt", "refresh", "bind 1", "languages", "captions", "show"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandFile);
        fs::remove(m_dir / "mass_cmd.ini");
        trelvik::testing::writeText(m_dir / c.commandFile, kTable);
        writeUtf16File(m_dir / "Camera_Setting_UNICODE_msg.ini", u"[Language]\r\n0=English,0409,0\r\n");
        view = RecordingView();
        ASSERT_TRUE(runFormCreate());
        EXPECT_EQ(view.steps, c.steps);
        EXPECT_EQ(view.boundFor, c.mode);
    }
}

TEST_F(StartupTest, BrokenCommandTableEndsTheToolAfterTheLoadersBox) {
    trelvik::testing::writeText(m_dir / "mass_cmd.ini", "[Mass_Cmd_00]\nname=X\n");
    EXPECT_FALSE(runFormCreate());
    ASSERT_EQ(presenter.count(), 1u);
    EXPECT_EQ(boxText(), "Section [Mass_Cmd_00] does not have \"cmd\" key value");
    EXPECT_FALSE(view.shown);
    EXPECT_FALSE(view.boundFor.has_value());
}

TEST_F(StartupTest, TitleIsCutTo127CharactersAndAMissingTitleKeepsTheCaption) {
    trelvik::testing::writeText(m_dir / "mass_cmd.ini",
                                "[APP]\nTitle=" + std::string(300, 'T') + "\n[Mass_Cmd_00]\n");
    ASSERT_TRUE(runFormCreate());
    EXPECT_EQ(view.caption, std::string(127, 'T'));

    trelvik::testing::writeText(m_dir / "mass_cmd.ini", "[APP]\nTitle=\n");
    view = RecordingView();
    ASSERT_TRUE(runFormCreate());
    EXPECT_FALSE(view.caption.has_value());
}

struct LanguageCase {
    const char* name;
    std::uint16_t systemLangId;
    std::u16string languages;
    std::int32_t expectedBase;
    int expectedSelection;
};

class LanguageChoiceTest : public StartupTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageChoiceTest, ChoosesTheFirstMatchingEntry) {
    const LanguageCase& c = GetParam();
    trelvik::testing::writeText(m_dir / "Camera_Setting.ini", kTable);
    writeUtf16File(m_dir / "Camera_Setting_UNICODE_msg.ini",
                   u"[Language]\r\n" + c.languages + u"[String]\r\n");
    system.langId = c.systemLangId;
    ASSERT_TRUE(runFormCreate());
    EXPECT_EQ(state.ToolMode, cmdtable::ToolMode::Settings);
    EXPECT_EQ(catalog.LanguageBase, c.expectedBase);
    ASSERT_TRUE(view.languages.has_value());
    EXPECT_EQ(view.languages->size(), state.LanguageTable.size());
    EXPECT_EQ(view.selectedLanguage, c.expectedSelection);
}

INSTANTIATE_TEST_SUITE_P(
    Startup, LanguageChoiceTest,
    ::testing::Values(
        LanguageCase{"WildcardBeforeExactOnTraditional", 0x0404,
                     u"0=English,FF09,0\r\n1=中文,FF04,2000\r\n2=繁體,0404,5000\r\n", 0x2000, 1},
        LanguageCase{"WildcardBeforeExactOnSimplified", 0x0804,
                     u"0=English,FF09,0\r\n1=中文,FF04,2000\r\n2=繁體,0404,5000\r\n", 0x2000, 1},
        LanguageCase{"NoMatchTakesTheFirstEntry", 0x0411, u"0=Deutsch,FF07,1000\r\n1=English,0409,0\r\n",
                     0x1000, 0},
        LanguageCase{"EmptyListGivesBaseZero", 0x0407, u"", 0, -1},
        LanguageCase{"GapEndsTheList", 0x0411, u"0=English,0409,0\r\n2=日本語,0411,4000\r\n", 0, 0},
        LanguageCase{"LastEntryWithTheBaseIsSelected", 0x0409,
                     u"0=English,0409,0\r\n1=English (UK),0809,0\r\n", 0, 1}),
    trelvik::testing::namedCases());

TEST_F(StartupTest, LongFolderNamesStillFindTheMessageFile) {
    // Past 255 characters a cut path would test one file and read another.
    if (platform::makeNativeSystemInfo()->pathSeparator() == '\\')
        GTEST_SKIP() << "Windows' profile calls take paths of at most MAX_PATH (260) characters";
    fs::path deep = m_dir;
    for (int i = 0; i < 6; ++i)
        deep /= std::string(50, static_cast<char>('a' + i));
    fs::create_directories(deep);
    system.exePath = (deep / "trelvik").string();
    trelvik::testing::writeText(deep / "Camera_Setting.ini", kTable);
    writeUtf16File(deep / "Camera_Setting_UNICODE_msg.ini",
                   u"[Language]\r\n0=日本語,0411,4000\r\n[String]\r\n4100=自動\r\n");
    system.langId = 0x0411;
    ASSERT_TRUE(runFormCreate());
    EXPECT_EQ(catalog.LanguageBase, 0x4000);
    EXPECT_EQ(catalog.GetMsgText(0x100), u"自動");
}

} // namespace
