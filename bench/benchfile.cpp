// Writes the benchmark tree to a file, for the benchmarks that take one:
// `benchfile LEVELS FILE` (6 levels: 1,111,110 items; 7: 11,111,110).
#include "bench/benchtree.h"
#include "document/treefile.h"
#include "document/treelist.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 3 || std::atoi(argv[1]) < 1 || std::atoi(argv[1]) > 7) {
        std::fprintf(stderr, "usage: benchfile LEVELS(1-7) FILE\n");
        return 2;
    }
    try {
        TTreeList tree;
        BuildBenchTree(tree, std::atoi(argv[1]));
        SaveItems(tree, argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "benchfile: %s\n", error.what());
        return 1;
    }
    return 0;
}
