// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Native.h"
#include "platform/linux/IniFileProfileReader.h"
#include "support/Files.h"

namespace trelvik::platform {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = TRELVIK_FIXTURES "/profile/";

// A fresh folder per test, removed afterwards, that files are written into.
class TempFolder : public testing::TempDir {
public:
    TempFolder() : TempDir("trelvik-profile") {}
    std::string write(const std::string& name, const std::string& bytes) const {
        testing::writeText(*this / name, bytes);
        return (*this / name).string();
    }
};

TEST(IniFileProfileReader, MissingFileGivesEmpty) {
    const IniFileProfileReader reader;
    EXPECT_EQ(reader.getString(kFixtures + "no_such_file.ini", "APP", "Title", 128), "");
    EXPECT_EQ(reader.getStringW(u"/no/such/dir/file.ini", u"APP", u"Title", 128), u"");
    EXPECT_EQ(reader.getString("", "APP", "Title", 128), "");
}

TEST(IniFileProfileReader, FolderGivesEmpty) {
    const IniFileProfileReader reader;
    EXPECT_EQ(reader.getString(kFixtures, "", "", 256), "");
}

TEST(IniFileProfileReader, Utf16MessageFileNarrowAndWide) {
    const IniFileProfileReader reader;
    const std::string path = kFixtures + "message_utf16le.ini";
    const std::u16string widePath(path.begin(), path.end());
    EXPECT_EQ(reader.getStringW(widePath, u"String", u"0100", 256), u"Auto connect");
    EXPECT_EQ(reader.getStringW(widePath, u"string", u"1100", 256), u"  Grüße aus dem Wald  ");
    EXPECT_EQ(reader.getStringW(widePath, u"STRING", u"2100", 256), u"自動連線 \U0001F98C");
    EXPECT_EQ(reader.getStringW(widePath, u"Language", u"2", 256), u"中文(繁體),0404,2000");
    EXPECT_EQ(reader.getString(path, "String", "2100", 256),
              "\xE8\x87\xAA\xE5\x8B\x95\xE9\x80\xA3\xE7\xB7\x9A \xF0\x9F\xA6\x8C");
    EXPECT_EQ(reader.getStringW(widePath, u"String", u"0102", 256), u"");
}

TEST(IniFileProfileReader, LongValueIsCutToTheBuffer) {
    const IniFileProfileReader reader;
    const std::string path = kFixtures + "message_utf16le.ini";
    // 300 three-byte characters: 255 UTF-16 units wide, 85 whole characters (255 bytes) narrow.
    EXPECT_EQ(reader.getStringW(std::u16string(path.begin(), path.end()), u"String", u"0101", 256),
              std::u16string(255, u'日'));
    std::string expected;
    for (int i = 0; i < 85; ++i)
        expected += "\xE6\x97\xA5";
    EXPECT_EQ(reader.getString(path, "String", "0101", 256), expected);
    EXPECT_EQ(reader.getString(path, "String", "0101", 255).size(), 252u);
}

TEST(IniFileProfileReader, LegacyWindows1252File) {
    const IniFileProfileReader reader;
    const std::string path = kFixtures + "legacy_cp1252.ini";
    EXPECT_EQ(reader.getString(path, "APP", "Title", 128),
              "Wildkamera \xE2\x80\x9EWald\xE2\x80\x9C \xE2\x82\xAC 5");
    EXPECT_EQ(reader.getStringW(std::u16string(path.begin(), path.end()), u"mass_cmd_00", u"name", 256),
              u"Auflösung");
}

TEST(IniFileProfileReader, Utf8CommandFile) {
    const IniFileProfileReader reader;
    const std::string path = kFixtures + "command_utf8.ini";
    EXPECT_EQ(reader.getString(path, "APP", "Title", 128),
              "Trail camera \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(reader.getString(path, "Mass_Cmd_00", "name", 256),
              "RESOLUTION_MODE ; comment kept by the reader");
    EXPECT_EQ(reader.getString(path, "Mass_Cmd_00", "1", 256), "1:1280x720");
    EXPECT_EQ(reader.getString(path, "Mass_Cmd_00", "2", 256), "");
    EXPECT_EQ(reader.getString(path, "APP", "Title", 0), "");
}

TEST(IniFileProfileReader, UnchangedFileIsParsedOnce) {
    const TempFolder folder;
    const std::string path = folder.write("a.ini", "[s]\nk=1\n");
    const IniFileProfileReader reader;
    const auto first = reader.document(path);
    EXPECT_EQ(reader.getString(path, "s", "k", 256), "1");
    EXPECT_EQ(reader.document(path), first);
}

TEST(IniFileProfileReader, ChangedFileIsReread) {
    const TempFolder folder;
    const std::string path = folder.write("a.ini", "[s]\nk=1\n");
    const IniFileProfileReader reader;
    EXPECT_EQ(reader.getString(path, "s", "k", 256), "1");

    folder.write("a.ini", "[s]\nk=22\n");
    EXPECT_EQ(reader.getString(path, "s", "k", 256), "22");

    // Same size, different content: the modification time tells.
    folder.write("a.ini", "[s]\nk=33\n");
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    EXPECT_EQ(reader.getString(path, "s", "k", 256), "33");

    fs::remove(path);
    EXPECT_EQ(reader.getString(path, "s", "k", 256), "");
    folder.write("a.ini", "[s]\nk=4\n");
    EXPECT_EQ(reader.getString(path, "s", "k", 256), "4");
}

TEST(IniFileProfileReader, ReplacedFileOfSameSizeAndTimeIsReread) {
    const TempFolder folder;
    const std::string path = folder.write("a.ini", "[s]\nk=1\n");
    const auto stamp = fs::last_write_time(path);
    const IniFileProfileReader reader;
    EXPECT_EQ(reader.getString(path, "s", "k", 256), "1");
    // An editor saving by rename gives a new inode even when size and time match.
    const std::string other = folder.write("b.ini", "[s]\nk=2\n");
    fs::last_write_time(other, stamp);
    fs::rename(other, path);
    EXPECT_EQ(reader.getString(path, "s", "k", 256), "2");
}

TEST(IniFileProfileReader, ManyFilesStayCorrect) {
    const TempFolder folder;
    const IniFileProfileReader reader;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 20; ++i) {
            const std::string path =
                folder.write("f" + std::to_string(i) + ".ini", "[s]\nk=" + std::to_string(i));
            ASSERT_EQ(reader.getString(path, "s", "k", 256), std::to_string(i));
        }
}

TEST(IniFileProfileReader, WidePathWithNonAsciiName) {
    const TempFolder folder;
    const std::string path = folder.write("Pr\xC3\xBC"
                                          "fung.ini",
                                          "[s]\nk=ok\n");
    const auto reader = makeNativeProfileReader();
    const std::u16string widePath = u"" + (folder.path() / u"Prüfung.ini").u16string();
    EXPECT_EQ(reader->getStringW(widePath, u"s", u"k", 256), u"ok");
    EXPECT_EQ(reader->getString(path, "s", "k", 256), "ok");
}

TEST(Utf8TextCodec, ConvertsAndReplaces) {
    const auto codec = makeNativeTextCodec();
    EXPECT_EQ(codec->toWide("Gr\xC3\xBC\xC3\x9F"), u"Grüß");
    EXPECT_EQ(codec->toNarrow(u"日本語"), "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
    EXPECT_EQ(codec->toWide("a\xE4"), u"a\uFFFD");
    EXPECT_EQ(codec->toNarrow(std::u16string{0xDC00}), "\xEF\xBF\xBD");
}

} // namespace
} // namespace trelvik::platform
