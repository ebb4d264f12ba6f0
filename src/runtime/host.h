// What the runtime needs from whatever puts its windows on a screen (the Qt host, or the in-memory host
// that tests use).
#pragma once

#include "runtime/geometry.h"
#include "runtime/number.h"

namespace rt {

class Form;

class Host {
public:
    virtual ~Host() = default;

    // Creates the window if needed and shows it. A window shown for the first time reports its client size
    // through Runtime::resized, which runs its Resize handler.
    virtual void showForm(Form& form) = 0;
    // The form has been unloaded (its controls are gone): drop its window.
    virtual void unloadForm(Form& form) = 0;
    // Resizes the window so that its outer width becomes `outerWidth` twips; false when refused. The
    // resulting Runtime::resized may come before this returns (nested) or later.
    virtual bool resizeOuterWidth(Form& form, Single outerWidth) = 0;
    // Outer width less client width, in twips.
    virtual Single frameWidth(const Form& form) const = 0;
    // Twips in one logical pixel of the screen the window is on: 15 at 96 DPI.
    virtual double twipsPerPixel(const Form& form) const = 0;
    // Part of a form's client area (twips) must be painted again.
    virtual void areaChanged(Form& form, const Rect& area) = 0;
    // No window is loaded any more: the program should end.
    virtual void allFormsClosed() = 0;
};

}  // namespace rt
