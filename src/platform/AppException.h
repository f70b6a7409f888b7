#pragma once
// The application's exception handler: a place where components hand an
// exception they must not let escape (one raised while a component finishes
// loading, a failed write of a typed key). The program installs a handler
// that shows it to the user; without one its message goes to the debug
// output.

#include <QString>
#include <exception>
#include <functional>

namespace platform {

void SetApplicationExceptionHandler(std::function<void(const std::exception& e)> handler);
void HandleApplicationException(const std::exception& e);

}  // namespace platform
