#include "installer/text/RecordArray.h"

#include "installer/memory/FatalError.h"

#include <cstring>

int RecordArray::attach(std::uint8_t** dataPointerAddress, std::int32_t recordSize)
{
    dataPointer_ = dataPointerAddress;
    recordSize_ = recordSize > 0 ? recordSize : 1;
    count_ = 0;
    block_.emplace();
    publish();
    return 1;
}

int RecordArray::appendN(const void* records, std::int32_t n)
{
    if (n <= 0 || !records)
        return 1;
    const std::uint64_t newBytes = (static_cast<std::uint64_t>(count_) + n) * static_cast<std::uint64_t>(recordSize_);
    if (newBytes > kMaxBlockBytes)
        fatalError(nullptr);
    busy = true;
    if (!block_)
        block_.emplace();
    block_->reserve(static_cast<std::size_t>(newBytes));
    std::memcpy(block_->data() + static_cast<std::size_t>(count_) * recordSize_, records,
                static_cast<std::size_t>(n) * recordSize_);
    count_ += n;
    publish();
    busy = false;
    return 1;
}

int RecordArray::removeAt(std::int32_t index)
{
    if (index < 0 || index >= count_)
        return -1;
    busy = true;
    std::uint8_t* p = block_->data();
    const std::size_t size = static_cast<std::size_t>(recordSize_);
    std::memmove(p + index * size, p + (index + 1) * size, (count_ - index - 1) * size);
    --count_;
    std::memset(p + count_ * size, 0, size);
    block_->shrinkTo(count_ * size);
    publish();
    busy = false;
    return 1;
}

void RecordArray::clear()
{
    if (!block_)
        return;
    std::memset(block_->data(), 0, static_cast<std::size_t>(count_) * recordSize_);
    count_ = 0;
    block_->shrinkTo(0);
    publish();
}

void RecordArray::free()
{
    block_.reset();
    count_ = 0;
    if (dataPointer_)
        *dataPointer_ = nullptr;
    dataPointer_ = nullptr;
}

void RecordArray::publish()
{
    if (dataPointer_)
        *dataPointer_ = block_ ? block_->data() : nullptr;
}

void appendToDoubleNulList(RecordArray& list, const char* text)
{
    if (list.count() > 0)
        list.removeAt(list.count() - 1);
    const std::size_t length = text ? std::strlen(text) : 0;
    if (length)
        list.appendN(text, static_cast<std::int32_t>(length));
    const char nul = 0;
    list.append(&nul);
    list.append(&nul);
}
