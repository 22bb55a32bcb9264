#pragma once
// A growable array of fixed-size records whose owner keeps a plain pointer to the records: the
// array refreshes that outside pointer after every change and sets it to null when freed.
#include "installer/memory/MovableBlock.h"

#include <cstdint>
#include <optional>

class RecordArray {
public:
    RecordArray() = default;
    ~RecordArray() { free(); }
    RecordArray(const RecordArray&) = delete;
    RecordArray& operator=(const RecordArray&) = delete;

    std::int32_t count() const { return count_; }
    std::int32_t recordSize() const { return recordSize_; }
    const std::uint8_t* records() const { return block_ ? block_->data() : nullptr; }

    // Binds the outside pointer and the record size and starts a new empty block; returns 1.
    int attach(std::uint8_t** dataPointerAddress, std::int32_t recordSize);
    int append(const void* record) { return appendN(record, 1); }
    int appendN(const void* records, std::int32_t n);
    // -1 when index lies outside the array.
    int removeAt(std::int32_t index);
    void clear();
    void free();

    bool busy = false;

private:
    void publish();

    std::optional<MovableBlock> block_;
    std::int32_t count_ = 0;
    std::uint8_t** dataPointer_ = nullptr;
    std::int32_t recordSize_ = 4;
};

// Appends a text to the double-NUL-terminated list held in one-byte records: the list's final
// NUL is dropped, the text and its NUL are appended, then the closing NUL again.
void appendToDoubleNulList(RecordArray& list, const char* text);
