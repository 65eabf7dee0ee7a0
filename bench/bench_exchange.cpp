// Times the structured exports and imports of the benchmark tree against the
// tree data file's own save and load, and measures trdtool's peak memory
// while it converts, against the size of the exchanged file.

#include "bench/benchtree.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/htmlexport.h"
#include "exchange/markdown.h"
#include "exchange/opml.h"
#include "exchange/treeimport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

// An optional argument names the folder to write in (default: the temporary folder).
int main(int argc, char** argv)
{
    TPeakMeter trdtoolPeak(TRDTOOL_PATH);
    const fs::path dir = MakeBenchFolder(argc, argv, "vekbench-exchange-");
    const std::string trd = (dir / "bench.trd").string();

    TTreeList tree;
    BuildBenchTree(tree);
    const double save = BestSeconds([&] { SaveItems(tree, trd); }, [&] { fs::remove(trd); });
    double load = 1e30;
    for (int i = 0; i < BenchRounds; ++i) {
        TTreeList loaded;
        load = std::min(load, Seconds([&] { LoadItems(loaded, trd); }));
    }
    std::printf("tree file %.1f MB: save %.0f ms, load %.0f ms; best of %d rounds\n\n", fs::file_size(trd) / 1e6,
                save * 1000, load * 1000, BenchRounds);
    std::printf("%-8s %10s %10s %8s %10s %8s %10s %8s %10s %8s\n", "format", "MB", "export ms", "/save", "import ms",
                "/load", "exp. peak", "/file", "imp. peak", "/file");

    const struct {
        const char* word;
        void (*writer)(const TTreeList&, const std::string&);
        bool imports;
    } formats[] = {{"opml", &ExportOpml, true}, {"md", &ExportMarkdown, true}, {"html", &ExportHtml, false}};
    bool exportsWithin = true;
    bool importsWithin = true;
    bool peaksWithin = true;
    for (const auto& format : formats) {
        const std::string file = (dir / (std::string("bench.") + format.word)).string();
        const double exportSeconds = BestSeconds([&] { format.writer(tree, file); }, [&] { fs::remove(file); });
        const double size = static_cast<double>(fs::file_size(file));
        const long exportPeak = trdtoolPeak.Peak({"export", format.word, trd, file});
        double importSeconds = 0;
        long importPeak = 0;
        if (format.imports) {
            importSeconds = 1e30;
            for (int i = 0; i < BenchRounds; ++i) {
                TTreeList imported;
                TImportFormat kind{};
                ImportFormatOfWord(format.word, kind);
                importSeconds = std::min(importSeconds, Seconds([&] { ImportFile(imported, file, kind); }));
            }
            importPeak = trdtoolPeak.Peak({"import", format.word, file, (dir / "back.trd").string()});
            fs::remove(dir / "back.trd");
            importsWithin = importsWithin && importSeconds <= 4 * load;
            peaksWithin = peaksWithin && importPeak <= 3 * size;
        }
        exportsWithin = exportsWithin && exportSeconds <= 4 * save;
        peaksWithin = peaksWithin && exportPeak <= 3 * size;
        std::printf("%-8s %10.1f %10.0f %7.2fx %10.0f %7.2fx %10.1f %7.2fx %10.1f %7.2fx\n", format.word, size / 1e6,
                    exportSeconds * 1000, exportSeconds / save, importSeconds * 1000, importSeconds / load,
                    exportPeak / 1e6, exportPeak / size, importPeak / 1e6, importPeak / size);
        fs::remove(file);
    }
    const auto met = [](bool within) { return within ? "met" : "NOT MET"; };
    std::printf("\ntargets: export within 4x save %s, import within 4x load %s, peaks within 3x the file %s\n",
                met(exportsWithin), met(importsWithin), met(peaksWithin));
    fs::remove_all(dir);
    return 0;
}
