#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

// The bytes of a secret (a password as the key derivation takes it), wiped
// before their memory goes back: ordinary strings hand it back as it is.
class TSecretBytes {
public:
    TSecretBytes(const char* data, size_t size);
    ~TSecretBytes();
    TSecretBytes(TSecretBytes&& other) noexcept;
    TSecretBytes& operator=(TSecretBytes&&) = delete;
    TSecretBytes(const TSecretBytes&) = delete;
    TSecretBytes& operator=(const TSecretBytes&) = delete;

    std::string_view View() const { return {m_data.get(), m_size}; }

    // Overwrites memory that held a secret in a way the compiler cannot drop
    // as a dead store.
    static void Wipe(void* data, size_t size);

private:
    std::unique_ptr<char[]> m_data;
    size_t m_size = 0;
};
