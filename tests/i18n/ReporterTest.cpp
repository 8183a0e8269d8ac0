// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "i18n/Reporter.h"
#include "support/CaseName.h"
#include "support/MemoryProfileReader.h"
#include "support/RecordingBoxPresenter.h"
#include "text/Utf8TextCodec.h"

namespace trelvik::i18n {
namespace {

const std::string kPath = "/t/msg.ini";

class ReporterTest : public ::testing::Test {
protected:
    void SetUp() override {
        reader.setFile(kPath, "[String]\n"
                              "0140=Yes!\n0141=No!\n0142=Okay\n0143=Abort\n0144=Trail camera\n"
                              "0119=USB Device not found!\n"
                              "011A=cmd_code=%d can not found!\n"
                              "0121=The \"%s\" medium can not be formated now!\\nTry again.\\x\n"
                              "0122=Are you sure to format the \"%s\" medium?\n"
                              "0123=Format?\n"
                              "0125=Done %d%%\n"
                              "0126=\\\\%s\n"
                              "0127=" +
                                  std::string(40, 'T') +
                                  "\n"
                                  "0128=" +
                                  std::string(600, 'L') + "\n");
        catalog.MessageFilePath = u"/t/msg.ini";
    }
    testing::MemoryProfileReader reader;
    text::Utf8TextCodec codec;
    testing::RecordingBoxPresenter boxes;
    MessageCatalog catalog{reader, codec};
    Reporter reporter{boxes, catalog, codec};
};

TEST_F(ReporterTest, ErrorBoxShowsPlainTextWithDefaultTitle) {
    reporter.ErrorBox("Section [%s] does not have \"%s\" key value", "Mass_Cmd_00", "cmd");
    ASSERT_EQ(boxes.count(), 1u);
    const BoxRequest& box = boxes.last();
    EXPECT_EQ(box.text, u"Section [Mass_Cmd_00] does not have \"cmd\" key value");
    EXPECT_TRUE(box.title.empty());
    EXPECT_EQ(box.icon, BoxIcon::Error);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
    EXPECT_TRUE(box.okCaption.empty());
    EXPECT_TRUE(reader.lookups().empty()); // the plain box is not localized
}

TEST_F(ReporterTest, ErrorBoxCutsAt511AndKeepsCharactersWhole) {
    const std::string path(600, 'p');
    reporter.ErrorBox("%s does not exist!", path.c_str());
    EXPECT_EQ(boxes.last().text, std::u16string(511, u'p'));
    // 510 ASCII bytes, then a two-byte character across the limit.
    reporter.ErrorBox("%s\xc3\xa4xyz", std::string(510, 'a').c_str());
    EXPECT_EQ(boxes.last().text, std::u16string(510, u'a') + u"\u00e4");
    // Text from a file does not act as a format: it is an argument.
    reporter.ErrorBox("%s", "%n%s%d");
    EXPECT_EQ(boxes.last().text, u"%n%s%d");
}

TEST_F(ReporterTest, PlainBoxShowsItsTextAsItStandsWithCaptionIconAndButtons) {
    boxes.scriptAnswers({kAnswerNo, 0});
    EXPECT_EQ(reporter.PlainBox("\"%s%n%d\" \\n", "Format?", 0x24), kAnswerNo);
    EXPECT_EQ(reporter.PlainBox(std::string(600, 'p'), "", 0x40), kAnswerOk); // closed: OK
    const BoxRequest& question = boxes.requests().at(0);
    EXPECT_EQ(question.text + u"|" + question.title + u"|" + question.yesCaption, u"\"%s%n%d\" \\n|Format?|");
    EXPECT_EQ(question.icon, BoxIcon::Question);
    EXPECT_EQ(question.buttons, BoxButtons::YesNo);
    EXPECT_EQ(boxes.last().text, std::u16string(511, u'p'));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Information);
    EXPECT_TRUE(reader.lookups().empty()); // the plain box is not localized
}

TEST_F(ReporterTest, ShowMsgByIdUnescapesThenFormats) {
    reporter.ShowMsgById(289, {u"SD\\n"});
    ASSERT_EQ(boxes.count(), 1u);
    const BoxRequest& box = boxes.last();
    // The text's escapes become characters; the argument's backslash stays as given.
    EXPECT_EQ(box.text, u"The \"SD\\n\" medium can not be formated now!\nTry again.\\x");
    EXPECT_EQ(box.title, u"Trail camera");
    EXPECT_EQ(box.icon, BoxIcon::Error);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
    EXPECT_EQ(box.yesCaption, u"Yes!");
    EXPECT_EQ(box.noCaption, u"No!");
    EXPECT_EQ(box.okCaption, u"Okay");
    EXPECT_EQ(box.cancelCaption, u"Abort");
}

TEST_F(ReporterTest, ShowMsgByIdNumbersAndPercent) {
    reporter.ShowMsgById(282, {0x57});
    EXPECT_EQ(boxes.last().text, u"cmd_code=87 can not found!");
    reporter.ShowMsgById(0x125, {42});
    EXPECT_EQ(boxes.last().text, u"Done 42%");
    reporter.ShowMsgById(0x126, {u"x"});
    EXPECT_EQ(boxes.last().text, u"\\x"); // "\\\\" is one backslash, and "%s" still fills
}

TEST_F(ReporterTest, ShowMsgByIdCutsTitleCaptionsAndText) {
    reader.setFile(kPath, "[String]\n0144=" + std::string(30, 'T') + "\n0142=" + std::string(30, 'O') +
                              "\n0128=" + std::string(255, 'L') + "%s\n");
    reporter.ShowMsgById(0x128, {std::u16string(400, u'A')});
    const BoxRequest& box = boxes.last();
    EXPECT_EQ(box.title, std::u16string(23, u'T'));
    EXPECT_EQ(box.okCaption, std::u16string(23, u'O'));
    // At most 255 units of the text count, so the "%s" behind them was cut away, not filled.
    EXPECT_EQ(box.text, std::u16string(255, u'L'));
}

TEST_F(ReporterTest, ShowMsgByIdCutsFormattedTextTo511) {
    reader.setFile(kPath, "[String]\n0128=%s%s\n");
    reporter.ShowMsgById(0x128, {std::u16string(400, u'A'), std::u16string(400, u'B')});
    EXPECT_EQ(boxes.last().text, std::u16string(400, u'A') + std::u16string(111, u'B'));
}

TEST_F(ReporterTest, MissingMessagesShowFallbacksWithoutExtraBox) {
    catalog.MessageFilePath.clear();
    reporter.ShowMsgById(281);
    ASSERT_EQ(boxes.count(), 1u);
    const BoxRequest& box = boxes.last();
    EXPECT_EQ(box.text, u"<n/a:0119>");
    EXPECT_EQ(box.title, u"<n/a:0144>");
    EXPECT_EQ(box.okCaption, u"<n/a:0142>");
}

TEST_F(ReporterTest, AskMsgByIdUsesCaptionMessageAsTitle) {
    boxes.scriptAnswers({kAnswerYes});
    EXPECT_EQ(reporter.AskMsgById(291, 290, 0x24, {u"SD"}), kAnswerYes);
    const BoxRequest& box = boxes.last();
    EXPECT_EQ(box.title, u"Format?");
    EXPECT_EQ(box.text, u"Are you sure to format the \"SD\" medium?");
    EXPECT_EQ(box.icon, BoxIcon::Question);
    EXPECT_EQ(box.buttons, BoxButtons::YesNo);
    EXPECT_EQ(box.yesCaption, u"Yes!");
    EXPECT_EQ(box.noCaption, u"No!");
}

TEST_F(ReporterTest, AskMsgByIdTitleCutTo39) {
    reporter.AskMsgById(0x127, 281, 0x40);
    EXPECT_EQ(boxes.last().title, std::u16string(39, u'T'));
}

struct FlagsCase {
    unsigned flags;
    BoxIcon icon;
    BoxButtons buttons;
};

// The flags as the box calls are written: "0x24".
std::string hexFlags(const FlagsCase& c) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", c.flags);
    return text;
}

