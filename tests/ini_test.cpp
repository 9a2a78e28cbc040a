// The settings file read from real files in code page 932 or with a byte-order mark: opening,
// layout, number forms, and the file name derived from the library's path.
#include "base/Error.h"
#include "base/Handle.h"
#include "plugin/IniFile.h"
#include "plugin/LibraryPath.h"
#include "plugin/SettingsFileName.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

using namespace std::string_literals;
using plugin::IniFile;

namespace {

constexpr int32_t kDefault = 100;

// Our own message in the ANSI code page, written here independently of the reader's bytes.
std::string Ansi(const char* utf8) {
  wchar_t wide[64] = {};
  char ansi[128] = {};
  ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 64);
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), nullptr, nullptr);
  return ansi;
}

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                    static_cast<int>(wide.size())));
  return wide;
}

// A folder of this test process under the temp folder; removes what it made when it goes.
class Scratch {
 public:
  Scratch() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    root_ =
        temp + "swivo-ini-"s + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount()) + "\\";
    made_.push_back(MakeFolderAt(root_));
  }
  ~Scratch() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      if (!::DeleteFileA(it->c_str())) ::RemoveDirectoryA(it->c_str());
    }
  }
  std::string Path(const std::string& name) const { return root_ + name; }
  std::string Folder(const std::string& name) { return Made(MakeFolderAt(Path(name))); }
  std::string File(const std::string& name, const std::string& bytes) {
    const base::unique_file_handle file(
        ::CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    return Made(Path(name));
  }

 private:
  static std::string MakeFolderAt(const std::string& path) {
    EXPECT_TRUE(::CreateDirectoryA(path.c_str(), nullptr)) << path;
    return path;
  }
  std::string Made(std::string path) {
    made_.push_back(path);
    return path;
  }

  std::string root_;
  std::vector<std::string> made_;
};

class Ini : public testing::Test {
 protected:
  IniFile Load(const std::string& bytes) {
    return IniFile(scratch_.File("s" + std::to_string(++files_) + ".ini", bytes));
  }
  int32_t X(const std::string& bytes) { return Load(bytes).ReadInteger("GLOBAL", "X_pos", kDefault); }
  std::string OpenError(const std::string& fileName) {
    try {
      IniFile file(fileName);
      return "(opened)";
    } catch (const base::Error& e) {
      return e.what();
    }
  }
  std::string CannotOpen(const std::string& fileName) {
    return Ansi(u8"ファイル ") + fileName + Ansi(u8" は開けません");
  }

  Scratch scratch_;
  int files_ = 0;
};

TEST_F(Ini, MissingFileOrFolderOfThatNameGivesDefaults) {
  for (const std::string& name : {scratch_.Path("none.ini"), scratch_.Folder("folder.ini")}) {
    const IniFile file(name);
    EXPECT_EQ(file.ReadInteger("GLOBAL", "X_pos", kDefault), kDefault) << name;
    EXPECT_TRUE(file.ReadBool("GLOBAL", "SortTitle", true)) << name;
  }
}

