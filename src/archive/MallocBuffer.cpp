#include "archive/MallocBuffer.h"

#include <cstring>

namespace ombrel {

namespace {

// malloc(0) may return null, which would read as a failure: keep at least one byte.
std::size_t allocationSize(std::int64_t size) {
    return size > 0 ? static_cast<std::size_t>(size) : 1;
}

} // namespace

MallocBuffer MallocBuffer::allocate(std::int64_t size) {
    if (size < 0 || static_cast<std::uint64_t>(size) > SIZE_MAX) {
        return {};
    }
    auto* memory = static_cast<unsigned char*>(std::malloc(allocationSize(size)));
    if (!memory) {
        return {};
    }
    return {memory, size};
}

MallocBuffer MallocBuffer::copyOf(QByteArrayView bytes) {
    MallocBuffer buffer = allocate(bytes.size());
    if (!buffer.isNull() && !bytes.isEmpty()) {
        std::memcpy(buffer.data(), bytes.data(), static_cast<std::size_t>(bytes.size()));
    }
    return buffer;
}

MallocBuffer MallocBuffer::adopt(unsigned char* memory, std::int64_t size) {
    if (!memory) {
        return {};
    }
    return {memory, size};
}

bool MallocBuffer::resize(std::int64_t newSize) {
    if (isNull() || newSize < 0 || static_cast<std::uint64_t>(newSize) > SIZE_MAX) {
        return false;
    }
    auto* grown = static_cast<unsigned char*>(std::realloc(memory_.get(), allocationSize(newSize)));
    if (!grown) {
        return false;
    }
    static_cast<void>(memory_.release()); // realloc has taken it over
    memory_.reset(grown);
    if (newSize > size_) {
        std::memset(grown + size_, 0, static_cast<std::size_t>(newSize - size_));
    }
    size_ = newSize;
    return true;
}

unsigned char* MallocBuffer::release() {
    size_ = 0;
    return memory_.release();
}

} // namespace ombrel
