#include "input/fuzz_input.h"

#include <cstring>
#include <limits>

#include "splitter/bar.h"

namespace replay {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kFloatMax = std::numeric_limits<float>::max();

// Sizes worth trying: the windows' own, the minimum width's edges, tiny, fractional, huge and unusable.
constexpr double kSizes[] = {0,    1,       0.5,   15,        199.5,  1879,      1880,      1880.25,
                             2000, 4000,    8910,  8370,      1e30,   3.4e38,    kFloatMax, 1e39,
                             -1,   -0.0,    kNaN,  kInf,      1e-30,  65535.75,  4215,      2e9,
                             240,  80,      40,    4800.125,  7935,   3e38,      1e20,      100.5};
constexpr double kCoordinates[] = {0,    -1,    -1e30, 1e30,  3.4e38, -3.4e38, 1e39, kNaN,
                                   kInf, -kInf, 0.5,   99.5,  100,    200,     1e-45, kFloatMax};

constexpr std::uint8_t kLiteralSize = 32;      // followed by 8 bytes
constexpr std::uint8_t kLiteralNumber = 128;   // followed by 4 bytes
constexpr std::uint8_t kLiteralPoint = 160;    // followed by 16 bytes
constexpr std::uint8_t kLiteralMenu = 255;     // followed by 4 bytes

}  // namespace

std::uint8_t EventDecoder::byte() { return pos_ < bytes_.size() ? bytes_[pos_++] : 0; }

double EventDecoder::rawDouble()
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= std::uint64_t(byte()) << (8 * i);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::int32_t EventDecoder::rawInt()
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= std::uint32_t(byte()) << (8 * i);
    std::int32_t value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double EventDecoder::twips16()
{
    const unsigned low = byte();
    return double(low | (unsigned(byte()) << 8));
}

double EventDecoder::size()
{
    const std::uint8_t mode = byte();
    if (mode < kLiteralSize)
        return kSizes[mode];
    if (mode < 64)
        return rawDouble();
    // Ordinary twips, in halves and quarters as well.
    const double whole = twips16();
    return whole + (mode & 3) * 0.25;
}

int EventDecoder::buttonOrShift()
{
    const std::uint8_t value = byte();
    return value < kLiteralNumber ? value & 7 : rawInt();
}

void EventDecoder::point(const Session& session, Window window, Event& e)
{
    const std::uint8_t mode = byte();
    if (mode >= kLiteralPoint && mode < 192) {
        e.x = rawDouble();
        e.y = rawDouble();
        return;
    }
    if (mode >= 192) {
        e.x = twips16() + (mode & 1) * 0.5;
        e.y = twips16() + (mode & 2) * 0.25;
        return;
    }
    if (mode >= 128) {
        e.x = kCoordinates[byte() % std::size(kCoordinates)];
        e.y = kCoordinates[byte() % std::size(kCoordinates)];
        return;
    }
    // Relative to one of the window's bars.
    const forms::PaneWindow* form = session.window(window);
    const std::uint8_t a = byte(), b = byte();
    if (!form || !form->loaded() || form->bars().empty())
        return;
    const splitter::Bar& bar = form->bars()[mode % form->bars().size()];
    const rt::Control& control = *bar.control;
    double ox = 0, oy = 0;
    form->originOf(control, ox, oy);
    const bool vertical = bar.vertical();
    const double thickness = vertical ? control.Width() : control.Height();
    const double length = vertical ? control.Height() : control.Width();
    double across = 0, along = 0;
    if (mode < 64) {
        // On the bar: somewhere in its thickness and along it.
        across = thickness * a / 256.0;
        along = length * b / 256.0;
    } else {
        // Over the bar's middle, a signed distance along its drag direction away.
        across = length / 2;
        along = double(std::int16_t(std::uint16_t(a | (b << 8)))) * ((mode & 32) ? 1 : 16);
    }
    if (mode < 64) {
        e.x = vertical ? ox + across : ox + along;
        e.y = vertical ? oy + along : oy + across;
    } else {
        e.x = vertical ? ox + along : ox + across;
        e.y = vertical ? oy + across : oy + along;
    }
}

std::optional<Event> EventDecoder::next(const Session& session)
{
    if (pos_ >= bytes_.size() || produced_ >= kMaxEvents)
        return std::nullopt;
    ++produced_;
    const auto op = static_cast<std::uint8_t>(byte() % (7 * kWindowCount));
    Event e;
    e.kind = static_cast<EventKind>(op % 7);  // open .. menu: window states do nothing in memory
    e.window = op / 7;
    e.line = static_cast<int>(produced_);
    switch (e.kind) {
    case EventKind::Open:
    case EventKind::Close:
        break;
    case EventKind::Resize:
        e.x = size();
        e.y = size();
        break;
    case EventKind::Menu: {
        e.window = 0;
        const std::uint8_t index = byte();
        e.menuIndex = index < kLiteralMenu ? index % 4 : std::size_t(std::uint32_t(rawInt()));
        break;
    }
    default:
        e.button = buttonOrShift();
        e.shift = buttonOrShift();
        point(session, e.window, e);
        break;
    }
    return e;
}

std::vector<Event> decodeEvents(std::span<const std::uint8_t> bytes)
{
    Session session;
    session.host().runtime().setErrorOutput([](const std::string&) {});
    EventDecoder decoder(bytes);
    std::vector<Event> events;
    while (std::optional<Event> e = decoder.next(session)) {
        session.apply(*e);
        events.push_back(*e);
    }
    return events;
}

std::vector<std::uint8_t> encodeEvents(const std::vector<Event>& events)
{
    std::vector<std::uint8_t> out;
    const auto putDouble = [&](double value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i)
            out.push_back(std::uint8_t(bits >> (8 * i)));
    };
    const auto putInt = [&](std::uint32_t bits) {
        for (int i = 0; i < 4; ++i)
            out.push_back(std::uint8_t(bits >> (8 * i)));
    };
    const auto putSmall = [&](int value) {
        if (value >= 0 && value <= 7) {
            out.push_back(std::uint8_t(value));
        } else {
            out.push_back(kLiteralNumber);
            putInt(static_cast<std::uint32_t>(value));
        }
    };
    for (const Event& e : events) {
        if (isWindowState(e.kind))
            continue;  // the in-memory host has no window states, and the decoder never makes them
        const int window = e.kind == EventKind::Menu ? 0 : static_cast<int>(e.window);
        out.push_back(std::uint8_t(static_cast<int>(e.kind) + 7 * window));
        switch (e.kind) {
        case EventKind::Open:
        case EventKind::Close:
            break;
        case EventKind::Resize:
            out.push_back(kLiteralSize);
            putDouble(e.x);
            out.push_back(kLiteralSize);
            putDouble(e.y);
            break;
        case EventKind::Menu:
            if (e.menuIndex < 4) {
                out.push_back(std::uint8_t(e.menuIndex));
            } else {
                out.push_back(kLiteralMenu);
                putInt(static_cast<std::uint32_t>(e.menuIndex));
            }
            break;
        default:
            putSmall(e.button);
            putSmall(e.shift);
            out.push_back(kLiteralPoint);
            putDouble(e.x);
            putDouble(e.y);
            break;
        }
    }
    return out;
}

}  // namespace replay
