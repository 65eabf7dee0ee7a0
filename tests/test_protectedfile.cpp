#include "document/processhardening.h"
#include "document/protectedfile.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "tests/filetestkit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The least Argon2 work, and chunks small enough that a small tree spans several.
const TProtectionParams Cheap{1, 8 << 10, 64};
const std::string Password = "correct horse";

TKeySource PasswordSource(const std::string& password, const std::string& fileName, int* asked = nullptr)
{
    return [=](const TProtectionHeader& header) {
        if (asked)
            ++*asked;
        return TFileKey::ForHeader(password, header, fileName);
    };
}

void Fill(TTreeList& tree)
{
    TTreeListTextNode* a = tree.AddItem();
    a->SetText(TreeListColumnName, "Alpha secret");
    a->SetText(TreeListColumnDesc, std::string(150, 'x') + "the hidden description");
    TTreeListTextNode* b = a->AddChild();
    b->SetText(TreeListColumnName, "Beta");
    b->SetImageIndex(7);
    TTreeListTextNode* c = tree.AddItem();
    c->SetText(TreeListColumnName, "Gamma");
    c->SetText(TreeListColumnDesc, "line one\r\nline two");
}

std::vector<std::string> Names(const TTreeList& tree)
{
    std::vector<std::string> names;
    for (auto* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        names.emplace_back(std::string(item->GetText(TreeListColumnName)) + "|" +
                           std::string(item->GetText(TreeListColumnDesc)) + "|" +
                           std::to_string(item->ImageIndex()) + "|" + std::to_string(item->Level()));
    return names;
}

class ProtectedFileTest : public TTempFolderTest {
protected:
    // A small protected file of Fill's tree; its clear bytes go to `clear`.
    std::string WriteProtected(const std::string& path, std::string* clear = nullptr)
    {
        TTreeList tree;
        Fill(tree);
        SaveItems(tree, path, TFileKey::Create(Password, Cheap).get());
        if (clear)
            *clear = WriteItems(tree);
        return ReadFile(path);
    }

    // The message of reading the bytes with the right password, "" when they open.
    std::string Failure(const std::string& bytes)
    {
        const std::string path = Path("probe.trd");
        WriteFile(path, bytes);
        TTreeList tree;
        try {
            LoadItems(tree, path, PasswordSource(Password, path));
            return "";
        } catch (const std::exception& e) {
            return e.what();
        }
    }
    bool Opens(const std::string& bytes) { return Failure(bytes).empty(); }

    // What a file damaged at `at` says: before the first chunk authenticates,
    // a wrong password and damage are one message; after it, the chunk is named.
    std::string DamageText(size_t at) const
    {
        const size_t chunk = Cheap.chunkSize + Protection::ChunkOverhead;
        if (at < Protection::HeaderSize + chunk)
            return ProtectedFileErrorText(Path("probe.trd"));
        return ProtectedFileDamagedText(Path("probe.trd"),
                                        Protection::HeaderSize + (at - Protection::HeaderSize) / chunk * chunk);
    }
};

TEST_F(ProtectedFileTest, RoundTripKeepsTheTreeAndWritesNoTextInTheClear)
{
    const std::string path = Path("notes.trd");
    const std::string bytes = WriteProtected(path);
    EXPECT_EQ(bytes.compare(0, Protection::MarkerSize,
                            std::string(reinterpret_cast<const char*>(Protection::Marker), Protection::MarkerSize)),
              0);
    for (const char* text : {"Alpha", "Beta", "hidden", "line one"})
        EXPECT_EQ(bytes.find(text), std::string::npos) << text;

    TTreeList expected;
    Fill(expected);
    TTreeList tree;
    int asked = 0;
    EXPECT_EQ(LoadItems(tree, path, PasswordSource(Password, path, &asked)), TTreeFileVariant::Protected);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Names(tree), Names(expected));

    // Saved again with the key it was opened with: a new stream, the same salt.
    std::optional<TTreeFileBytes> file = ReadTreeFile(path, PasswordSource(Password, path));
    ASSERT_TRUE(file && file->key);
    SaveItems(tree, Path("again.trd"), file->key.get());
    const std::string again = ReadFile(Path("again.trd"));
    EXPECT_NE(again, bytes);
    EXPECT_EQ(again.substr(36, 16), bytes.substr(36, 16));
    TTreeList reread;
    LoadItems(reread, Path("again.trd"), PasswordSource(Password, path));
    EXPECT_EQ(Names(reread), Names(expected));
}

