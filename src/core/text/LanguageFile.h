// Reading a language file into the text table.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/LangText.h"

namespace vantrel {

// Entries filled from a file: lines 1..50.
inline constexpr std::size_t kLanguageLines = 50;

// Program folder + "Lang".
std::filesystem::path LanguageFolder(const std::filesystem::path& programFolder);

// The language folder joined with `languageFile` as plain text, so a name that looks absolute
// still stays below the folder, and a name with subfolders reaches into them.
std::filesystem::path LanguageFilePath(const std::filesystem::path& programFolder,
                                       const std::string& languageFile);

// Puts decoded language-file text into `texts`: line n gives entry n (n <= 50), from its fourth
// character on. A line of two or three characters empties its entry; an empty line or a line of
// one character leaves it. Lines end at LF, with or without CR before it.
void ApplyLanguageLines(std::string_view text, LangText& texts);

// ApplyLanguageLines, except that from kFirstAddedLine on an entry the text leaves without words
// (line missing, empty or only its prefix) takes the built-in English text: files written before
// a line existed stay valid and never show the previous language there.
void ApplyLanguageText(std::string_view text, LangText& texts);

// Reads Lang/`languageFile` below `programFolder` into `texts` (entries it does not reach keep
// their texts). False, with `texts` unchanged, when the file cannot be read, is not a regular
// file, or the name is absolute or has a ".." part (subfolders of Lang/ are allowed).
bool LoadTexts(const std::filesystem::path& programFolder, const std::string& languageFile,
               LangText& texts);

// LoadTexts from the first of `roots` (folders holding a Lang/ folder) that has a readable file
// of that name. False when none has.
bool LoadTextsFromRoots(const std::vector<std::filesystem::path>& roots,
                        const std::string& languageFile, LangText& texts);

}  // namespace vantrel
