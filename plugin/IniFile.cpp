#include "plugin/IniFile.h"

#include "base/Error.h"
#include "base/Handle.h"
#include "base/WideText.h"
#include "plugin/SettingsText.h"

#include <windows.h>

namespace plugin {
namespace {

// "ファイル " and " は開けません" in code page 932, around the file name.
constexpr char kCannotOpenBefore[] = "\x83\x74\x83\x40\x83\x43\x83\x8b ";
constexpr char kCannotOpenAfter[] = " \x82\xcd\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1";

base::Error CannotOpen(const std::string& fileName) {
  return base::Error(kCannotOpenBefore + fileName + kCannotOpenAfter);
}

// Names compare as CharUpperBuffA makes them, by the rules of the ANSI code page.
std::string UpperCaseAnsi(std::string name) {
  if (!name.empty()) ::CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
  return name;
}

// A character the code page lacks becomes its default character, never a best-fit look-alike
// that could turn into a '=' or a '\\'.
std::string ToAnsiCodePage(std::u16string_view text) {
  return base::NarrowToAnsi(std::wstring(text.begin(), text.end()), WC_NO_BEST_FIT_CHARS);
}

bool IsExistingFile(const std::string& fileName) {
  WIN32_FIND_DATAA found{};
  const base::unique_find_handle search(::FindFirstFileA(fileName.c_str(), &found));
  return search && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Others may read the file meanwhile but not write it; a writer that is already there makes the
// open fail.
std::string ReadWholeFile(const std::string& fileName) {
  const base::unique_file_handle file(::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw CannotOpen(fileName);
  DWORD sizeHigh = 0;
  const DWORD size = ::GetFileSize(file.get(), &sizeHigh);  // INVALID_FILE_SIZE is above the limit too
  if (sizeHigh != 0 || size > kMaxIniFileSize) throw CannotOpen(fileName);
  std::string text(size, '\0');
  DWORD read = 0;
  if (size != 0 && (!::ReadFile(file.get(), text.data(), size, &read, nullptr) || read != size)) {
    throw CannotOpen(fileName);
  }
  return text;
}

IniSections Load(const std::string& fileName) {
  if (!IsExistingFile(fileName)) return IniSections(&UpperCaseAnsi);
  return IniSections(SettingsText(ReadWholeFile(fileName), &ToAnsiCodePage), &UpperCaseAnsi);
}

}  // namespace

IniFile::IniFile(const std::string& fileName) : sections_(Load(fileName)) {}

}  // namespace plugin
