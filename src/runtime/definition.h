// Stored window definitions: plain data that loading a window turns into live controls.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace rt {

enum class ControlKind { PictureBox, Image };

enum class MousePointer : int { Default = 0, SizeNorthSouth = 7, SizeWestEast = 9 };

enum class BorderStyle { None, Sunken };

// What a control is in its window: a plain coloured area, a PictureBox holding a split of its own, a bar
// the user drags, or the strip that shows where a dragged bar will go.
enum class ControlRole { Pane, Container, Bar, Indicator };

// A colour as stored: &H00BBGGRR&, red in the lowest byte.
struct StoredColor {
    std::uint32_t value;
    constexpr int red() const { return static_cast<int>(value & 0xFF); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xFF); }
    constexpr int blue() const { return static_cast<int>((value >> 16) & 0xFF); }
};

struct ControlDefinition {
    std::string_view name;
    ControlKind kind;
    std::string_view parent;  // empty: a child of the window itself
    std::int16_t left, top, width, height;
    std::optional<StoredColor> backColor;  // none: the system's control background
    int tabIndex = -1;                     // PictureBoxes only
    MousePointer pointer = MousePointer::Default;
    BorderStyle border = BorderStyle::Sunken;  // PictureBoxes only
    bool visible = true;
    ControlRole role = ControlRole::Pane;
};

// Menu captions are kept as the stored Japanese code-page (932) bytes and decoded for display.
struct MenuDefinition {
    std::string_view name;
    std::string_view captionCp932;
};

// 32 x 32 pixels, each a hex digit indexing the standard 16-colour palette, or "." for transparent.
struct IconDefinition {
    std::array<std::string_view, 32> rows;
};

struct FormDefinition {
    std::string_view name;
    std::string_view caption;
    std::int16_t clientWidth, clientHeight;
    std::int16_t clientLeft, clientTop;  // stored position; the host leaves placement to the desktop
    std::string_view linkTopic;
    const IconDefinition* icon;
    std::span<const ControlDefinition> controls;  // stored order; within a parent, first is topmost
    std::span<const MenuDefinition> menu;
};

// The standard 16-colour palette that icons index, as 0xRRGGBB.
inline constexpr std::array<std::uint32_t, 16> kIconPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

}  // namespace rt