class AskFlagsTest : public ReporterTest, public ::testing::WithParamInterface<FlagsCase> {};

TEST_P(AskFlagsTest, IconAndButtonsFromFlags) {
    reporter.AskMsgById(291, 290, GetParam().flags, {u"SD"});
    EXPECT_EQ(boxes.last().icon, GetParam().icon) << std::hex << GetParam().flags;
    EXPECT_EQ(boxes.last().buttons, GetParam().buttons) << std::hex << GetParam().flags;
}

INSTANTIATE_TEST_SUITE_P(Flags, AskFlagsTest,
                         ::testing::Values(FlagsCase{0x24, BoxIcon::Question, BoxButtons::YesNo},
                                           FlagsCase{0x40, BoxIcon::Information, BoxButtons::Ok},
                                           FlagsCase{0x10, BoxIcon::Error, BoxButtons::Ok},
                                           FlagsCase{0x11, BoxIcon::Error, BoxButtons::OkCancel},
                                           FlagsCase{0x30, BoxIcon::Warning, BoxButtons::Ok},
                                           FlagsCase{0x34, BoxIcon::Warning, BoxButtons::YesNo},
                                           FlagsCase{0x00, BoxIcon::Information, BoxButtons::Ok},
                                           FlagsCase{0x50, BoxIcon::Information, BoxButtons::Ok},
                                           FlagsCase{0xF3, BoxIcon::Information,
                                                     BoxButtons::Ok}, // 3 (Yes/No/Cancel) is not offered
                                           FlagsCase{0x22, BoxIcon::Question, BoxButtons::Ok},
                                           FlagsCase{0x25, BoxIcon::Question, BoxButtons::Ok},
                                           FlagsCase{0x124, BoxIcon::Question, BoxButtons::YesNo}),
                         testing::caseNames(hexFlags));

struct AnswerCase {
    int presented;
    int returned;
};

class AskAnswerTest : public ReporterTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(AskAnswerTest, AnswersMapToWindowsResults) {
    boxes.scriptAnswers({GetParam().presented});
    EXPECT_EQ(reporter.AskMsgById(291, 290, 0x21), GetParam().returned);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AskAnswerTest,
    ::testing::Values(AnswerCase{1, 1}, AnswerCase{2, 2}, AnswerCase{6, 6}, AnswerCase{7, 7},
                      AnswerCase{0, 1}, AnswerCase{3, 1}, AnswerCase{-1, 1}, AnswerCase{8, 1}),
    testing::caseNames([](const AnswerCase& c) { return std::tuple("presented", c.presented); }));

} // namespace
} // namespace trelvik::i18n
