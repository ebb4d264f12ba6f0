// A control of a loaded window: a PictureBox (a child window that can hold further controls) or an Image
// (windowless, drawn on its parent beneath every PictureBox of that parent).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runtime/definition.h"
#include "runtime/geometry.h"
#include "runtime/number.h"

namespace rt {

class Form;

// Border thickness of a bordered PictureBox, per side: two pixels at 96 DPI.
inline constexpr Single kBorderTwips = 30;

class Control {
public:
    Control(Form& form, Control* parent, const ControlDefinition& definition);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    bool isPictureBox() const { return kind_ == ControlKind::PictureBox; }
    ControlRole role() const { return role_; }
    Form& form() const { return form_; }
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }  // stored order, first topmost

    Single Left() const { return left_; }
    Single Top() const { return top_; }
    Single Width() const { return width_; }    // outer, border included
    Single Height() const { return height_; }  // outer, border included
    bool Visible() const { return visible_; }
    // Visible, and so is every container above it: what a person can see of it.
    bool visibleWithContainers() const;

    // Each assignment returns false when it was refused and skipped (resume-next); untrapped, a refusal
    // throws. A negative Width or Height is refused and the old value kept; positions take any value.
    bool setLeft(Number value);
    bool setTop(Number value);
    bool setWidth(Number value);
    bool setHeight(Number value);
    bool setVisible(bool visible);
    // All four at once; nothing changes if any of them is refused.
    bool Move(Number left, Number top, Number width, Number height);

    Single borderThickness() const { return border_ == BorderStyle::Sunken ? kBorderTwips : 0; }
    BorderStyle borderStyle() const { return border_; }
    // The inner area that children are placed in and clipped to, measured from the inner corner.
    double innerWidth() const;
    double innerHeight() const;

    const std::optional<StoredColor>& backColor() const { return backColor_; }
    int tabIndex() const { return tabIndex_; }
    MousePointer pointer() const { return pointer_; }

    Rect bounds() const { return {left_, top_, width_, height_}; }

private:
    friend class Form;
    bool assign(Single Control::*field, Number value, bool isSize);
    void changed(const Rect& oldBounds, bool oldVisible);

    Form& form_;
    Control* parent_;
    std::vector<Control*> children_;
    std::string name_;
    ControlKind kind_;
    ControlRole role_;
    Single left_, top_, width_, height_;
    bool visible_;
    std::optional<StoredColor> backColor_;
    int tabIndex_;
    MousePointer pointer_;
    BorderStyle border_;
};

}  // namespace rt
