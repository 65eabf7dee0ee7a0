#include "tools/importcommand.h"

#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/treeimport.h"
#include "tools/tooltext.h"

#include <QtGlobal>

#include <cstdio>

const char* const ImportCommandHelp = QT_TRANSLATE_NOOP("trdtool",
    "  import opml|md|txt|trd SOURCE OUT\n"
    "               read an OPML outline, a Markdown document, indented text\n"
    "               or a tree data file and save its items as the tree data\n"
    "               file OUT\n");

int RunImportCommand(TTreeList& tree, const std::vector<std::string>& arguments)
{
    TImportFormat format{};
    if (arguments.size() != 3 || !ImportFormatOfWord(arguments[0], format)) {
        const char* const usage = QT_TRANSLATE_NOOP("trdtool", "Usage: trdtool import opml|md|txt|trd SOURCE OUT\n");
        std::fputs(ToolText(usage).c_str(), stderr);
        return 2;
    }
    ImportFile(tree, arguments[1], format);
    SaveItems(tree, arguments[2]);
    return 0;
}
