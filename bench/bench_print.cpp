// Lays out a 10,000-item tree and writes it as PDF, against the HTML export
// of the same tree; then the longest slice of the job on the 1,111,110-item
// tree, which bounds both how long the window waits and how soon Cancel stops.
// An optional second argument keeps the 10,000-item PDF at that path.

#include "app/print/atomicfiledevice.h"
#include "app/print/treeprinter.h"
#include "bench/benchtree.h"
#include "document/treelist.h"
#include "exchange/htmlexport.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {
constexpr int SliceMs = 40;

// 100 top-level items with 99 children each; names and descriptions as in
// the benchmark tree.
void BuildTenThousand(TTreeList& tree)
{
    const std::string description = BenchDescription(200);
    int number = 0;
    for (int top = 0; top < 100; ++top) {
        TTreeListTextNode* parent = tree.AddItem();
        parent->SetText(TreeListColumnName, "Item " + std::to_string(++number));
        parent->SetText(TreeListColumnDesc, description);
        for (int child = 0; child < 99; ++child) {
            TTreeListTextNode* item = parent->AddChild();
            item->SetText(TreeListColumnName, "Item " + std::to_string(++number));
            item->SetText(TreeListColumnDesc, description);
        }
    }
}

QFont EditorFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    return font;
}

int WritePdf(TTreeList& tree, const std::string& path)
{
    TAtomicFileDevice file(path);
    int pages = 0;
    {
        QPdfWriter writer(&file);
        TTreePrinter::PreparePdf(writer, QStringLiteral("bench.trd"));
        TTreePrinter printer(tree, nullptr, {QStringLiteral("bench.trd"), EditorFont(), true});
        printer.Begin(writer);
        while (!printer.Step(SliceMs)) {
        }
        pages = printer.PageCount();
    }
    file.Commit();
    return pages;
}
}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const std::string dir = MakeBenchFolder(argc, argv, "vekbench-print-");
    TTreeList tree;
    BuildTenThousand(tree);
    int pages = 0;
    const double pdf = BestSeconds([&] { pages = WritePdf(tree, dir + "/tree.pdf"); });
    const double html = BestSeconds([&] { ExportHtml(tree, dir + "/tree.html"); });
    std::printf("10,000 items       %10s %10s %8s\n", "ms", "bytes", "ratio");
    std::printf("PDF (%5d pages)  %10.1f %10ju %7.2fx\n", pages, pdf * 1000,
                static_cast<uintmax_t>(std::filesystem::file_size(dir + "/tree.pdf")), pdf / html);
    std::printf("HTML export        %10.1f %10ju %7.2fx\n", html * 1000,
                static_cast<uintmax_t>(std::filesystem::file_size(dir + "/tree.html")), 1.0);
    if (argc > 2)
        std::filesystem::copy_file(dir + "/tree.pdf", argv[2], std::filesystem::copy_options::overwrite_existing);

    TTreeList big;
    BuildBenchTree(big);
    {
        TAtomicFileDevice file(dir + "/big.pdf");
        QPdfWriter writer(&file);
        TTreePrinter::PreparePdf(writer, QStringLiteral("bench.trd"));
        QElapsedTimer whole;
        whole.start();
        TTreePrinter printer(big, nullptr, {QStringLiteral("bench.trd"), EditorFont(), false});
        const qint64 counted = whole.elapsed();
        printer.Begin(writer);
        qint64 longest = 0;
        QElapsedTimer run;
        run.start();
        while (run.elapsed() < 2000) {
            QElapsedTimer slice;
            slice.start();
            printer.Step(SliceMs);
            longest = std::max(longest, slice.elapsed());
        }
        QElapsedTimer cancel;
        cancel.start();
        printer.End();
        std::printf("1,111,110 items: counted in %lld ms, %d items on %d pages in 2 s, longest slice %lld ms, "
                    "cancel %lld ms\n",
                    static_cast<long long>(counted), printer.ItemsDone(), printer.PageCount(),
                    static_cast<long long>(longest), static_cast<long long>(cancel.elapsed()));
    }
    std::filesystem::remove_all(dir);
    return 0;
}
