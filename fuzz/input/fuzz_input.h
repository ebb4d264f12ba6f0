// Turns arbitrary bytes into a session's events, for the fuzzer, and events back into bytes, for seeds.
// Most byte values mean something: an event kind and window, then its values, either literal or taken
// from the live windows (a point on a bar, or a distance along a bar's drag direction), so that short
// inputs already press and drag bars.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "replay/script.h"
#include "replay/session.h"

namespace replay {

class EventDecoder {
public:
    static constexpr std::size_t kMaxEvents = 400;

    explicit EventDecoder(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // The next event, resolved against the session's current windows; none when the bytes are used up.
    std::optional<Event> next(const Session& session);

private:
    std::uint8_t byte();
    double rawDouble();
    std::int32_t rawInt();
    double twips16();
    double size();
    int buttonOrShift();
    void point(const Session& session, Window window, Event& event);

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    std::size_t produced_ = 0;
};

// Decodes every event of `bytes`, playing them on a fresh session as it goes.
std::vector<Event> decodeEvents(std::span<const std::uint8_t> bytes);

// Bytes that decode to exactly these events (literal values only), leaving out window-state events,
// which the in-memory host ignores.
std::vector<std::uint8_t> encodeEvents(const std::vector<Event>& events);

}  // namespace replay
