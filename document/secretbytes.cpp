#include "document/secretbytes.h"

#include <cstring>
#include <utility>

#include <sodium.h>

TSecretBytes::TSecretBytes(const char* data, size_t size) : m_data(new char[size > 0 ? size : 1]), m_size(size)
{
    if (size > 0)
        std::memcpy(m_data.get(), data, size);
}

TSecretBytes::TSecretBytes(TSecretBytes&& other) noexcept
    : m_data(std::move(other.m_data)), m_size(std::exchange(other.m_size, 0))
{
}

TSecretBytes::~TSecretBytes()
{
    if (m_data)
        Wipe(m_data.get(), m_size);
}

void TSecretBytes::Wipe(void* data, size_t size)
{
    if (size > 0)
        sodium_memzero(data, size);
}
