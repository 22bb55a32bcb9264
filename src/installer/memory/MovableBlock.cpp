#include "installer/memory/MovableBlock.h"

#include "installer/memory/FatalError.h"
#include "installer/memory/GlobalMemory.h"

#include <cstring>
#include <utility>

namespace {
constexpr std::size_t kMinimumCapacity = 16;
}

MovableBlock::MovableBlock()
{
    reallocate(kMinimumCapacity);
}

MovableBlock::~MovableBlock()
{
    if (handle_)
        globalMemoryFree(handle_);
}

MovableBlock::MovableBlock(MovableBlock&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      data_(std::exchange(other.data_, nullptr)),
      capacity_(std::exchange(other.capacity_, 0))
{
}

MovableBlock& MovableBlock::operator=(MovableBlock&& other) noexcept
{
    if (this != &other) {
        if (handle_)
            globalMemoryFree(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

void MovableBlock::reserve(std::size_t bytes)
{
    if (bytes > kMaxBlockBytes)
        fatalError(nullptr);
    if (!handle_)
        reallocate(kMinimumCapacity); // a moved-from block becomes usable again
    if (bytes <= capacity_)
        return;
    std::size_t newCapacity = capacity_ < kMaxBlockBytes / 2 ? capacity_ * 2 : kMaxBlockBytes;
    if (newCapacity < bytes)
        newCapacity = bytes;
    reallocate(newCapacity);
}

void MovableBlock::shrinkTo(std::size_t bytes)
{
    if (!handle_)
        return;
    if (bytes < kMinimumCapacity)
        bytes = kMinimumCapacity;
    if (bytes * 4 <= capacity_)
        reallocate(bytes * 2);
}

void MovableBlock::reallocate(std::size_t newCapacity)
{
    const std::size_t oldCapacity = handle_ ? capacity_ : 0;
    void* handle = handle_ ? globalMemoryResize(handle_, newCapacity) : globalMemoryAllocate(newCapacity);
    if (!handle)
        fatalError(nullptr);
    handle_ = handle;
    data_ = static_cast<std::uint8_t*>(globalMemoryAddress(handle_));
    if (!data_)
        fatalError(nullptr);
    capacity_ = newCapacity;
    if (newCapacity > oldCapacity)
        std::memset(data_ + oldCapacity, 0, newCapacity - oldCapacity);
}
