// A window: its stored definition, and while it is loaded, its controls and client size. Window classes
// derive from Form, bind their named controls on load and supply the event handlers.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/control.h"
#include "runtime/control_ref.h"
#include "runtime/definition.h"
#include "runtime/geometry.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"
#include "runtime/number.h"

namespace rt {

class Runtime;

struct MenuEntry {
    std::string name;
    std::string caption;  // decoded, UTF-8
};

// What assistive tools are told about a bar that a person can move.
struct BarAccess {
    std::string name;   // what the bar divides, in words
    std::string place;  // where it stands in its range, in words
    std::string indicator;  // the control that shows where a drag or the keyboard will put it
    Single position;    // its Left (vertical bar) or Top (horizontal bar), in its container; while the
                        // keyboard moves it, its indicator's
    Single lowest;      // the range a drag can put it in, widened to hold the position wherever a
    Single highest;     // resize left it
    double share;       // of the drag's own range, where the position lies in it: 0 at the lower end, 1 at the upper
    bool vertical;      // it moves left and right
    bool taken;         // the keyboard is moving it
};

class Form {
public:
    Form(Runtime& runtime, const FormDefinition& definition);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string_view name() const { return definition_.name; }
    std::string_view caption() const { return definition_.caption; }
    const FormDefinition& definition() const { return definition_; }
    Runtime& runtime() const { return runtime_; }
    bool loaded() const { return loaded_; }

    // Client area in twips, below any menu bar.
    Single ScaleWidth() const { return scaleWidth_; }
    Single ScaleHeight() const { return scaleHeight_; }
    // Outer width, frame included.
    Single Width() const;
    // Asks the host for a new outer width; refused when negative or when the host cannot resize.
    bool setWidth(Number value);
    // Loads the window if it is not loaded, then shows it: modeless, without an owner.
    void Show();

    // While loaded: every control in stored order, and the window's own children (first is topmost).
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    const std::vector<Control*>& children() const { return children_; }
    const std::vector<MenuEntry>& menu() const { return menu_; }
    Control* find(std::string_view name) const;
    Control& control(std::string_view name) const;  // the definition must have it

    // Where a control's outer corner lies on the client area.
    void originOf(const Control& control, double& x, double& y) const;
    // The part of `bounds` (in `control`'s parent coordinates) that shows on the client area: clipped by
    // every container's inner area and the client area; empty if an ancestor is hidden.
    Rect visibleArea(const Control& control, const Rect& bounds) const;
    // The control that takes the mouse at a client point: PictureBoxes above Images, the first in stored
    // order above later ones, children only inside their container's inner area. Null: the window itself.
    Control* hitTest(double x, double y) const;
    // Which control holds the mouse and with which buttons, as the runtime's routing sees it.
    const MouseState& mouseState() const { return mouse_; }

    // Event handlers, run by the runtime. Resize is handled in resume-next mode by the derived class.
    virtual void Form_Resize() {}
    virtual void dispatchMouse(const Control& control, MouseEvent event, const MouseArgs& args);
    virtual void dispatchClick(const MenuEntry& entry);
    // A key pressed while the window has the keyboard; true when the window used it.
    virtual bool dispatchKey(const KeyArgs& args);
    // The window lost the keyboard.
    virtual void dispatchFocusLost() {}
    // A mouse button went down somewhere in the window, before the press reaches its control.
    virtual void dispatchMousePress() {}

    // For assistive tools: the control that has the keyboard inside the window, or null.
    virtual const Control* keyboardFocus() const { return nullptr; }
    // What they are told about a bar; nothing for any other control.
    virtual std::optional<BarAccess> barAccess(const Control& control) const;
    // What a menu entry does, in words ("Opens the window with three panes"); empty when there are none.
    virtual std::string describeMenuEntry(const MenuEntry&) const { return {}; }
    // A pane or group of panes in words ("upper pane on the left"); empty when there are none.
    virtual std::string describeControl(const Control&) const { return {}; }
    // A position they set for a bar, run by the runtime as a handler.
    virtual void dispatchBarPosition(const Control& control, double position);

    // True from a mouse press in the window until its last held button is released.
    bool mouseButtonsHeld() const { return mouse_.heldButtons != 0; }

protected:
    // Called after the controls were created, and before they are destroyed.
    virtual void onLoad() {}
    virtual void onUnload() {}

private:
    friend class Runtime;
    friend class Control;
    friend class ControlRef;
    void load();
    // The client size changes only through Runtime::resized, which runs the Resize handler after it.
    void setClientSize(Single width, Single height);
    void unload();
    void controlChanged(const Control& control, const Rect& oldBounds, bool oldVisible);

    Runtime& runtime_;
    const FormDefinition& definition_;
    bool loaded_ = false;
    bool shown_ = false;
    Single scaleWidth_ = 0;
    Single scaleHeight_ = 0;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<Control*> children_;
    std::vector<MenuEntry> menu_;
    std::vector<ControlRef*> refs_;  // the window class's handles, bound on load
    MouseState mouse_;
};

}  // namespace rt
