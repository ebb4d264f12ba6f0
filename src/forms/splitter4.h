// Four panes: a left and a right container, each split into an upper and a lower pane.
#pragma once

#include "forms/pane_window.h"

namespace forms {

class Splitter4 : public PaneWindow {
public:
    explicit Splitter4(rt::Runtime& runtime);

    void LayoutForImage1(rt::Single position);
    void LayoutForImage2(rt::Single position);
    void LayoutForImage3(rt::Single position);

private:
    static const BarRow<Splitter4> kBarRows[];

    rt::ControlRef Picture1{*this, "Picture1"};  // indicator of Image1
    rt::ControlRef Picture2{*this, "Picture2"};  // left container
    rt::ControlRef Picture3{*this, "Picture3"};  // right container
    rt::ControlRef Picture4{*this, "Picture4"};  // indicator of Image2, in Picture2
    rt::ControlRef Picture5{*this, "Picture5"};  // upper-left pane
    rt::ControlRef Picture6{*this, "Picture6"};  // lower-left pane
    rt::ControlRef Picture7{*this, "Picture7"};  // indicator of Image3, in Picture3
    rt::ControlRef Picture8{*this, "Picture8"};  // upper-right pane
    rt::ControlRef Picture9{*this, "Picture9"};  // lower-right pane
    rt::ControlRef Image1{*this, "Image1"};      // vertical bar
    rt::ControlRef Image2{*this, "Image2"};      // horizontal bar, in Picture2
    rt::ControlRef Image3{*this, "Image3"};      // horizontal bar, in Picture3
    bool DraggingImage1 = false;
    bool DraggingImage2 = false;
    bool DraggingImage3 = false;
};

}  // namespace forms
