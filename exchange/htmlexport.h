#pragma once

#include <string>

class TTreeList;

// One self-contained UTF-8 page that needs no script: every item a
// <details> section (open, so that print shows everything) with the name as
// its <summary> and the description in a <pre> that keeps its line breaks
// and wraps long lines; children nest inside. The style sheet, print rules
// included, is in the page. Every text is escaped; characters HTML has no
// place for (C0 controls but tab and line breaks, DEL, U+FFFE, U+FFFF) show
// as U+FFFD. Failures raise EInOutError naming the file.
void ExportHtml(const TTreeList& tree, const std::string& fileName);
