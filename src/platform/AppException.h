#pragma once
// The application's exception handler: a place where components hand an
// exception they must not let escape (one raised while a component finishes
// loading, by a timer tick, or by the write of a typed key). The program
// installs a handler that shows it to the user; without one its message goes
// to the debug output.

#include <QString>
#include <exception>
#include <functional>
#include <stdexcept>

// The silent exception: it ends what is running and is never reported.
class EAbort : public std::runtime_error {
 public:
  EAbort() : std::runtime_error("Operation aborted") {}
};

// A system resource, such as a timer, is not available.
class EOutOfResources : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace platform {

// The handler gets the exception itself, so that it can word a port error
// with its system text and advice.
void SetApplicationExceptionHandler(std::function<void(const std::exception& e)> handler);
// On the application's thread only (the handler may show a box). An EAbort
// is dropped.
void HandleApplicationException(const std::exception& e);
// Runs `action`; whatever it raises goes to HandleApplicationException.
void RunHandlingExceptions(const std::function<void()>& action);

}  // namespace platform
