// The release archive as a launcher user unpacks it: its files, their encoding and line ends, the
// sample settings, the DLL's width and version against the archive's name, and binaries without
// debug information.
#include "plugin/IniFile.h"
#include "plugin/SettingsTable.h"
#include "tests/support/Fixture.h"
#include "tests/support/SettingDefaults.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// "タスク一覧メニュー" in code page 932.
constexpr char kCommandCaption[] = "\x83^\x83X\x83N\x88\xea\x97\x97\x83\x81\x83j\x83\x85\x81[";

std::string Unpacked(const std::string& name) {
  return testing_support::ProgramFolder() + "..\\release-unpacked\\" + name;
}

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> Entries() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const base::unique_find_handle search(::FindFirstFileA(Unpacked("*").c_str(), &found));
  for (bool more = bool(search); more; more = ::FindNextFileA(search.get(), &found)) {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The names of a PE image's sections. A name longer than eight characters stands as "/offset" into
// the string table after the COFF symbols; it is resolved when that table is there.
std::vector<std::string> SectionNames(const std::string& image) {
  IMAGE_DOS_HEADER dos{};
  IMAGE_FILE_HEADER file{};
  if (image.size() < sizeof(dos)) return {};
  std::memcpy(&dos, image.data(), sizeof(dos));
  const size_t fileAt = static_cast<size_t>(dos.e_lfanew) + sizeof(DWORD);
  if (image.size() < fileAt + sizeof(file)) return {};
  std::memcpy(&file, image.data() + fileAt, sizeof(file));
  const size_t stringsAt = file.PointerToSymbolTable + size_t{file.NumberOfSymbols} * IMAGE_SIZEOF_SYMBOL;
  std::vector<std::string> names;
  IMAGE_SECTION_HEADER section{};
  for (size_t i = 0, at = fileAt + sizeof(file) + file.SizeOfOptionalHeader; i < file.NumberOfSections; ++i) {
    if (image.size() < at + (i + 1) * sizeof(section)) break;
    std::memcpy(&section, image.data() + at + i * sizeof(section), sizeof(section));
    const auto* shortName = reinterpret_cast<const char*>(section.Name);
    const std::string name(shortName, strnlen(shortName, IMAGE_SIZEOF_SHORT_NAME));
    const size_t longAt = name[0] == '/' && file.PointerToSymbolTable ? stringsAt + std::atoi(name.c_str() + 1) : 0;
    names.push_back(longAt && longAt < image.size() ? std::string(image.c_str() + longAt) : name);
  }
  return names;
}

bool CarriesDebugInformation(const std::string& path) {
  const std::vector<std::string> names = SectionNames(Contents(path));
  EXPECT_TRUE(std::count(names.begin(), names.end(), ".text")) << path << ": no sections read";
  // A long name left unresolved might be one of them.
  return std::any_of(names.begin(), names.end(),
                     [](const std::string& name) { return name.rfind(".debug", 0) == 0 || name[0] == '/'; });
}

TEST(Release, HoldsThePlugInItsSampleSettingsTheToolAndTheReadmeAtItsTop) {
  EXPECT_EQ(Entries(), (std::vector<std::string>{"readme.txt", "swivo-tasks.exe", "swivo_p.dll", "swivo_p.ini"}));
}

TEST(Release, TheBinariesCarryNoDebugInformationWhichTheBuildKeeps) {
  EXPECT_TRUE(CarriesDebugInformation(testing_support::ProgramFolder() + "swivo_p.dll"));
  for (const char* name : {"swivo_p.dll", "swivo-tasks.exe"}) {
    EXPECT_FALSE(CarriesDebugInformation(Unpacked(name))) << name;
    EXPECT_TRUE(CarriesDebugInformation(testing_support::ProgramFolder() + "..\\release\\symbols\\" + name + ".debug"))
        << name;
  }
}

TEST(Release, TextsAreShiftJisWithCrLfLineEnds) {
  for (const char* name : {"readme.txt", "swivo_p.ini"}) {
    const std::string text = Contents(Unpacked(name));
    ASSERT_GE(text.size(), 2u) << name;
    EXPECT_GT(::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0),
              0)
        << name << " is not code page 932";
    const auto lineFeeds = std::count(text.begin(), text.end(), '\n');
    const auto returns = std::count(text.begin(), text.end(), '\r');
    size_t pairs = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++pairs;
    EXPECT_EQ(returns, lineFeeds) << name;
    EXPECT_EQ(pairs, static_cast<size_t>(lineFeeds)) << name;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << name;
  }
  EXPECT_NE(Contents(Unpacked("readme.txt")).find(kCommandCaption), std::string::npos) << "no Japanese in the readme";
}

TEST(Release, TheSampleSettingsSetEveryKeyToItsDefault) {
  const plugin::IniFile sample(Unpacked("swivo_p.ini"));
  for (const auto& [key, value] : testing_support::SettingDefaultsAsText()) {
    EXPECT_EQ(sample.ReadString(plugin::kSettingsSection, key, "(absent)"), value) << key;
  }
}

TEST(Release, TheDllIsThirtyTwoBitAndOfTheArchivesVersion) {
  const std::string dll = Contents(Unpacked("swivo_p.dll"));
  IMAGE_DOS_HEADER dos{};
  ASSERT_GE(dll.size(), sizeof(dos));
  std::memcpy(&dos, dll.data(), sizeof(dos));
  ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
  IMAGE_NT_HEADERS32 nt{};
  ASSERT_GE(dll.size(), static_cast<size_t>(dos.e_lfanew) + sizeof(nt));
  std::memcpy(&nt, dll.data() + dos.e_lfanew, sizeof(nt));
  ASSERT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
  EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
  EXPECT_TRUE(nt.FileHeader.Characteristics & IMAGE_FILE_DLL);

  unsigned major = 0, minor = 0, build = 0, release = 0;
  int length = 0;
  const char* archive = SWIVO_RELEASE_ARCHIVE_NAME;
  ASSERT_EQ(std::sscanf(archive, "swivo_p-%u.%u.%u.%u.zip%n", &major, &minor, &build, &release, &length), 4);
  ASSERT_EQ(static_cast<size_t>(length), std::strlen(archive)) << archive;

  const std::string path = Unpacked("swivo_p.dll");
  DWORD handle = 0;
  std::vector<char> info(::GetFileVersionInfoSizeA(path.c_str(), &handle));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), handle, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size) && fixed);
  EXPECT_EQ(fixed->dwFileVersionMS, major << 16 | minor) << archive;
  EXPECT_EQ(fixed->dwFileVersionLS, build << 16 | release) << archive;
  // The version texts for display say the same, the product's as the file's.
  char version[64];
  std::snprintf(version, sizeof(version), "%u.%u.%u.%u", major, minor, build, release);
  for (const char* name : {"FileVersion", "ProductVersion"}) {
    char* text = nullptr;
    const std::string query = std::string("\\StringFileInfo\\041103A4\\") + name;
    ASSERT_TRUE(::VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &size) && text) << name;
    EXPECT_EQ(std::string(text), version) << name;
  }
}

}  // namespace
