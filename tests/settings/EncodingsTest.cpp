// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "settings/Encodings.h"

namespace trelvik::settings {
namespace {

using S = Status;

TEST(CombinedStatus, AnyFailureBeatsNotSupported) {
    const struct {
        std::vector<Status> reads;
        Status combined;
    } cases[] = {
        {{S::Ok, S::Ok, S::Ok}, S::Ok},
        {{S::Ok, S::Ok, S::NotSupported}, S::NotSupported},
        {{S::NotSupported, S::Failed, S::Ok}, S::Failed},
        {{S::Failed, S::NotSupported}, S::Failed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(combinedStatus(c.reads), c.combined);
}

TEST(RegisterBytes, SplitAndJoinLowByteFirst) {
    EXPECT_EQ(splitBytes(0x012C, 2), (std::vector<std::uint8_t>{0x2C, 0x01}));
    // A count beyond what the registers hold keeps its low bytes.
    EXPECT_EQ(splitBytes(0x1FFFF, 1), (std::vector<std::uint8_t>{0xFF}));
    EXPECT_EQ(splitBytes(65535, 3), (std::vector<std::uint8_t>{0xFF, 0xFF, 0x00}));
    EXPECT_EQ(splitBytes(0x0102, 6), (std::vector<std::uint8_t>{0x02, 0x01, 0x00, 0x00, 0x00, 0x00}));
    const std::vector<std::uint8_t> count{0x10, 0x27, 0x00};
    EXPECT_EQ(joinBytes(count), 10000u);
    const std::vector<std::uint8_t> high{0x01, 0x00, 0x01};
    EXPECT_EQ(joinBytes(high), 65537u);
}

TEST(RecordTime, ReadsEveryByteOntoTheScaleAndWritesPositionsBack) {
    const struct {
        std::uint8_t byte;
        ShownDuration shown;
        const char* text;
        std::uint8_t writtenBack; // the byte the shown position writes
    } cases[] = {
        {0x1E, {30, 30, false}, "30 sec", 0x1E},
        {0x3B, {59, 59, false}, "59 sec", 0x3B},
        {0x85, {64, 5, true}, "5 min", 0x85},
        {0x81, {60, 1, true}, "1 min", 0x81},
        {0x80, {59, 0, true}, "0 min", 0x3B},
        // Seconds beyond the scale: whole minutes, so an unchanged save stays on the scale.
        {0x50, {60, 1, true}, "1 min", 0x81},
        {0x7F, {61, 2, true}, "2 min", 0x82},
        {0xFF, {186, 127, true}, "127 min", 0xFF},
    };
    for (const auto& c : cases) {
        const ShownDuration shown = recordTimeFromByte(c.byte);
        EXPECT_EQ(shown, c.shown) << int(c.byte);
        EXPECT_EQ(durationText(shown), c.text) << int(c.byte);
        EXPECT_EQ(recordTimeByte(shown.position), c.writtenBack) << int(c.byte);
    }
    // The label of a position past 127 minutes names what is written: its low 7 bits.
    EXPECT_EQ(recordTimeAt(200), (ShownDuration{200, 13, true}));
    EXPECT_EQ(recordTimeByte(200), 0x8D);
}

TEST(Interval, ReadsWholeMinutesAndWritesTheirSeconds) {
    const struct {
        unsigned seconds;
        ShownDuration shown;
        unsigned writtenBack;
    } cases[] = {
        {45, {45, 45, false}, 45}, {59, {59, 59, false}, 59}, {60, {60, 1, true}, 60},
        {90, {60, 1, true}, 60},   {300, {64, 5, true}, 300}, {65535, {1151, 1092, true}, 65520},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(intervalFromSeconds(c.seconds), c.shown) << c.seconds;
        EXPECT_EQ(intervalSeconds(c.shown.position), c.writtenBack) << c.seconds;
    }
    // A position beyond what two registers hold writes the most they hold, and says so.
    EXPECT_EQ(intervalSeconds(5000), kMaxIntervalSeconds);
    EXPECT_EQ(intervalAt(5000), (ShownDuration{5000, 1092, true}));
}

TEST(TextRegisters, EveryByteSurvivesAReadAndAnUnchangedWrite) {
    const std::vector<std::vector<std::uint8_t>> cases = {
        {'1', '2', '3', '4'},     {'a', 'b', 0, 0},         {0xFF, 0xFF, 0xFF, 0xFF},
        {0x01, 0x1F, 0x7F, 0x80}, {0x9D, 0xA0, 0xE9, '\\'}, {'S', 'N', '-', '0', '0', '7', 0, 0, 0, 0},
        {'x', 0, 'y', 'z'},       {0, 0, 0, 'q'},           {0, 0, 0, 0},
    };
    for (const auto& bytes : cases)
        EXPECT_EQ(registersFromText(textFromRegisters(bytes), static_cast<int>(bytes.size())), bytes);
    EXPECT_EQ(textFromRegisters(std::vector<std::uint8_t>{'A', 0x01, 0x7F, 0, 'x', 0}),
              u"A\u2401\u2421\u2400x");
}

TEST(TextRegisters, AnEditedTextBecomesWidthBytes) {
    EXPECT_EQ(registersFromText(u"ab", 4), (std::vector<std::uint8_t>{'a', 'b', 0, 0}));
    EXPECT_EQ(registersFromText(u"abcde", 4), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd'}));
    // What no single byte stands for becomes '?', as a narrow conversion makes it.
    EXPECT_EQ(registersFromText(std::u16string_view(u"\u20AC\x0000\u00E9", 3), 3),
              (std::vector<std::uint8_t>{'?', '?', 0xE9}));
}

} // namespace
} // namespace trelvik::settings
