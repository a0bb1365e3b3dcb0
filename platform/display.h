#pragma once
// Whether the program can reach the display server it needs, and what
// happens when it goes away.

#include <functional>
#include <string>

namespace platform {

// A connection to the display server, made to see that it can be reached,
// and held while the object lives: a server that resets when its last client
// goes (one started for this program alone) stays up until the program has
// made its own connection.
class TDisplayHold {
public:
    TDisplayHold();
    ~TDisplayHold();
    TDisplayHold(const TDisplayHold&) = delete;
    TDisplayHold& operator=(const TDisplayHold&) = delete;

    // Empty when the server was reached; otherwise the reason why not.
    const std::string& UnavailableReason() const { return reason_; }

private:
    std::string reason_;
    void* connection_ = nullptr;
};

// When the connection to the display server breaks (the server ended, a
// forwarded connection dropped), `saveSettings` runs, one line on standard
// error says that the display was lost, and the program ends at once with
// status 1. Call it once, after the application object exists.
void WatchDisplayLoss(std::function<void()> saveSettings);

} // namespace platform
