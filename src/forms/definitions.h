// The stored definitions of the four windows and their icons.
#pragma once

#include "runtime/definition.h"

namespace forms {

extern const rt::FormDefinition kSplitterFormDefinition;
extern const rt::FormDefinition kSplitter3Definition;
extern const rt::FormDefinition kSplitter4Definition;
extern const rt::FormDefinition kSplitter5Definition;

extern const rt::IconDefinition kMainWindowIcon;
extern const rt::IconDefinition kPaneWindowIcon;
extern const rt::IconDefinition kProgramIcon;

// Building blocks for the definition tables.
namespace def {
using rt::ControlDefinition;
using rt::ControlKind;
using rt::MousePointer;
using rt::StoredColor;

// A pane: bordered, visible, showing only its colour.
constexpr ControlDefinition picture(std::string_view name, std::string_view parent, std::int16_t left,
                                    std::int16_t top, std::int16_t width, std::int16_t height,
                                    std::optional<StoredColor> color, int tabIndex)
{
    return {name, ControlKind::PictureBox, parent, left, top, width, height, color, tabIndex};
}

// A container: a pane that holds a split of its own.
constexpr ControlDefinition container(std::string_view name, std::string_view parent, std::int16_t left,
                                      std::int16_t top, std::int16_t width, std::int16_t height,
                                      std::optional<StoredColor> color, int tabIndex)
{
    ControlDefinition d = picture(name, parent, left, top, width, height, color, tabIndex);
    d.role = rt::ControlRole::Container;
    return d;
}

// A drag indicator: drawn without a border, and hidden until its bar is first dragged.
constexpr ControlDefinition indicator(std::string_view name, std::string_view parent, std::int16_t left,
                                      std::int16_t top, std::int16_t width, std::int16_t height,
                                      StoredColor color, int tabIndex)
{
    return {name,  ControlKind::PictureBox, parent,       left, top, width, height, color, tabIndex,
            MousePointer::Default, rt::BorderStyle::None, false, rt::ControlRole::Indicator};
}

// A splitter bar: an Image without a picture, with a sizing pointer along its direction of movement.
constexpr ControlDefinition bar(std::string_view name, std::string_view parent, std::int16_t left, std::int16_t top,
                                std::int16_t width, std::int16_t height, MousePointer pointer)
{
    return {name,    ControlKind::Image,      parent, left, top, width, height, std::nullopt, -1,
            pointer, rt::BorderStyle::None, true, rt::ControlRole::Bar};
}

inline constexpr auto kWestEast = MousePointer::SizeWestEast;
inline constexpr auto kNorthSouth = MousePointer::SizeNorthSouth;
inline constexpr std::optional<StoredColor> kDefaultColor = std::nullopt;
}  // namespace def

}  // namespace forms
