#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// The password-protected variant of the tree data file: a header, then the
// current variant's bytes encrypted and authenticated in chunks by libsodium's
// crypto_secretstream_xchacha20poly1305, the last chunk tagged final. The key
// comes from the password through Argon2id (crypto_pwhash), with the cost and
// salt the header gives.
//
// Header, 76 bytes, numbers little-endian:
//    0  8  marker 56 45 4B E5 0D 0A 1A 0A: as a 32-bit count it is negative
//          and not -1, so neither variant's reader takes it for its own
//    8  4  format version (1)
//   12  4  key derivation: 2, Argon2id v1.3
//   16  8  Argon2id operations limit
//   24  8  Argon2id memory limit in bytes
//   32  4  chunk size: clear bytes in each chunk but the last
//   36 16  salt
//   52 24  the secretstream's header
// The whole header is the associated data of the first chunk, so no field can
// be changed unnoticed. Every chunk but the last holds exactly the chunk size
// and is tagged as a message; the last holds less (possibly nothing) and is
// tagged final. A chunk costs 17 bytes more than it holds.
//
// A file is read only with bounded parameters, checked before any work, so
// that a hostile header cannot demand more than a few seconds and 1 GiB.

// Raised for a wrong password and for a damaged, cut or extended file alike
// (the two cannot be told apart until a chunk authenticates), for a file of a
// newer format version, and for damage behind a chunk that authenticated.
// The message names the file.
class EProtectedFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace Protection {
constexpr size_t MarkerSize = 8;
constexpr unsigned char Marker[MarkerSize] = {0x56, 0x45, 0x4B, 0xE5, 0x0D, 0x0A, 0x1A, 0x0A};
// The marker's first four bytes tell the variant: a file that starts with
// them and not with the rest is a damaged protected file. Read as the clear
// variant, the rest of a damaged marker could pass for a count of no items.
constexpr size_t MarkerTellSize = 4;
constexpr uint32_t Version = 1;
constexpr uint32_t Argon2id = 2;
constexpr size_t SaltSize = 16;
constexpr size_t StreamHeaderSize = 24;
constexpr size_t HeaderSize = 76;
constexpr size_t KeySize = 32;
constexpr size_t ChunkOverhead = 17;

// About half a second on the development machine (2 cores): libsodium's
// "moderate" cost.
constexpr uint64_t DefaultOpsLimit = 3;
constexpr uint64_t DefaultMemLimit = uint64_t(256) << 20;
constexpr uint32_t DefaultChunkSize = 64 << 10;

// What a header may ask for. The product bound keeps the work within about
// five times the default (some three seconds here).
constexpr uint64_t MinOpsLimit = 1;
constexpr uint64_t MaxOpsLimit = 16;
constexpr uint64_t MinMemLimit = 8 << 10;
constexpr uint64_t MaxMemLimit = uint64_t(1) << 30;
constexpr uint64_t MaxOpsTimesMem = uint64_t(4) << 30;
constexpr uint32_t MinChunkSize = 64;
constexpr uint32_t MaxChunkSize = 16 << 20;
}  // namespace Protection

// How a key is derived and how its files are cut into chunks.
struct TProtectionParams {
    uint64_t opsLimit = Protection::DefaultOpsLimit;
    uint64_t memLimit = Protection::DefaultMemLimit;
    uint32_t chunkSize = Protection::DefaultChunkSize;
};

// A protected file's header as read; nothing is checked but the marker.
struct TProtectionHeader {
    uint32_t version = 0;
    uint32_t algorithm = 0;
    TProtectionParams params;
    std::array<unsigned char, Protection::SaltSize> salt{};
    std::array<unsigned char, Protection::StreamHeaderSize> stream{};
    std::array<unsigned char, Protection::HeaderSize> bytes{};

    // Whether a reader can take it: known version and algorithm, and every
    // parameter within the bounds above.
    bool Acceptable() const;
};

// True when the bytes start as the protected variant does (MarkerTellSize).
bool HasProtectionMarker(const char* data, size_t size);
// None when the bytes hold no whole header after the marker.
std::optional<TProtectionHeader> ParseProtectionHeader(const char* data, size_t size);

// The message for a wrong password or a damaged header or first chunk.
std::string ProtectedFileErrorText(const std::string& fileName);
// The message for a header of a later format version than this reader's.
std::string ProtectedFileNewerText(const std::string& fileName);
// The message for a chunk at `offset` that fails after the first one
// authenticated, so the password was right.
std::string ProtectedFileDamagedText(const std::string& fileName, size_t offset);
// Raises EProtectedFileError unless a reader can take the header: a newer
// version with its own message, before any password is asked for.
void RequireAcceptable(const TProtectionHeader& header, const std::string& fileName);

// A key derived from a password, in memory of its own that is locked against
// swapping, guarded, and wiped when the key goes. It keeps the salt and
// parameters it was derived with, which every file saved with it carries.
class TFileKey {
public:
    // A new key with a fresh random salt. Raises std::bad_alloc when the
    // derivation finds no memory.
    static std::shared_ptr<const TFileKey> Create(std::string_view password, const TProtectionParams& params = {});
    // The key of a protected file, for its header's salt and parameters. An
    // unacceptable header, or a derivation that fails, raises
    // EProtectedFileError naming the file.
    static std::shared_ptr<const TFileKey> ForHeader(std::string_view password, const TProtectionHeader& header,
                                                     const std::string& fileName);
    ~TFileKey();
    TFileKey(const TFileKey&) = delete;
    TFileKey& operator=(const TFileKey&) = delete;

    const unsigned char* Data() const { return m_key; }
    const TProtectionParams& Params() const { return m_params; }
    const std::array<unsigned char, Protection::SaltSize>& Salt() const { return m_salt; }

private:
    TFileKey(std::string_view password, const TProtectionParams& params,
             const std::array<unsigned char, Protection::SaltSize>& salt);

    unsigned char* m_key = nullptr;
    TProtectionParams m_params;
    std::array<unsigned char, Protection::SaltSize> m_salt{};
};

// Decrypts a whole protected file held in memory, in place: the clear bytes
// start at `data` and their size is returned. Besides the file's bytes it
// needs one chunk. On failure the content of `data` is undefined and
// EProtectedFileError names `fileName`.
size_t DecryptInPlace(char* data, size_t size, const TFileKey& key, const std::string& fileName);

// Encrypts a stream of clear bytes into the protected variant, handing the
// result to `out` a header or a chunk at a time.
class TEncryptor {
public:
    using TOut = std::function<void(const char* data, size_t size)>;
    // Writes the header at once.
    TEncryptor(const TFileKey& key, TOut out);
    ~TEncryptor();
    TEncryptor(const TEncryptor&) = delete;
    TEncryptor& operator=(const TEncryptor&) = delete;

    void Write(const char* data, size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // The last chunk, tagged final. Nothing may be written after it.
    void Finish();

private:
    void Push(const unsigned char* data, size_t size, bool final);

    const TFileKey& m_key;
    TOut m_out;
    struct TState;
    std::unique_ptr<TState> m_state;
    std::unique_ptr<unsigned char[]> m_chunk;
    std::unique_ptr<unsigned char[]> m_cipher;
    size_t m_used = 0;
    bool m_first = true;
    bool m_finished = false;
    std::array<unsigned char, Protection::HeaderSize> m_header{};
};

// The whole protected file of `clear` in memory (tests, trdtool).
std::string EncryptBytes(std::string_view clear, const TFileKey& key);
