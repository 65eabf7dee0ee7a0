#include "document/protectedfile.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <sodium.h>

namespace {

using namespace Protection;

static_assert(SaltSize == crypto_pwhash_SALTBYTES);
static_assert(StreamHeaderSize == crypto_secretstream_xchacha20poly1305_HEADERBYTES);
static_assert(KeySize == crypto_secretstream_xchacha20poly1305_KEYBYTES);
static_assert(ChunkOverhead == crypto_secretstream_xchacha20poly1305_ABYTES);
static_assert(Argon2id == crypto_pwhash_ALG_ARGON2ID13);
static_assert(MarkerSize + 4 + 4 + 8 + 8 + 4 + SaltSize + StreamHeaderSize == HeaderSize);
static_assert(MinOpsLimit >= crypto_pwhash_OPSLIMIT_MIN && MinMemLimit >= crypto_pwhash_MEMLIMIT_MIN);

void InitSodium()
{
    // sodium_init may be called from any thread, as often as wanted.
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("The cryptography library cannot start");
}

// More than crypto_pwhash's deepest frames take (a few KiB).
constexpr size_t StackToWipe = 64 << 10;

uint64_t LoadLe(const unsigned char* p, int bytes)
{
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

unsigned char* StoreLe(unsigned char* p, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
    return p + bytes;
}

// The header a file written with `key` and a stream header `stream` starts with.
std::array<unsigned char, HeaderSize> MakeHeader(const TFileKey& key, const unsigned char* stream)
{
    std::array<unsigned char, HeaderSize> header{};
    unsigned char* p = header.data();
    std::memcpy(p, Marker, MarkerSize);
    p += MarkerSize;
    p = StoreLe(p, Version, 4);
    p = StoreLe(p, Argon2id, 4);
    p = StoreLe(p, key.Params().opsLimit, 8);
    p = StoreLe(p, key.Params().memLimit, 8);
    p = StoreLe(p, key.Params().chunkSize, 4);
    std::memcpy(p, key.Salt().data(), SaltSize);
    p += SaltSize;
    std::memcpy(p, stream, StreamHeaderSize);
    return header;
}

}  // namespace

bool TProtectionHeader::Acceptable() const
{
    return version == Version && algorithm == Argon2id && params.opsLimit >= MinOpsLimit &&
           params.opsLimit <= MaxOpsLimit && params.memLimit >= MinMemLimit && params.memLimit <= MaxMemLimit &&
           params.opsLimit * params.memLimit <= MaxOpsTimesMem && params.chunkSize >= MinChunkSize &&
           params.chunkSize <= MaxChunkSize;
}

bool HasProtectionMarker(const char* data, size_t size)
{
    return size >= MarkerTellSize && std::memcmp(data, Marker, MarkerTellSize) == 0;
}

std::optional<TProtectionHeader> ParseProtectionHeader(const char* data, size_t size)
{
    if (size < HeaderSize || std::memcmp(data, Marker, MarkerSize) != 0)
        return std::nullopt;
    TProtectionHeader header;
    std::memcpy(header.bytes.data(), data, HeaderSize);
    const unsigned char* p = header.bytes.data() + MarkerSize;
    header.version = static_cast<uint32_t>(LoadLe(p, 4));
    header.algorithm = static_cast<uint32_t>(LoadLe(p + 4, 4));
    header.params.opsLimit = LoadLe(p + 8, 8);
    header.params.memLimit = LoadLe(p + 16, 8);
    header.params.chunkSize = static_cast<uint32_t>(LoadLe(p + 24, 4));
    std::memcpy(header.salt.data(), p + 28, SaltSize);
    std::memcpy(header.stream.data(), p + 28 + SaltSize, StreamHeaderSize);
    return header;
}

std::string ProtectedFileErrorText(const std::string& fileName)
{
    return "Cannot open file " + fileName + ": the password is wrong or the file is damaged";
}

std::string ProtectedFileNewerText(const std::string& fileName)
{
    return "Cannot open file " + fileName + ": it was made by a newer version of the program";
}

std::string ProtectedFileDamagedText(const std::string& fileName, size_t offset)
{
    return "Cannot open file " + fileName + ": the password is right but the file is damaged at byte " +
           std::to_string(offset);
}

void RequireAcceptable(const TProtectionHeader& header, const std::string& fileName)
{
    if (header.version > Version)
        throw EProtectedFileError(ProtectedFileNewerText(fileName));
    if (!header.Acceptable())
        throw EProtectedFileError(ProtectedFileErrorText(fileName));
}

TFileKey::TFileKey(std::string_view password, const TProtectionParams& params,
                   const std::array<unsigned char, SaltSize>& salt)
    : m_params(params), m_salt(salt)
{
    InitSodium();
    // Guarded by inaccessible pages, locked against swapping, and zeroed when freed.
    m_key = static_cast<unsigned char*>(sodium_malloc(KeySize));
    if (!m_key)
        throw std::bad_alloc();
    const char* text = password.empty() ? "" : password.data();
    if (crypto_pwhash(m_key, KeySize, text, password.size(), m_salt.data(), params.opsLimit,
                      static_cast<size_t>(params.memLimit), crypto_pwhash_ALG_ARGON2ID13) != 0) {
        sodium_stackzero(StackToWipe);
        sodium_free(m_key);
        throw std::bad_alloc();  // Argon2 fails only for want of memory
    }
    // Argon2 leaves copies of the key in the stack frames it used.
    sodium_stackzero(StackToWipe);
    sodium_mprotect_readonly(m_key);
}

TFileKey::~TFileKey()
{
    sodium_free(m_key);
}

std::shared_ptr<const TFileKey> TFileKey::Create(std::string_view password, const TProtectionParams& params)
{
    InitSodium();
    std::array<unsigned char, SaltSize> salt{};
    randombytes_buf(salt.data(), salt.size());
    return std::shared_ptr<const TFileKey>(new TFileKey(password, params, salt));
}

std::shared_ptr<const TFileKey> TFileKey::ForHeader(std::string_view password, const TProtectionHeader& header,
                                                    const std::string& fileName)
{
    // Before any work: the bounds are what keeps a hostile header cheap.
    RequireAcceptable(header, fileName);
    try {
        return std::shared_ptr<const TFileKey>(new TFileKey(password, header.params, header.salt));
    } catch (const std::bad_alloc&) {
        throw EProtectedFileError(ProtectedFileErrorText(fileName));
    }
}

size_t DecryptInPlace(char* data, size_t size, const TFileKey& key, const std::string& fileName)
{
    InitSodium();
    const auto fail = [&fileName] { return EProtectedFileError(ProtectedFileErrorText(fileName)); };
    const std::optional<TProtectionHeader> header = ParseProtectionHeader(data, size);
    if (!header)
        throw fail();
    RequireAcceptable(*header, fileName);
    crypto_secretstream_xchacha20poly1305_state state;
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state, header->stream.data(), key.Data()) != 0)
        throw fail();
    const size_t chunkSize = header->params.chunkSize;
    const size_t fullChunk = chunkSize + ChunkOverhead;
    // Each chunk is decrypted into memory of its own, then copied to where
    // the clear bytes go: they always stay behind the next chunk's cipher text.
    std::unique_ptr<unsigned char[]> clear(new unsigned char[chunkSize]);
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    size_t in = HeaderSize;
    size_t out = 0;
    bool first = true;
    for (;;) {
        const size_t left = size - in;
        const bool last = left < fullChunk;
        // Once a chunk authenticated, the key is right: what fails after it is damage.
        const auto damaged = [&] {
            return first ? fail() : EProtectedFileError(ProtectedFileDamagedText(fileName, in));
        };
        // Nothing left means the final chunk was cut off.
        if (last && left < ChunkOverhead)
            throw damaged();
        const size_t length = last ? left : fullChunk;
        unsigned long long clearLength = 0;
        unsigned char tag = 0;
        const int result = crypto_secretstream_xchacha20poly1305_pull(
            &state, clear.get(), &clearLength, &tag, bytes + in, length, first ? header->bytes.data() : nullptr,
            first ? HeaderSize : 0);
        const unsigned char expected =
            last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
        if (result != 0 || tag != expected) {
            sodium_memzero(clear.get(), chunkSize);
            throw result == 0 ? EProtectedFileError(ProtectedFileDamagedText(fileName, in)) : damaged();
        }
        std::memcpy(bytes + out, clear.get(), clearLength);
        in += length;
        out += clearLength;
        first = false;
        if (last)
            break;
    }
    sodium_memzero(clear.get(), chunkSize);
    sodium_memzero(&state, sizeof state);
    return out;
}

