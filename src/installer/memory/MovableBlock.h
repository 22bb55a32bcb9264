#pragma once
// The storage of ByteString, PointerList and RecordArray: one movable, zero-initialised block of
// the system's global memory (on Windows a GlobalAlloc block, locked while the object lives).
// The block keeps capacity beyond what its owner uses, so growing one byte at a time costs
// amortised constant time; bytes that come into use again after a shrink read as 0.
// Failure to allocate, resize or lock ends the installer through fatalError.
#include <cstddef>
#include <cstdint>

class MovableBlock {
public:
    MovableBlock();
    ~MovableBlock();
    MovableBlock(const MovableBlock&) = delete;
    MovableBlock& operator=(const MovableBlock&) = delete;
    MovableBlock(MovableBlock&& other) noexcept;
    MovableBlock& operator=(MovableBlock&& other) noexcept;

    std::uint8_t* data() const { return data_; }
    std::size_t capacity() const { return capacity_; }

    // Makes room for at least `bytes` bytes, growing geometrically; the content is kept and the
    // new bytes are 0. The data pointer may change.
    void reserve(std::size_t bytes);
    // Gives back memory when the content needs far less than the capacity.
    void shrinkTo(std::size_t bytes);

private:
    void reallocate(std::size_t newCapacity);

    void* handle_ = nullptr;
    std::uint8_t* data_ = nullptr;
    std::size_t capacity_ = 0;
};

// The largest content a block may hold: lengths and counts of the installer are 32-bit.
constexpr std::size_t kMaxBlockBytes = 0x7FFFFFF0u;
