#include "replay/script.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace replay {
namespace {

// Each event's keyword and the values that follow it, by name.
struct Keyword {
    std::string_view word;
    EventKind kind;
    std::string_view values;
};
constexpr Keyword kKeywords[] = {
    {"open", EventKind::Open, "WINDOW"},
    {"close", EventKind::Close, "WINDOW"},
    {"resize", EventKind::Resize, "WINDOW WIDTH HEIGHT"},
    {"down", EventKind::Down, "WINDOW BUTTON SHIFT X Y"},
    {"move", EventKind::Move, "WINDOW BUTTON SHIFT X Y"},
    {"up", EventKind::Up, "WINDOW BUTTON SHIFT X Y"},
    {"menu", EventKind::Menu, "INDEX"},
    {"minimize", EventKind::Minimize, "WINDOW"},
    {"maximize", EventKind::Maximize, "WINDOW"},
    {"restore", EventKind::Restore, "WINDOW"},
};

const Keyword& keywordOf(EventKind kind)
{
    for (const Keyword& k : kKeywords)
        if (k.kind == kind)
            return k;
    return kKeywords[0];
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

// "A, B, C or D": the program's windows.
std::string windowChoices()
{
    std::string text;
    for (Window w = 0; w < kWindowCount; ++w)
        text += std::string(w == 0 ? "" : w + 1 == kWindowCount ? " or " : ", ") + std::string(windowName(w));
    return text;
}

std::string lowerCase(std::string_view name)
{
    std::string text(name);
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Reads the value called `name` from `word` into `event`; returns an explanation when it is not one.
std::optional<std::string> parseValue(std::string_view name, std::string_view word, Event& event)
{
    if (name == "WINDOW") {
        const std::optional<Window> window = windowNamed(word);
        if (!window)
            return "unknown window " + quoted(word) + "; expected " + windowChoices();
        event.window = *window;
    } else if (name == "INDEX") {
        int index = 0;
        if (!parseInt(word, index) || index < 0)
            return "menu index " + quoted(word) + " is not a whole number of 0 or more";
        event.menuIndex = static_cast<std::size_t>(index);
    } else if (name == "BUTTON" || name == "SHIFT") {
        if (!parseInt(word, name == "BUTTON" ? event.button : event.shift))
            return lowerCase(name) + " " + quoted(word) + " is not a whole number";
    } else if (!parseReal(word, name == "WIDTH" || name == "X" ? event.x : event.y)) {
        return lowerCase(name) + " " + quoted(word) + " is not a number";
    }
    return std::nullopt;
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
    const std::vector<std::string_view> names = splitWords(keyword->values);
    if (words.size() == 1 && names[0] == "WINDOW")
        return "missing window name after " + std::string(words[0]);
    if (words.size() != names.size() + 1)
        return std::string(words.size() <= names.size() ? "too few" : "too many") + " values for " +
               std::string(words[0]) + "; expected \"" + std::string(words[0]) + " " + std::string(keyword->values) + "\"";
    for (std::size_t i = 0; i < names.size(); ++i)
        if (std::optional<std::string> problem = parseValue(names[i], words[i + 1], event))
            return problem;
    return std::nullopt;
}

// The value called `name` of `event`, as a script writes it.
std::string formatValue(std::string_view name, const Event& e)
{
    if (name == "WINDOW")
        return std::string(windowName(e.window));
    if (name == "INDEX")
        return std::to_string(e.menuIndex);
    if (name == "BUTTON" || name == "SHIFT")
        return std::to_string(name == "BUTTON" ? e.button : e.shift);
    return formatReal(name == "WIDTH" || name == "X" ? e.x : e.y);
}

}  // namespace

std::optional<Window> windowNamed(std::string_view name)
{
    const std::size_t index = app::windowIndex(name);
    return index < kWindowCount ? std::optional(index) : std::nullopt;
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
    const Keyword& keyword = keywordOf(e.kind);
    std::string line(keyword.word);
    // Word by word: appending keeps GCC's string-overlap analysis quiet, unlike chains of operator+.
    for (std::string_view name : splitWords(keyword.values)) {
        line.push_back(' ');
        line.append(formatValue(name, e));
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
