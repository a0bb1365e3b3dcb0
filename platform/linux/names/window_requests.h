#pragma once
// What another copy may ask of this program's application window over its
// socket, one request line per connection, one answer line back.

#include <QByteArray>
#include <QString>

namespace platform::window_requests {

inline constexpr char Iconic[] = "iconic";
inline constexpr char Restore[] = "restore";
inline constexpr char Raise[] = "raise";

inline constexpr char Yes[] = "1";
inline constexpr char No[] = "0";
inline constexpr char Done[] = "ok";
inline constexpr char Unknown[] = "?";

// Longest request line accepted; anything longer is not ours.
inline constexpr qsizetype MaximumRequestBytes = 64;

// Carries out `request` on this program's windows and returns the answer.
QByteArray Answer(const QByteArray& request);

// The socket name under which this program's application window is found,
// empty while it is not published.
QString PublishedApplicationWindow();

} // namespace platform::window_requests
