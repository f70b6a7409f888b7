#pragma once
// Stand-in for the class library's application exception handler: a place
// where components hand an exception they must not let escape (for example
// one raised while a component finishes loading, or by a timer tick). The
// program installs a handler that shows the message; without one it goes to
// the debug output.

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

void SetApplicationExceptionHandler(std::function<void(const QString& message)> handler);
// On the application's thread only (the handler may show a box). An EAbort
// is dropped.
void HandleApplicationException(const std::exception& e);
// Runs `action`; whatever it raises goes to HandleApplicationException.
void RunHandlingExceptions(const std::function<void()>& action);

}  // namespace platform
