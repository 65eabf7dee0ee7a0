// The fuzz targets' properties over their seed corpus, so that every test
// run guards them without a fuzzer.
#include "document/protectedfile.h"
#include "fuzz/exchangeproperties.h"
#include "fuzz/treefileproperties.h"
#include "tests/filetestkit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

TEST(FuzzCorpus, EverySeedKeepsTheReaderAndRoundTripProperties)
{
    int seeds = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(VEK_TEST_DATA "/fuzz")) {
        const std::string bytes = ReadFile(entry.path());
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        EXPECT_EQ(CheckReader(data, bytes.size()), "") << entry.path();
        EXPECT_EQ(CheckRoundTrip(data, bytes.size()), "") << entry.path();
        ++seeds;
    }
    EXPECT_GT(seeds, 0);
}

TEST(FuzzCorpus, EveryProtectedSeedKeepsTheProtectedReaderProperties)
{
    int seeds = 0;
    int decrypted = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(VEK_TEST_DATA "/fuzz_protected")) {
        const std::string bytes = ReadFile(entry.path());
        EXPECT_EQ(CheckProtectedReader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "")
            << entry.path();
        // Seeds made with the fuzz key reach the reader behind the stream.
        std::string copy = bytes;
        try {
            DecryptInPlace(copy.data(), copy.size(), FuzzKey(), "seed");
            ++decrypted;
        } catch (const EProtectedFileError&) {
        }
        ++seeds;
    }
    EXPECT_GT(seeds, 0);
    EXPECT_GT(decrypted, 0);
}

TEST(FuzzCorpus, EveryImporterSeedReadsOrFailsCleanlyAndRoundTrips)
{
    const struct {
        const char* folder;
        std::string (*check)(const uint8_t*, size_t);
    } targets[] = {{"fuzz_opml", &CheckOpml}, {"fuzz_markdown", &CheckMarkdown}, {"fuzz_text", &CheckIndentedText}};
    for (const auto& target : targets) {
        int seeds = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(VEK_TEST_DATA) / target.folder)) {
            const std::string bytes = ReadFile(entry.path());
            EXPECT_EQ(target.check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "") << entry.path();
            ++seeds;
        }
        EXPECT_GT(seeds, 0) << target.folder;
    }
}
