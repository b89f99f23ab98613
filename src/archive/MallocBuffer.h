#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace ombrel {

/// A byte buffer from malloc, released with free: the ownership the codecs and the archive
/// reader hand out. A null buffer stands for a failure; an empty one is a valid result.
class MallocBuffer {
public:
    /// A null buffer.
    MallocBuffer() = default;

    /// A buffer of size bytes (contents undefined), or a null one when allocation fails.
    static MallocBuffer allocate(std::int64_t size);
    /// A buffer holding a copy of bytes, or a null one when allocation fails.
    static MallocBuffer copyOf(QByteArrayView bytes);
    /// Takes ownership of memory from malloc holding size bytes.
    static MallocBuffer adopt(unsigned char* memory, std::int64_t size);

    /// True when the buffer holds no memory (the failure result).
    bool isNull() const { return !memory_; }
    /// The first byte, or nullptr for a null buffer.
    unsigned char* data() { return memory_.get(); }
    /// The first byte, or nullptr for a null buffer.
    const unsigned char* data() const { return memory_.get(); }
    /// Number of valid bytes; 0 for a null buffer.
    std::int64_t size() const { return size_; }
    /// The bytes as a view, valid while the buffer lives and is not resized.
    QByteArrayView view() const { return {memory_.get(), static_cast<qsizetype>(size_)}; }
    /// A copy of the bytes.
    QByteArray toByteArray() const { return view().toByteArray(); }

    /// Changes the size, keeping the bytes that fit and zero-filling new ones. False (the
    /// buffer unchanged) when memory runs out or the buffer is null.
    bool resize(std::int64_t newSize);
    /// Hands the memory to the caller, who must release it with free; the buffer becomes null.
    unsigned char* release();

private:
    struct FreeDeleter {
        void operator()(unsigned char* memory) const { std::free(memory); }
    };

    MallocBuffer(unsigned char* memory, std::int64_t size) : memory_(memory), size_(size) {}

    std::unique_ptr<unsigned char, FreeDeleter> memory_;
    std::int64_t size_ = 0;
};

} // namespace ombrel