TEST_F(ProtectedFileTest, WrongPasswordOrNoPasswordLeavesTheTreeAlone)
{
    const std::string path = Path("notes.trd");
    WriteProtected(path);
    TTreeList tree;
    tree.AddItem()->SetText(TreeListColumnName, "kept");
    try {
        LoadItems(tree, path, PasswordSource("wrong", path));
        FAIL();
    } catch (const EProtectedFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + path + ": the password is wrong or the file is damaged");
    }
    EXPECT_THROW(LoadItems(tree, path, [](const TProtectionHeader&) { return nullptr; }), EProtectedFileError);
    EXPECT_THROW(LoadItems(tree, path), EProtectedFileError);
    EXPECT_FALSE(ReadTreeFile(path, [](const TProtectionHeader&) { return nullptr; }).has_value());
    ASSERT_EQ(tree.TopItemCount(), 1);
    EXPECT_EQ(tree.TopItem(0)->GetText(TreeListColumnName), "kept");
}

TEST_F(ProtectedFileTest, EveryChangedByteIsRefused)
{
    const std::string bytes = WriteProtected(Path("notes.trd"));
    ASSERT_GT(bytes.size(), Protection::HeaderSize + 3 * (Cheap.chunkSize + Protection::ChunkOverhead));
    ASSERT_TRUE(Opens(bytes));
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (const unsigned char mask : {0x01, 0x80}) {
            std::string changed = bytes;
            changed[i] = static_cast<char>(changed[i] ^ mask);
            const std::string failure = Failure(changed);
            EXPECT_FALSE(failure.empty()) << "byte " << i << " mask " << int(mask);
            // Without the marker's first bytes it is no protected file at all.
            if (i < Protection::MarkerTellSize)
                continue;
            // Any version but 1 is refused; a later one is named as such.
            const bool newer = i >= 8 && i < 12 && !(i == 8 && mask == 0x01);
            EXPECT_EQ(failure, newer ? ProtectedFileNewerText(Path("probe.trd")) : DamageText(i))
                << "byte " << i << " mask " << int(mask);
        }
    }
}

TEST_F(ProtectedFileTest, CutOrExtendedFilesAreRefused)
{
    const std::string bytes = WriteProtected(Path("notes.trd"));
    const size_t chunk = Cheap.chunkSize + Protection::ChunkOverhead;
    for (const size_t at : {size_t(0), size_t(4)})
        EXPECT_FALSE(Opens(bytes.substr(0, at))) << "cut at " << at;
    std::vector<size_t> cuts{Protection::MarkerSize, Protection::HeaderSize - 1, bytes.size() - 1};
    // Every chunk boundary, the last one dropping the final chunk whole.
    for (size_t at = Protection::HeaderSize; at < bytes.size(); at += chunk)
        cuts.push_back(at);
    for (const size_t at : cuts)
        EXPECT_EQ(Failure(bytes.substr(0, at)), DamageText(at == bytes.size() - 1 ? at - 1 : at)) << "cut at " << at;
    EXPECT_EQ(Failure(bytes + '\0'), DamageText(bytes.size() - 1));
    std::string damaged = ProtectedFileDamagedText(Path("probe.trd"), 0);
    damaged.pop_back();
    EXPECT_THAT(Failure(bytes + bytes.substr(Protection::HeaderSize)), ::testing::StartsWith(damaged));
}

// The encrypting thread's write error reaches the caller, and the file stays.
TEST_F(ProtectedFileTest, AFailedProtectedSaveLeavesThePreviousFile)
{
    const std::string path = Path("notes.trd");
    const std::string before = WriteProtected(path);
    TTreeList big;
    for (int i = 0; i < 3; ++i)
        big.AddItem()->SetText(TreeListColumnDesc, std::string(size_t(3) << 20, static_cast<char>('a' + i)));
    const auto key = TFileKey::Create(Password, Cheap);
    WithFileSizeLimit(size_t(5) << 20, [&] { EXPECT_THROW(SaveItems(big, path, key.get()), EWriteError); });
    EXPECT_EQ(ReadFile(path), before);
    SaveItems(big, path, key.get());
    TTreeList reread;
    LoadItems(reread, path, PasswordSource(Password, path));
    EXPECT_EQ(Names(reread), Names(big));
}

// The clear sizes around the chunk size: the final chunk holds less than a
// chunk, possibly nothing.
TEST_F(ProtectedFileTest, StreamRoundTripsAroundTheChunkSize)
{
    const auto key = TFileKey::Create(Password, Cheap);
    for (const size_t size : {size_t(0), size_t(1), size_t(63), size_t(64), size_t(65), size_t(192), size_t(1000)}) {
        std::string clear(size, '\0');
        for (size_t i = 0; i < size; ++i)
            clear[i] = static_cast<char>(i * 7 + 3);
        std::string bytes = EncryptBytes(clear, *key);
        EXPECT_EQ(bytes.size(), Protection::HeaderSize + clear.size() + (size / 64 + 1) * Protection::ChunkOverhead);
        const size_t got = DecryptInPlace(bytes.data(), bytes.size(), *key, "f");
        EXPECT_EQ(bytes.substr(0, got), clear) << size;
    }
}