struct TEncryptor::TState {
    crypto_secretstream_xchacha20poly1305_state stream;
};

TEncryptor::TEncryptor(const TFileKey& key, TOut out)
    : m_key(key), m_out(std::move(out)), m_state(std::make_unique<TState>()),
      m_chunk(new unsigned char[key.Params().chunkSize]),
      m_cipher(new unsigned char[key.Params().chunkSize + ChunkOverhead])
{
    InitSodium();
    unsigned char stream[StreamHeaderSize];
    crypto_secretstream_xchacha20poly1305_init_push(&m_state->stream, stream, key.Data());
    m_header = MakeHeader(key, stream);
    m_out(reinterpret_cast<const char*>(m_header.data()), m_header.size());
}

TEncryptor::~TEncryptor()
{
    sodium_memzero(m_chunk.get(), m_key.Params().chunkSize);
    sodium_memzero(&m_state->stream, sizeof m_state->stream);
}

void TEncryptor::Push(const unsigned char* data, size_t size, bool final)
{
    unsigned long long length = 0;
    crypto_secretstream_xchacha20poly1305_push(
        &m_state->stream, m_cipher.get(), &length, data, size, m_first ? m_header.data() : nullptr,
        m_first ? m_header.size() : 0,
        final ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
    m_first = false;
    m_out(reinterpret_cast<const char*>(m_cipher.get()), static_cast<size_t>(length));
}

void TEncryptor::Write(const char* data, size_t size)
{
    const size_t chunkSize = m_key.Params().chunkSize;
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    while (size > 0) {
        // Whole chunks straight from the caller's bytes, the rest through the buffer.
        if (m_used == 0 && size >= chunkSize) {
            Push(p, chunkSize, false);
            p += chunkSize;
            size -= chunkSize;
            continue;
        }
        const size_t part = std::min(size, chunkSize - m_used);
        std::memcpy(m_chunk.get() + m_used, p, part);
        m_used += part;
        p += part;
        size -= part;
        // A full chunk goes at once, so the final one always holds less.
        if (m_used == chunkSize) {
            Push(m_chunk.get(), chunkSize, false);
            m_used = 0;
        }
    }
}

void TEncryptor::Finish()
{
    if (m_finished)
        return;
    Push(m_chunk.get(), m_used, true);
    m_used = 0;
    m_finished = true;
}

std::string EncryptBytes(std::string_view clear, const TFileKey& key)
{
    std::string out;
    const size_t chunkSize = key.Params().chunkSize;
    out.reserve(HeaderSize + clear.size() + (clear.size() / chunkSize + 1) * ChunkOverhead);
    TEncryptor encryptor(key, [&out](const char* data, size_t size) { out.append(data, size); });
    encryptor.Write(clear);
    encryptor.Finish();
    return out;
}
