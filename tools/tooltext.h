#pragma once

#include <string>
#include <vector>

// The tool's texts in the user's language: the editor's catalogues, chosen as
// the editor chooses them (its settings, else LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG). Needs the application object to exist.
void InstallToolLanguage();

// `source`, marked with QT_TRANSLATE_NOOP("trdtool", ...), in the user's
// language as UTF-8, with %1, %2, ... replaced by `arguments` byte for byte
// (a file's name may not be valid UTF-8).
std::string ToolText(const char* source, const std::vector<std::string>& arguments = {});

// ToolText for a count: the form the language uses for `count`.
std::string ToolCountText(const char* source, long long count);

// A failure's message from the lower layers, translated where the user's
// language has it, as the editor's error boxes show it.
std::string ToolErrorText(const std::string& message);
