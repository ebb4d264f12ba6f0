#include "replay/script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <type_traits>

namespace replay {
namespace {

// Each event's keyword and the values that follow it, by name, in EventKind order.
struct Keyword {
    std::string_view word;
    std::string_view values;
};
constexpr Keyword kKeywords[] = {
    {"open", "WINDOW"},  {"close", "WINDOW"},   {"resize", "WINDOW WIDTH HEIGHT"},
    {"down", "WINDOW BUTTON SHIFT X Y"},        {"move", "WINDOW BUTTON SHIFT X Y"},
    {"up", "WINDOW BUTTON SHIFT X Y"},          {"menu", "INDEX"},
    {"minimize", "WINDOW"}, {"maximize", "WINDOW"}, {"restore", "WINDOW"},
};
static_assert(std::size(kKeywords) == std::size_t(EventKind::Restore) + 1);

std::vector<std::string_view> splitWords(std::string_view line)
{
    constexpr std::string_view blanks = " \t\r";
    std::vector<std::string_view> words;
    for (std::size_t start = 0; (start = line.find_first_not_of(blanks, start)) != line.npos;) {
        const std::size_t end = std::min(line.find_first_of(blanks, start), line.size());
        words.push_back(line.substr(start, end - start));
        start = end;
    }
    return words;
}

// Whole numbers, and reals as the C locale writes them with an optional '+', nan and [+-]inf, which
// libstdc++'s from_chars also reads.
template <class Number>
bool parseNumber(std::string_view word, Number& out)
{
    if (std::is_floating_point_v<Number> && word.starts_with('+'))
        word.remove_prefix(1);
    const char* last = word.data() + word.size();
    const auto [end, ec] = std::from_chars(word.data(), last, out);
    return ec == std::errc() && end == last && !word.empty();
}

std::string formatReal(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::isnan(value) || ec != std::errc() ? "nan" : std::string(buffer, end);
}

std::string quoted(std::string_view word) { return '"' + std::string(word) + '"'; }

// Reads the value called `name` from `word` into `event`; returns an explanation when it is not one.
std::optional<std::string> parseValue(std::string_view name, std::string_view word, Event& event)
{
    std::string label(name);
    std::transform(label.begin(), label.end(), label.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (name == "WINDOW") {
        const std::optional<Window> window = windowNamed(word);
        if (!window)
            return "unknown window " + quoted(word) + "; expected " + app::windowChoices();
        event.window = *window;
    } else if (name == "INDEX") {
        if (!parseNumber(word, event.menuIndex))
            return "menu index " + quoted(word) + " is not a whole number of 0 or more";
    } else if (name == "BUTTON" || name == "SHIFT") {
        if (!parseNumber(word, name == "BUTTON" ? event.button : event.shift))
            return label + " " + quoted(word) + " is not a whole number";
    } else if (!parseNumber(word, name == "WIDTH" || name == "X" ? event.x : event.y)) {
        return label + " " + quoted(word) + " is not a number";
    }
    return std::nullopt;
}

// Parses one line's words into `event`; returns an explanation when they do not make an event.
std::optional<std::string> parseWords(const std::vector<std::string_view>& words, Event& event)
{
    const auto keyword = std::find_if(std::begin(kKeywords), std::end(kKeywords),
                                      [&](const Keyword& k) { return k.word == words[0]; });
    if (keyword == std::end(kKeywords))
        return "unknown event " + quoted(words[0]) +
               "; expected open, close, resize, down, move, up, menu, minimize, maximize or restore";
    event.kind = static_cast<EventKind>(keyword - std::begin(kKeywords));
    const std::vector<std::string_view> names = splitWords(keyword->values);
    const std::string word(words[0]);
    if (words.size() == 1 && names[0] == "WINDOW")
        return "missing window name after " + word;
    if (words.size() != names.size() + 1)
        return std::string(words.size() <= names.size() ? "too few" : "too many") + " values for " + word +
               "; expected \"" + word + " " + std::string(keyword->values) + "\"";
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

ParsedScript parseScript(std::string_view text)
{
    ParsedScript result;
    for (int lineNumber = 1; !text.empty(); ++lineNumber) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, std::min(end, text.find('#')));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
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
    const Keyword& keyword = kKeywords[static_cast<std::size_t>(e.kind)];
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

}  // namespace replay
