#include "replay/script.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace replay {
namespace {

constexpr std::array<std::string_view, 4> kWindowNames = {"SplitterForm", "Splitter3", "Splitter4", "Splitter5"};

struct Keyword {
    std::string_view word;
    EventKind kind;
};
constexpr Keyword kKeywords[] = {{"open", EventKind::Open}, {"close", EventKind::Close},
                                 {"resize", EventKind::Resize}, {"down", EventKind::Down},
                                 {"move", EventKind::Move},     {"up", EventKind::Up},
                                 {"menu", EventKind::Menu},     {"minimize", EventKind::Minimize},
                                 {"maximize", EventKind::Maximize}, {"restore", EventKind::Restore}};

std::string_view keywordOf(EventKind kind)
{
    for (const Keyword& k : kKeywords)
        if (k.kind == kind)
            return k.word;
    return "?";
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string_view> splitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

// Reals as the C locale writes them, plus nan and [+-]inf, which libstdc++'s from_chars also reads.
bool parseReal(std::string_view word, double& out)
{
    const char* first = word.data();
    if (!word.empty() && word.front() == '+')
        ++first;
    const char* last = word.data() + word.size();
    const auto [end, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && end == last && first != last;
}

bool parseInt(std::string_view word, int& out)
{
    const char* first = word.data();
    const char* last = word.data() + word.size();
    const auto [end, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && end == last && first != last;
}

std::string formatReal(double value)
{
    if (std::isnan(value))
        return "nan";
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : "nan";
}

std::string quoted(std::string_view word)
{
    std::string text;
    text.reserve(word.size() + 2);
    text.push_back('"');
    text.append(word);
    text.push_back('"');
    return text;
}

// Parses one line's words into `event`; returns an explanation when they do not make an event.
std::optional<std::string> parseWords(const std::vector<std::string_view>& words, Event& event)
{
    const Keyword* keyword = nullptr;
    for (const Keyword& k : kKeywords)
        if (k.word == words[0])
            keyword = &k;
    if (!keyword)
        return "unknown event " + quoted(words[0]) +
               "; expected open, close, resize, down, move, up, menu, minimize, maximize or restore";
    event.kind = keyword->kind;

    const auto expectCount = [&](std::size_t n, std::string_view usage) -> std::optional<std::string> {
        if (words.size() == n)
            return std::nullopt;
        return std::string(words.size() < n ? "too few" : "too many") + " values for " + std::string(words[0]) +
               "; expected \"" + std::string(usage) + "\"";
    };

    if (event.kind == EventKind::Menu) {
        if (auto problem = expectCount(2, "menu INDEX"))
            return problem;
        int index = 0;
        if (!parseInt(words[1], index) || index < 0)
            return "menu index " + quoted(words[1]) + " is not a whole number of 0 or more";
        event.menuIndex = static_cast<std::size_t>(index);
        return std::nullopt;
    }

    if (words.size() < 2)
        return "missing window name after " + std::string(words[0]);
    const std::optional<Window> window = windowNamed(words[1]);
    if (!window)
        return "unknown window " + quoted(words[1]) + "; expected SplitterForm, Splitter3, Splitter4 or Splitter5";
    event.window = *window;

    switch (event.kind) {
    case EventKind::Open:
    case EventKind::Close:
    case EventKind::Minimize:
    case EventKind::Maximize:
    case EventKind::Restore:
        return expectCount(2, std::string(words[0]) + " WINDOW");
    case EventKind::Resize:
        if (auto problem = expectCount(4, "resize WINDOW WIDTH HEIGHT"))
            return problem;
        if (!parseReal(words[2], event.x))
            return "width " + quoted(words[2]) + " is not a number";
        if (!parseReal(words[3], event.y))
            return "height " + quoted(words[3]) + " is not a number";
        return std::nullopt;
    default:
        if (auto problem = expectCount(6, std::string(words[0]) + " WINDOW BUTTON SHIFT X Y"))
            return problem;
        if (!parseInt(words[2], event.button))
            return "button " + quoted(words[2]) + " is not a whole number";
        if (!parseInt(words[3], event.shift))
            return "shift " + quoted(words[3]) + " is not a whole number";
        if (!parseReal(words[4], event.x))
            return "x " + quoted(words[4]) + " is not a number";
        if (!parseReal(words[5], event.y))
            return "y " + quoted(words[5]) + " is not a number";
        return std::nullopt;
    }
}

}  // namespace

std::string_view windowName(Window window) { return kWindowNames[static_cast<std::size_t>(window)]; }

std::optional<Window> windowNamed(std::string_view name)
{
    for (Window w : kWindows)
        if (windowName(w) == name)
            return w;
    return std::nullopt;
}

bool isMouse(EventKind kind)
{
    return kind == EventKind::Down || kind == EventKind::Move || kind == EventKind::Up;
}

bool isWindowState(EventKind kind)
{
    return kind == EventKind::Minimize || kind == EventKind::Maximize || kind == EventKind::Restore;
}

ParsedScript parseScript(std::string_view text)
{
    ParsedScript result;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        const std::vector<std::string_view> words = splitWords(line);
        if (words.empty())
            continue;
        Event event;
        event.line = lineNumber;
        if (std::optional<std::string> problem = parseWords(words, event)) {
            result.error = ParseError{lineNumber, *problem};
            return result;
        }
        result.events.push_back(event);
    }
    return result;
}

std::string formatEvent(const Event& e)
{
    std::string line(keywordOf(e.kind));
    // Word by word: appending keeps GCC's string-overlap analysis quiet, unlike chains of operator+.
    const auto word = [&line](std::string_view text) {
        line.push_back(' ');
        line.append(text);
    };
    if (e.kind == EventKind::Menu) {
        word(std::to_string(e.menuIndex));
        return line;
    }
    word(windowName(e.window));
    if (e.kind == EventKind::Resize) {
        word(formatReal(e.x));
        word(formatReal(e.y));
    } else if (isMouse(e.kind)) {
        word(std::to_string(e.button));
        word(std::to_string(e.shift));
        word(formatReal(e.x));
        word(formatReal(e.y));
    }
    return line;
}

std::string formatScript(std::vector<Event>& events)
{
    std::string text;
    int line = 0;
    for (Event& e : events) {
        e.line = ++line;
        text += formatEvent(e) + "\n";
    }
    return text;
}

std::string formatScript(const std::vector<Event>& events)
{
    std::vector<Event> copy = events;
    return formatScript(copy);
}

}  // namespace replay