// A later format version is refused as such before the password is asked for.
TEST_F(ProtectedFileTest, ANewerVersionSaysSoWithoutAskingThePassword)
{
    std::string bytes = WriteProtected(Path("notes.trd"));
    bytes[8] = 2;
    const std::string path = Path("newer.trd");
    WriteFile(path, bytes);
    TTreeList tree;
    int asked = 0;
    EXPECT_THAT([&] { LoadItems(tree, path, PasswordSource(Password, path, &asked)); },
                ::testing::ThrowsMessage<EProtectedFileError>(::testing::StrEq(
                    "Cannot open file " + path + ": it was made by a newer version of the program")));
    EXPECT_EQ(asked, 0);
}

// Out-of-bounds parameters are refused before any key is derived, so a
// header cannot make the reader spend gigabytes or minutes.
TEST_F(ProtectedFileTest, HostileHeadersAreRefusedBeforeTheKeyIsDerived)
{
    const std::string bytes = WriteProtected(Path("notes.trd"));
    struct Field {
        size_t offset;
        int size;
        uint64_t value;
    };
    const Field hostile[] = {
        {8, 4, 2},                         // unknown version
        {12, 4, 1},                        // Argon2i
        {16, 8, 0},                        // no passes
        {16, 8, Protection::MaxOpsLimit + 1},
        {16, 8, UINT64_MAX},
        {24, 8, Protection::MinMemLimit - 1},
        {24, 8, Protection::MaxMemLimit + 1},
        {24, 8, uint64_t(64) << 30},
        {32, 4, 0},
        {32, 4, Protection::MaxChunkSize + 1},
    };
    for (const Field& field : hostile) {
        std::string changed = bytes;
        for (int i = 0; i < field.size; ++i)
            changed[field.offset + i] = static_cast<char>((field.value >> (8 * i)) & 0xFF);
        const auto header = ParseProtectionHeader(changed.data(), changed.size());
        ASSERT_TRUE(header);
        EXPECT_FALSE(header->Acceptable()) << field.offset << " " << field.value;
        EXPECT_FALSE(Opens(changed));
    }
    // Both at their bounds alone are fine, together they are too much work.
    std::string heavy = bytes;
    for (int i = 0; i < 8; ++i) {
        heavy[16 + i] = static_cast<char>((Protection::MaxOpsLimit >> (8 * i)) & 0xFF);
        heavy[24 + i] = static_cast<char>((Protection::MaxMemLimit >> (8 * i)) & 0xFF);
    }
    EXPECT_FALSE(ParseProtectionHeader(heavy.data(), heavy.size())->Acceptable());
}

// A new protected file is private; any file saved over keeps its mode.
TEST_F(ProtectedFileTest, NewProtectedFilesArePrivateAndSavedFilesKeepTheirMode)
{
    struct Case {
        int existing;  // -1: no file yet
        bool protect;
        mode_t expected;
    };
    const Case cases[] = {
        {-1, false, 0644}, {-1, true, 0600}, {0640, false, 0640}, {0644, true, 0644}, {0600, false, 0600},
    };
    const auto key = TFileKey::Create(Password, Cheap);
    TTreeList tree;
    Fill(tree);
    const mode_t mask = ::umask(022);
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = Path("f" + std::to_string(n++) + ".trd");
        if (c.existing >= 0) {
            WriteFile(path, "previous");
            ::chmod(path.c_str(), static_cast<mode_t>(c.existing));
        }
        SaveItems(tree, path, c.protect ? key.get() : nullptr);
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, c.expected) << c.existing << " " << c.protect;
    }
    ::umask(mask);
}

// In a child, so the test process itself can still dump: a key derived
// after the call leaves both off, and nothing can raise the limit again.
TEST(ProcessHardening, ChildWithAKeyHasNoCoreDump)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        DisableCoreDumps();
        const auto key = TFileKey::Create(Password, Cheap);
        rlimit core{1, 1};
        ::getrlimit(RLIMIT_CORE, &core);
        const rlimit raised{RLIM_INFINITY, RLIM_INFINITY};
        const bool ok = key && ::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 0 && core.rlim_cur == 0 &&
                        core.rlim_max == 0 && ::setrlimit(RLIMIT_CORE, &raised) != 0;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
