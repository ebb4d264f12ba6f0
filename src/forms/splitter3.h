// Three panes: a right pane, and a left container split into an upper and a lower pane.
#pragma once

#include "forms/pane_window.h"

namespace forms {

class Splitter3 : public PaneWindow {
public:
    explicit Splitter3(rt::Runtime& runtime);

    void LayoutForImage1(rt::Single p1);
    void LayoutForImage2(rt::Single p2);

private:
    static const BarRow<Splitter3> kBarRows[];

    rt::ControlRef Picture1{*this, "Picture1"};  // indicator of Image1
    rt::ControlRef Picture2{*this, "Picture2"};  // left container
    rt::ControlRef Picture3{*this, "Picture3"};  // right pane
    rt::ControlRef Picture4{*this, "Picture4"};  // indicator of Image2, in Picture2
    rt::ControlRef Picture5{*this, "Picture5"};  // upper-left pane
    rt::ControlRef Picture6{*this, "Picture6"};  // lower-left pane
    rt::ControlRef Image1{*this, "Image1"};      // vertical bar
    rt::ControlRef Image2{*this, "Image2"};      // horizontal bar, in Picture2
    bool DraggingImage1 = false;
    bool DraggingImage2 = false;
};

}  // namespace forms
