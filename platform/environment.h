#pragma once
// A variable of the process environment set for a while: while the object
// lives the variable holds the given value (or is gone, for no value);
// afterwards it holds the value it had before, or is gone again if it had
// none.

#include <optional>
#include <string>

namespace platform {

class TEnvironmentOverride {
public:
    TEnvironmentOverride(std::string name, const std::optional<std::string>& value);
    ~TEnvironmentOverride();
    TEnvironmentOverride(const TEnvironmentOverride&) = delete;
    TEnvironmentOverride& operator=(const TEnvironmentOverride&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

} // namespace platform
