#pragma once
// Stand-in for the class library's application exception handler: a place
// where components hand an exception they must not let escape (for example
// one raised while a component finishes loading). The program installs a
// handler that shows the message; without one it goes to the debug output.

#include <QString>
#include <exception>
#include <functional>

namespace platform {

void SetApplicationExceptionHandler(std::function<void(const QString& message)> handler);
void HandleApplicationException(const std::exception& e);

}  // namespace platform
