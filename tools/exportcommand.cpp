#include "tools/exportcommand.h"

#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/htmlexport.h"
#include "exchange/markdown.h"
#include "exchange/opml.h"
#include "tools/tooltext.h"

#include <QtGlobal>

#include <cstdio>

const char* const ExportCommandHelp = QT_TRANSLATE_NOOP("trdtool",
    "  export txt|ini|multi FILE TARGET\n"
    "               write the tree as one text file, one ini file or one file\n"
    "               per item into the existing folder TARGET\n"
    "  export opml|md|html FILE TARGET\n"
    "               write the tree as an OPML outline, a Markdown document or\n"
    "               one HTML page\n");

int RunExportCommand(TTreeList& tree, const std::vector<std::string>& arguments, const TKeySource& keySource)
{
    using Writer = void (*)(const TTreeList&, const std::string&);
    Writer writer = nullptr;
    if (arguments.size() == 3) {
        const std::string& format = arguments[0];
        const std::pair<const char*, Writer> writers[] = {{"txt", &ExportTxt},   {"ini", &ExportIni},
                                                          {"multi", &ExportMulti}, {"opml", &ExportOpml},
                                                          {"md", &ExportMarkdown}, {"html", &ExportHtml}};
        for (const auto& [name, candidate] : writers)
            if (format == name)
                writer = candidate;
    }
    if (!writer) {
        const char* const usage =
            QT_TRANSLATE_NOOP("trdtool", "Usage: trdtool export txt|ini|multi|opml|md|html FILE TARGET\n");
        std::fputs(ToolText(usage).c_str(), stderr);
        return 2;
    }
    LoadItems(tree, arguments[1], keySource);
    writer(tree, arguments[2]);
    return 0;
}
