#pragma once

#include <stdexcept>
#include <string>

namespace corvane {

// Every failure of the program is one of these; what() is the exact message shown to the user.
class AppError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline const char* const kRangeCheckError = "Range check error";

[[noreturn]] inline void raiseRangeCheck() {
    throw AppError(kRangeCheckError);
}

} // namespace corvane