TEST_F(Ini, OtherReadersMayHoldTheFileButNoWriter) {
  const std::string name = scratch_.File("held.ini", "[GLOBAL]\r\nX_pos=7\r\n");
  {
    const base::unique_file_handle reader(
        ::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_EQ(IniFile(name).ReadInteger("GLOBAL", "X_pos", kDefault), 7);
  }
  for (const DWORD writerShares : {DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}, DWORD{0}}) {
    const base::unique_file_handle writer(
        ::CreateFileA(name.c_str(), GENERIC_WRITE, writerShares, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(OpenError(name), CannotOpen(name)) << "writer shares " << writerShares;
  }
}

TEST_F(Ini, FileAboveOneMebibyteIsUnreadable) {
  const std::string settings = "[GLOBAL]\nX_pos=7\n";
  const std::string fits = settings + std::string(plugin::kMaxIniFileSize - settings.size(), ' ');
  EXPECT_EQ(X(fits), 7);
  const std::string name = scratch_.File("big.ini", fits + " ");
  EXPECT_EQ(OpenError(name), CannotOpen(name));
}

TEST_F(Ini, SectionsAndKeysIgnoreCaseAndTheLastOnesWin) {
  const IniFile file = Load("[global]\r\nsort=1\r\nx_pos=20\r\n");
  EXPECT_TRUE(file.ReadBool("GLOBAL", "Sort", false));
  EXPECT_EQ(file.ReadInteger("GLOBAL", "X_pos", kDefault), 20);

  const IniFile twice = Load("[GLOBAL]\nSort=1\nY_pos=1\n[Other]\nY_pos=2\n[GLOBAL]\nSortTitle=0\nY_pos=3\nY_pos=4\n");
  EXPECT_FALSE(twice.ReadBool("GLOBAL", "Sort", false)) << "the first GLOBAL section was consulted";
  EXPECT_FALSE(twice.ReadBool("GLOBAL", "SortTitle", true));
  EXPECT_EQ(twice.ReadInteger("GLOBAL", "Y_pos", kDefault), 4);
}

TEST_F(Ini, OnlyWholeBracketedLinesAreHeadersAndOnlyLeadingSemicolonsComments) {
  EXPECT_EQ(X("X_pos=5\n"), kDefault) << "no header at all";
  EXPECT_EQ(X("[GLOBAL] ; main\nX_pos=5\n"), kDefault);
  EXPECT_EQ(X("[GLOBAL]\n[Other] ; main\nX_pos=5\n"), 5) << "the key stays in the previous section";
  const IniFile commented = Load("[GLOBAL]\n  ;X_pos=6\nY_pos=1 ; on\n");
  EXPECT_EQ(commented.ReadInteger("GLOBAL", ";X_pos", kDefault), kDefault) << "a comment line was read as a key";
  EXPECT_EQ(commented.ReadInteger("GLOBAL", "Y_pos", kDefault), kDefault);
}

TEST_F(Ini, LinesBreakAtCrLfOrBothAndLoseOnlySingleByteBlanks) {
  const IniFile file = Load("\t[ GLOBAL ]\rX_pos = -20\r\n\x01Y_pos\t=\t3\x1f\nVNE=1\x7f\nSort\x81\x40=1\nX=pos=9\n");
  EXPECT_EQ(file.ReadInteger("GLOBAL", "X_pos", kDefault), -20);
  EXPECT_EQ(file.ReadInteger("GLOBAL", "Y_pos", kDefault), 3);
  EXPECT_FALSE(file.ReadBool("GLOBAL", "VNE", false)) << "DEL is no blank";
  EXPECT_FALSE(file.ReadBool("GLOBAL", "Sort", false)) << "the double-byte space belongs to the key";
  EXPECT_EQ(file.ReadInteger("GLOBAL", "X=pos", kDefault), kDefault) << "the key ends at the first '='";
}

// No line is too long: the whole file is read, so a long list arrives whole, like any other value.
TEST_F(Ini, StringsAreTheTrimmedValueWholeOrTheDefault) {
  const std::string longList(5000, 'a');
  const IniFile file = Load("[GLOBAL]\nExclude = a.exe; b=c.exe \t\nEmpty=\nLong=" + longList + "\n");
  EXPECT_EQ(file.ReadString("GLOBAL", "exclude", "-"), "a.exe; b=c.exe");
  EXPECT_EQ(file.ReadString("GLOBAL", "Empty", "-"), "");
  EXPECT_EQ(file.ReadString("GLOBAL", "Long", "-"), longList);
  EXPECT_EQ(file.ReadString("GLOBAL", "ExcludeClass", "-"), "-");
}

TEST_F(Ini, TextEndsAtNulAlsoAfterAByteOrderMark) {
  EXPECT_EQ(X("[GLOBAL]\nY_pos=1\0\nX_pos=5\n"s), kDefault);
  EXPECT_EQ(X("\xff\xfe[\0G\0L\0O\0B\0A\0L\0]\0\n\0\0\0X\0_\0p\0o\0s\0=\0\x35\0"s), kDefault) << "UTF-16 LE";
  EXPECT_EQ(X("\xef\xbb\xbf[GLOBAL]\nX_pos=5\n"s), 5) << "UTF-8 without a NUL";
}

TEST_F(Ini, FilesWithAByteOrderMarkReadAsTheirTextInTheAnsiCodePage) {
  ASSERT_EQ(::GetACP(), 932u) << "the keys in Japanese need code page 932";
  // 表 (95 5C in code page 932) ends in a byte that looks like '\\'; the emoji has no character there.
  const std::string text =
      u8"; 設定 \U0001F600\r\n[GLOBAL]\r\nMenuFixPos=1\r\nX_pos=-20\r\nY_pos=$82\r\nSort=1\r\n"
      u8"VNE=-1\r\nSortTitle=0\r\nAutoHotKey=2\r\nWindowIcon=0\r\n表示=7\r\n";
  const std::wstring wide = Wide(text);
  std::string littleEndian = "\xff\xfe", bigEndian = "\xfe\xff";
  for (const wchar_t c : wide) {
    littleEndian += {static_cast<char>(c & 0xff), static_cast<char>(c >> 8)};
    bigEndian += {static_cast<char>(c >> 8), static_cast<char>(c & 0xff)};
  }
  const std::pair<const char*, std::string> files[] = {
      {"UTF-8", "\xef\xbb\xbf" + text}, {"UTF-16 LE", littleEndian}, {"UTF-16 BE", bigEndian}};
  for (const auto& [mark, bytes] : files) {
    const IniFile file = Load(bytes);
    EXPECT_TRUE(file.ReadBool("GLOBAL", "MenuFixPos", false)) << mark;
    EXPECT_EQ(file.ReadInteger("GLOBAL", "X_pos", kDefault), -20) << mark;
    EXPECT_EQ(file.ReadInteger("GLOBAL", "Y_pos", kDefault), 130) << mark;
    EXPECT_TRUE(file.ReadBool("GLOBAL", "Sort", false)) << mark;
    EXPECT_TRUE(file.ReadBool("GLOBAL", "VNE", false)) << mark;
    EXPECT_FALSE(file.ReadBool("GLOBAL", "SortTitle", true)) << mark;
    EXPECT_EQ(file.ReadInteger("GLOBAL", "AutoHotKey", 0), 2) << mark;
    EXPECT_FALSE(file.ReadBool("GLOBAL", "WindowIcon", true)) << mark;
    EXPECT_EQ(file.ReadInteger("GLOBAL", Ansi(u8"表示"), 0), 7) << mark;
  }
}

TEST_F(Ini, IntegersAreDecimalOrHexWithinThirtyTwoBits) {
  // The rows of a table, as many to a line as fit.
  // clang-format off
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"0", 0}, {"010", 10}, {"+7", 7}, {"-0", 0}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
      {"-00000000002147483648", INT_MIN}, {"0x10", 16}, {"0XaF", 175}, {"$10", 16}, {"x10", 16}, {"X10", 16},
      {"$FFFFFFFF", -1}, {"0x80000000", INT_MIN}, {"0x00000000012", 18},
      // Not numbers: the default.
      {"", kDefault}, {"-", kDefault}, {"$", kDefault}, {"0x", kDefault}, {"-0x10", kDefault}, {"+$10", kDefault},
      {"1e3", kDefault}, {"1.5", kDefault}, {"1 2", kDefault}, {"12a", kDefault}, {"0x1g", kDefault},
      {"FFFFFFFF", kDefault} /* no prefix: not hexadecimal */, {"2147483648", kDefault}, {"-2147483649", kDefault},
      {"0x100000000", kDefault}, {"99999999999999999999", kDefault}, {"\x82\x4f", kDefault} /* full-width 0 */};
  // clang-format on
  std::string text = "[GLOBAL]\n";
  for (size_t i = 0; i < cases.size(); ++i) text += "K" + std::to_string(i) + "=" + cases[i].first + "\n";
  const IniFile file = Load(text);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(file.ReadInteger("GLOBAL", "K" + std::to_string(i), kDefault), cases[i].second) << cases[i].first;
  }
}

