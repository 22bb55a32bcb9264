#include "installer/text/ByteString.h"

#include "installer/memory/FatalError.h"

#include <cstring>
#include <utility>

namespace {

std::uint8_t upperByte(std::uint8_t b)
{
    if (b >= 'a' && b <= 'z')
        return static_cast<std::uint8_t>(b - 'a' + 'A');
    switch (b) {
    case 0xE5: return 0xC5;
    case 0xE4: return 0xC4;
    case 0xF6: return 0xD6;
    default: return b;
    }
}

bool bytesEqual(std::uint8_t a, std::uint8_t b, int caseFlag)
{
    return caseFlag ? a == b : upperByte(a) == upperByte(b);
}

std::uint32_t textLength(const char* text)
{
    return text ? static_cast<std::uint32_t>(std::strlen(text)) : 0;
}

} // namespace

ByteString::ByteString(ByteString&& other) noexcept
    : block_(std::move(other.block_)), length_(std::exchange(other.length_, 0))
{
}

ByteString& ByteString::operator=(const ByteString& other)
{
    if (this != &other)
        assign(other);
    return *this;
}

ByteString& ByteString::operator=(ByteString&& other) noexcept
{
    if (this != &other) {
        block_ = std::move(other.block_);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

ByteString::ByteString(const std::uint8_t* bytes, std::uint32_t count)
{
    if (count)
        std::memcpy(grow(count), bytes, count);
}

ByteString ByteString::initChar(std::uint8_t byte)
{
    ByteString s;
    s.appendChar(byte);
    return s;
}

void ByteString::setLength(std::uint32_t newLength)
{
    // One byte more than the content is always there, for cStr's NUL. A moved-from string
    // gets a new block here.
    block_.reserve(static_cast<std::size_t>(newLength > length_ ? newLength : length_) + 1);
    if (newLength > length_) {
        std::memset(block_.data() + length_, 0, newLength - length_ + 1);
    } else {
        std::memset(block_.data() + newLength, 0, length_ - newLength + 1);
        block_.shrinkTo(static_cast<std::size_t>(newLength) + 1);
    }
    length_ = newLength;
}

void ByteString::assignCStr(const char* text)
{
    setLength(0);
    appendCStr(text);
}

void ByteString::assign(const ByteString& other)
{
    if (this == &other)
        return;
    setLength(other.length_);
    if (other.length_)
        std::memcpy(block_.data(), other.block_.data(), other.length_);
}

std::uint8_t ByteString::at(std::uint32_t i) const
{
    return i < length_ ? block_.data()[i] : 0xFF;
}

const char* ByteString::cStr()
{
    block_.reserve(static_cast<std::size_t>(length_) + 1);
    block_.data()[length_] = 0;
    return reinterpret_cast<const char*>(block_.data());
}

ByteString ByteString::substr(std::uint32_t start, std::uint32_t n) const
{
    if (static_cast<std::uint64_t>(start) + n <= length_)
        return ByteString(block_.data() + start, n);
    return *this;
}

std::int32_t ByteString::readBE16(std::uint32_t pos) const
{
    if (static_cast<std::uint64_t>(pos) + 1 >= length_)
        return -1;
    const std::uint8_t* p = block_.data() + pos;
    return (p[0] << 8) | p[1];
}

std::uint32_t ByteString::readBE32(std::uint32_t pos) const
{
    if (static_cast<std::uint64_t>(pos) + 3 >= length_)
        return 0xFFFFFFFFu;
    const std::uint8_t* p = block_.data() + pos;
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool ByteString::hasMore(std::int32_t pos) const
{
    return pos >= 0 && static_cast<std::uint32_t>(pos) < length_;
}

void ByteString::nextLine(std::int32_t* pos, ByteString& out) const
{
    if (!pos) {
        out.assignCStr("Invalid param");
        return;
    }
    if (!hasMore(*pos)) {
        out.assignCStr("Out of bounds");
        return;
    }
    const std::uint32_t start = static_cast<std::uint32_t>(*pos);
    const std::uint8_t* p = block_.data();
    std::uint32_t end = start;
    while (end + 1 < length_ && !(p[end] == '\r' && p[end + 1] == '\n'))
        ++end;
    if (end + 1 < length_) {
        out = ByteString(p + start, end - start);
        *pos = static_cast<std::int32_t>(end + 2);
    } else {
        out = ByteString(p + start, length_ - start);
        *pos = static_cast<std::int32_t>(length_);
    }
}

void ByteString::appendChar(std::uint8_t byte)
{
    *grow(1) = byte;
}

void ByteString::appendCStr(const char* text, std::uint32_t n)
{
    if (!text)
        return;
    const std::uint32_t count = n ? n : textLength(text);
    if (count)
        std::memcpy(grow(count), text, count);
}

void ByteString::append(const ByteString& other)
{
    if (other.length_ == 0)
        return;
    const std::uint32_t count = other.length_;
    if (&other == this) {
        std::uint8_t* dest = grow(count);
        std::memcpy(dest, block_.data(), count);
        return;
    }
    std::memcpy(grow(count), other.block_.data(), count);
}

void ByteString::appendBE32(std::uint32_t value)
{
    std::uint8_t* p = grow(4);
    p[0] = static_cast<std::uint8_t>(value >> 24);
    p[1] = static_cast<std::uint8_t>(value >> 16);
    p[2] = static_cast<std::uint8_t>(value >> 8);
    p[3] = static_cast<std::uint8_t>(value);
}

std::uint8_t* ByteString::grow(std::uint32_t n)
{
    const std::uint64_t newLength = static_cast<std::uint64_t>(length_) + n;
    if (newLength >= kMaxBlockBytes)
        fatalError(nullptr);
    const std::uint32_t oldLength = length_;
    setLength(static_cast<std::uint32_t>(newLength));
    return block_.data() + oldLength;
}

void ByteString::insertBytes(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t pos)
{
    if (pos > length_ || count == 0)
        return;
    const std::uint32_t tail = length_ - pos;
    grow(count);
    std::uint8_t* p = block_.data();
    std::memmove(p + pos + count, p + pos, tail);
    std::memcpy(p + pos, bytes, count);
}

void ByteString::insertChar(std::uint8_t byte, std::uint32_t pos)
{
    insertBytes(&byte, 1, pos);
}

void ByteString::insertCStr(const char* text, std::uint32_t pos, std::uint32_t n)
{
    if (!text)
        return;
    // A copy first: the text may lie inside this string's own block, which grow may move.
    const ByteString copy(reinterpret_cast<const std::uint8_t*>(text), n ? n : textLength(text));
    insertBytes(copy.data(), copy.length(), pos);
}

void ByteString::erase(std::uint32_t pos, std::uint32_t n)
{
    if (static_cast<std::uint64_t>(pos) + n > length_ || n == 0)
        return;
    std::uint8_t* p = block_.data();
    std::memmove(p + pos, p + pos + n, length_ - pos - n);
    setLength(length_ - n);
}

void ByteString::trimRight()
{
    std::uint32_t newLength = length_;
    const std::uint8_t* p = block_.data();
    while (newLength > 0 && (p[newLength - 1] == 0 || p[newLength - 1] == ' ' || p[newLength - 1] == '\\'))
        --newLength;
    if (newLength != length_)
        setLength(newLength);
}

void ByteString::toUpper()
{
    std::uint8_t* p = block_.data();
    for (std::uint32_t i = 0; i < length_; ++i)
        p[i] = upperByte(p[i]);
}

void ByteString::replaceChar(std::uint8_t from, std::uint8_t to, std::uint32_t pos, std::uint32_t n)
{
    std::uint8_t* p = block_.data();
    std::uint32_t done = 0;
    for (std::uint32_t i = pos; i < length_ && (n == 0 || done < n); ++i) {
        if (p[i] == from) {
            p[i] = to;
            ++done;
        }
    }
}

bool ByteString::matchesAt(const ByteString& pattern, std::uint32_t pos, int caseFlag) const
{
    const std::uint8_t* p = block_.data() + pos;
    const std::uint8_t* q = pattern.block_.data();
    for (std::uint32_t i = 0; i < pattern.length_; ++i)
        if (!bytesEqual(p[i], q[i], caseFlag))
            return false;
    return true;
}

void ByteString::replace(const char* text, const char* newText, std::uint32_t pos, std::uint32_t n, int caseFlag)
{
    const ByteString pattern(text);
    if (pattern.empty())
        return; // an empty text would match everywhere and never end
    const ByteString replacement(newText);
    std::uint32_t done = 0;
    std::int32_t found;
    while ((n == 0 || done < n) && pos < length_ && (found = find(text, pos, caseFlag)) >= 0) {
        const std::uint32_t at = static_cast<std::uint32_t>(found);
        erase(at, pattern.length());
        insertBytes(replacement.data(), replacement.length(), at);
        pos = at + replacement.length();
        ++done;
    }
}

void ByteString::removeAll(const char* text, std::uint32_t pos, std::uint32_t n, int caseFlag)
{
    replace(text, "", pos, n, caseFlag);
}

bool ByteString::equals(const ByteString& other, int caseFlag) const
{
    return length_ == other.length_ && matchesAt(other, 0, caseFlag);
}

bool ByteString::equalsCStr(const char* text, int caseFlag) const
{
    return text && equals(ByteString(text), caseFlag);
}

bool ByteString::startsWith(const char* text) const
{
    if (!text)
        return false;
    const std::uint32_t n = textLength(text);
    return n <= length_ && std::memcmp(block_.data(), text, n) == 0;
}

std::int32_t ByteString::findChar(std::uint8_t byte, std::uint32_t pos) const
{
    const std::uint8_t* p = block_.data();
    for (std::uint32_t i = pos; i < length_; ++i)
        if (p[i] == byte)
            return static_cast<std::int32_t>(i);
    return -1;
}

std::int32_t ByteString::find(const char* text, std::uint32_t pos, int caseFlag) const
{
    const ByteString pattern(text);
    if (pattern.empty() || pos >= length_ || pattern.length() > length_ - pos)
        return -1;
    for (std::uint32_t i = pos; i + pattern.length() <= length_; ++i)
        if (matchesAt(pattern, i, caseFlag))
            return static_cast<std::int32_t>(i);
    return -1;
}

std::int32_t ByteString::findLast(const char* text, std::uint32_t pos, int caseFlag) const
{
    const ByteString pattern(text);
    const std::uint32_t n = pattern.length();
    if (n == 0 || n > length_ || pos >= length_ || n > length_ - pos)
        return -1;
    std::uint32_t i = pos == 0 ? length_ - n : pos;
    for (;; --i) {
        if (matchesAt(pattern, i, caseFlag))
            return static_cast<std::int32_t>(i);
        if (i == 0)
            return -1;
    }
}
