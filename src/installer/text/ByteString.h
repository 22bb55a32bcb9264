#pragma once
// The installer's one string and buffer type: a length-counted byte sequence that may hold NUL
// bytes (texts in UTF-8, paths, package blocks, the uninstall data). A terminating NUL exists
// only after cStr. Positions and counts are unsigned 32-bit; reads outside the content give the
// documented "nothing here" answers and writes outside it change nothing.
//
// The case flag of the comparing operations: 0 compares upper-cased copies (toUpper), any other
// value compares bytes exactly.
#include "installer/memory/MovableBlock.h"

#include <cstdint>
#include <initializer_list>

// One argument of ByteString::format: a 32-bit number or a text.
struct FormatArg {
    FormatArg(std::int32_t value) : number(value) {}
    FormatArg(std::uint32_t value) : number(static_cast<std::int32_t>(value)) {}
    FormatArg(char value) : number(static_cast<std::uint8_t>(value)) {}
    FormatArg(const char* value) : text(value), isText(true) {}

    std::int32_t number = 0;
    const char* text = nullptr;
    bool isText = false;
};

class ByteString {
public:
    ByteString() = default;
    explicit ByteString(const char* text) { assignCStr(text); }
    ByteString(const std::uint8_t* bytes, std::uint32_t count);
    ByteString(const ByteString& other) { assign(other); }
    ByteString(ByteString&& other) noexcept;
    ByteString& operator=(const ByteString& other);
    ByteString& operator=(ByteString&& other) noexcept;
    ~ByteString() = default;

    static ByteString initChar(std::uint8_t byte);
    static ByteString initCStr(const char* text) { return ByteString(text); }

    void assignCStr(const char* text);
    void assign(const ByteString& other);

    std::uint32_t length() const { return length_; }
    bool empty() const { return length_ == 0; }
    // The content; valid until the next length change.
    const std::uint8_t* data() const { return block_.data(); }
    std::uint8_t* data() { return block_.data(); }

    // Byte i, or 0xFF when i is not below the length.
    std::uint8_t at(std::uint32_t i) const;
    // The content followed by a NUL; valid until the next length change.
    const char* cStr();
    // Bytes [start, start+n) when they lie inside the content, otherwise a copy of the whole.
    ByteString substr(std::uint32_t start, std::uint32_t n) const;
    // Big-endian 16-bit value at pos, or -1 when pos+1 is not below the length.
    std::int32_t readBE16(std::uint32_t pos) const;
    // Big-endian 32-bit value at pos, or 0xFFFFFFFF when pos+3 is not below the length.
    std::uint32_t readBE32(std::uint32_t pos) const;
    bool hasMore(std::int32_t pos) const;
    // The next CRLF-ended line from *pos into out; *pos moves past the CR LF (or to the end for
    // a last line without one). A null pos gives "Invalid param", a pos outside the content
    // "Out of bounds", both leaving pos unchanged.
    void nextLine(std::int32_t* pos, ByteString& out) const;

    void appendChar(std::uint8_t byte);
    // The text without its NUL; when n is not 0, exactly n bytes of it. A null text adds nothing.
    void appendCStr(const char* text, std::uint32_t n = 0);
    void append(const ByteString& other);
    void appendBE32(std::uint32_t value);
    // length += n, the new bytes 0; returns the first new byte (valid until the next change).
    std::uint8_t* grow(std::uint32_t n);
    // Appends fmt with each "%b", "%c", "%d", "%h", "%s" replaced by the next argument (binary,
    // character, signed decimal, upper-case hexadecimal, text). A conversion without an argument
    // left stays as it is written; a number given to "%s" or a null text gives an empty text,
    // a text given to a numeric conversion counts as 0. "%%" is no escape.
    void format(const char* fmt, std::initializer_list<FormatArg> args = {});
    template <typename... Args>
    void format(const char* fmt, Args... args) { format(fmt, {FormatArg(args)...}); }
    // Inserts before pos; nothing when pos is greater than the length.
    void insertChar(std::uint8_t byte, std::uint32_t pos);
    void insertCStr(const char* text, std::uint32_t pos, std::uint32_t n = 0);

    // Removes [pos, pos+n); nothing at all when that range runs past the end.
    void erase(std::uint32_t pos, std::uint32_t n);
    void trimRight();
    void toUpper();
    void replaceChar(std::uint8_t from, std::uint8_t to, std::uint32_t pos = 0, std::uint32_t n = 0);
    void replace(const char* text, const char* newText, std::uint32_t pos = 0, std::uint32_t n = 0, int caseFlag = 1);
    void removeAll(const char* text, std::uint32_t pos = 0, std::uint32_t n = 0, int caseFlag = 1);

    bool equals(const ByteString& other, int caseFlag = 1) const;
    // A null text equals nothing.
    bool equalsCStr(const char* text, int caseFlag = 1) const;
    bool startsWith(const char* text) const;
    std::int32_t findChar(std::uint8_t byte, std::uint32_t pos = 0) const;
    std::int32_t find(const char* text, std::uint32_t pos = 0, int caseFlag = 1) const;
    std::int32_t findLast(const char* text, std::uint32_t pos = 0, int caseFlag = 1) const;

    // 1 all read, 0 nothing to read (content empty), -1 fewer bytes read, -3 not opened.
    int loadFromFile(const char* path, std::uint32_t offset = 0, std::uint32_t length = 0);
    // 1 done, -2 fewer bytes written, -3 not created; the file's attributes are kept.
    int saveToFile(const char* path) const;

    // Reversible scrambling with an 8-byte additive check; the result is 10 bytes longer.
    bool scramble();
    // Undoes scramble; true only when the stored check matches. Content shorter than 10 bytes
    // fails and is left as it is.
    bool unscramble();

private:
    void setLength(std::uint32_t newLength);
    void insertBytes(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t pos);
    bool matchesAt(const ByteString& pattern, std::uint32_t pos, int caseFlag) const;
    void scrambleWithKey(std::uint8_t step, std::uint8_t start);

    MovableBlock block_;
    std::uint32_t length_ = 0;
};