TEST_F(Ini, BooleansAreIntegersDefaultingToOneOrZero) {
  const IniFile file = Load("[GLOBAL]\nA=0\nB=-1\nC=2\nD=0x10\nE=\nF=false\nG=yes\n");
  EXPECT_FALSE(file.ReadBool("GLOBAL", "A", true));
  for (const char* key : {"B", "C", "D"}) EXPECT_TRUE(file.ReadBool("GLOBAL", key, false)) << key;
  for (const char* key : {"E", "F", "G", "missing"}) {
    EXPECT_TRUE(file.ReadBool("GLOBAL", key, true)) << key;
    EXPECT_FALSE(file.ReadBool("GLOBAL", key, false)) << key;
  }
}

TEST_F(Ini, SettingsFileReplacesTheExtensionNeverAtATrailByte) {
  ASSERT_EQ(::GetACP(), 932u) << "the double-byte cases need code page 932";
  EXPECT_EQ(plugin::SettingsFileName("C:\\Movra\\swivo_p.dll"), "C:\\Movra\\swivo_p.ini");
  EXPECT_EQ(plugin::SettingsFileName("C:\\v1.0\\swivo_p"), "C:\\v1.0\\swivo_p.ini");
  EXPECT_EQ(plugin::SettingsFileName("D:swivo_p"), "D:swivo_p.ini");
  EXPECT_EQ(plugin::SettingsFileName("swivo_p.x.dll"), "swivo_p.x.ini");
  // 表 is 95 5C: its second byte is no backslash.
  EXPECT_EQ(plugin::SettingsFileName("C:\\\x95\x5c\\swivo_p.dll"), "C:\\\x95\x5c\\swivo_p.ini");
  EXPECT_EQ(plugin::SettingsFileName("C:\\swivo_p.\x95\x5c"), "C:\\swivo_p.ini");
}

TEST_F(Ini, TheLibraryPathIsTheHostsOnlyWhenFull) {
  char own[MAX_PATH] = {};
  ASSERT_TRUE(::GetModuleFileNameA(nullptr, own, MAX_PATH));
  for (const std::string full : {"C:\\Movra\\swivo_p.dll", "c:/Movra/swivo_p.dll", "\\\\server\\share\\swivo_p.dll"}) {
    EXPECT_EQ(plugin::LibraryPath(full), full);
  }
  for (const std::string partial : {"swivo_p.dll", "Movra\\swivo_p.dll", "C:swivo_p.dll", "\\Movra\\swivo_p.dll", ""}) {
    EXPECT_EQ(plugin::LibraryPath(partial), own) << partial;
  }
}

}  // namespace
