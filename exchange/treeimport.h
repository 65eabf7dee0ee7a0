#pragma once

#include "exchange/importsupport.h"

#include <string>
#include <string_view>

class TTreeList;

enum class TImportFormat { Opml, Markdown, IndentedText, TreeData };

// The format of the word trdtool takes: "opml", "md", "txt" or "trd";
// false for any other word.
bool ImportFormatOfWord(std::string_view word, TImportFormat& format);

// The format a file's extension names (.opml, .md, .markdown, .txt, .trd, in
// any case). For another name the first bytes decide: markup is OPML, a NUL
// byte a tree data file, a line starting with "#" Markdown, anything else
// indented text. A file that cannot be read is guessed to be indented text:
// the import then reports why it cannot be read.
TImportFormat ImportFormatOfFile(const std::string& path);

// Appends the items of the file at `path` to `tree`, which should be an empty
// tree built apart: after a failure it holds what was read so far, and the
// caller drops it. A tree data file brings its icons and the rest of its
// items' numbers too. A file that cannot be opened raises EFOpenError ("Cannot
// open file <path>: <reason>"); a read or parse failure raises EImportError
// naming the file.
void ImportFile(TTreeList& tree, const std::string& path, TImportFormat format, const TImportLimits& limits = {});
