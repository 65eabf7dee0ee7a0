#include "app/print/atomicfiledevice.h"

#include "document/atomicfile.h"

#include <string_view>

TAtomicFileDevice::TAtomicFileDevice(const std::string& fileName) : m_file(std::make_unique<TAtomicFile>(fileName))
{
    open(QIODevice::WriteOnly);
}

TAtomicFileDevice::~TAtomicFileDevice() = default;

void TAtomicFileDevice::Commit()
{
    if (m_error)
        std::rethrow_exception(m_error);
    m_file->Commit();
}

qint64 TAtomicFileDevice::readData(char*, qint64)
{
    return -1;
}

qint64 TAtomicFileDevice::writeData(const char* data, qint64 size)
{
    if (m_error)
        return -1;
    try {
        m_file->Writer().Write(std::string_view(data, static_cast<size_t>(size)));
    } catch (...) {
        m_error = std::current_exception();
        return -1;
    }
    return size;
}
