#pragma once
// Where an exception goes that is caught at the edge of a system callback (a window procedure, a
// timer, a driver callback): the application installs the handler that shows it and lets its
// message loop go on. Until one is installed the exception's text goes to the standard error.
#include <exception>
#include <functional>
#include <string>

namespace kv {

using TExceptionHandler = std::function<void(std::exception_ptr Error)>;

void SetApplicationExceptionHandler(TExceptionHandler Handler);
// Never throws: a handler that raises is itself reported on the standard error.
void HandleApplicationException(std::exception_ptr Error) noexcept;

// The text the default error box shows for a message: it ends as a sentence, with a full stop
// added unless it ends in one, or in "!" or "?" already.
std::string ExceptionBoxText(const std::string& Message);

} // namespace kv
