#pragma once
// A settings file in the private-profile form: "[Section]" lines, "Key=Value" lines under them,
// ";" comment lines. Every read opens the file, reads it and closes it; every write reads it,
// changes the one value and writes the whole file back, so nothing is held between calls.
// Section and key names are compared without regard to ASCII case; blanks around names and
// values are dropped, and a value in matching quotes loses them. A missing file reads as empty.
// The file is read as UTF-8 (a byte-order mark is passed over); a line that is not UTF-8 is read
// through the system's ANSI code page. Values are written as UTF-8.
#include "base/Exceptions.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kv {

// Raised when the file cannot be written: "Unable to write to <file>".
class EIniFileException : public Exception { using Exception::Exception; };

class TIniFile {
public:
    explicit TIniFile(std::string FileName) : FFileName(std::move(FileName)) {}
    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
    // Decimal, or hexadecimal after "0x" (or "$"); a missing key, other text or a value beyond
    // 32 bits gives Default.
    std::int32_t ReadInteger(const std::string& Section, const std::string& Ident, std::int32_t Default) const;
    // True for any non-zero integer; a value that is no integer gives Default.
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
    bool ValueExists(const std::string& Section, const std::string& Ident) const;
    // The keys of a section in file order.
    std::vector<std::string> ReadSection(const std::string& Section) const;
    // The keys and values of a section in file order, in one reading of the file.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& Section) const;

    // A key that exists keeps its line; a new key goes after the last entry of its section, a new
    // section at the end of the file.
    void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
    void WriteInteger(const std::string& Section, const std::string& Ident, std::int32_t Value);
    // Written "1" or "0".
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

private:
    std::vector<std::string> ReadLines() const;
    void WriteLines(const std::vector<std::string>& Lines) const;

    std::string FFileName;
};

// The integer a settings value holds: decimal, or hexadecimal after "0x" or "$", with an optional
// sign; false for anything else or a value beyond 32 bits.
bool ParseIniInteger(const std::string& Text, std::int32_t& Value);

} // namespace kv
