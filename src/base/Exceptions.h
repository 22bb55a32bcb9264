#pragma once
// The run time's exception classes. Every exception the program raises derives from Exception,
// whose Message() is the text shown to the user.
#include "base/ResStr.h"

#include <stdexcept>
#include <string>

namespace kv {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text could not be converted, a format did not match its arguments, or an object
// could not be assigned to another.
class EConvertError : public Exception { using Exception::Exception; };

// A broken internal assumption; the message names the text and the source file and line.
class EAssertionFailed : public Exception { using Exception::Exception; };

// Integer division by zero: "Division by zero".
class EDivByZero : public Exception {
public:
    EDivByZero() : Exception(ResStr("Division by zero")) {}
};

// An index outside a list: "List index out of bounds (%d)".
class EListError : public Exception { using Exception::Exception; };

class EStreamError : public Exception { using Exception::Exception; };
// "Cannot open file \"%s\". %s" with the system's reason.
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
// "Cannot create file \"%s\". %s" with the system's reason.
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
// "Stream read error"
class EReadError : public EStreamError { using EStreamError::EStreamError; };
// "Stream write error"
class EWriteError : public EStreamError { using EStreamError::EStreamError; };

// Raises EAssertionFailed with "<message> (<file name without folder>, line <line>)".
[[noreturn]] void AssertionFailed(const std::string& message, const char* file, int line);

// Integer division that raises EDivByZero instead of trapping.
template <typename T>
T CheckedDiv(T numerator, T denominator)
{
    if (denominator == 0) throw EDivByZero();
    return numerator / denominator;
}

} // namespace kv

// Assertions are always checked.
#define KV_ASSERT(condition, message) \
    do { if (!(condition)) ::kv::AssertionFailed((message), __FILE__, __LINE__); } while (false)
