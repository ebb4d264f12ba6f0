// Five panes, three levels deep: a right container split into an upper and a lower pane; a left
// container split into an upper container and a lower pane; the upper container split into a left and a
// right pane.
#pragma once

#include "forms/pane_window.h"

namespace forms {

class Splitter5 : public PaneWindow {
public:
    explicit Splitter5(rt::Runtime& runtime);

    void LayoutForImage1(rt::Single x);
    void LayoutForImage2(rt::Single y);
    void LayoutForImage3(rt::Single y);
    void LayoutForImage4(rt::Single x);

private:
    static const BarRow<Splitter5> kBarRows[];

    rt::ControlRef Picture1{*this, "Picture1"};   // indicator of Image1
    rt::ControlRef Picture2{*this, "Picture2"};   // left container
    rt::ControlRef Picture3{*this, "Picture3"};   // right container
    rt::ControlRef Picture4{*this, "Picture4"};   // indicator of Image2, in Picture2
    rt::ControlRef Picture5{*this, "Picture5"};   // upper-left container, in Picture2
    rt::ControlRef Picture6{*this, "Picture6"};   // lower-left pane
    rt::ControlRef Picture7{*this, "Picture7"};   // indicator of Image3, in Picture3
    rt::ControlRef Picture8{*this, "Picture8"};   // upper-right pane
    rt::ControlRef Picture9{*this, "Picture9"};   // lower-right pane
    rt::ControlRef Picture10{*this, "Picture10"};  // indicator of Image4, in Picture5
    rt::ControlRef Picture11{*this, "Picture11"};  // left pane of Picture5
    rt::ControlRef Picture12{*this, "Picture12"};  // right pane of Picture5
    rt::ControlRef Image1{*this, "Image1"};     // vertical bar of the window
    rt::ControlRef Image2{*this, "Image2"};     // horizontal bar, in Picture2
    rt::ControlRef Image3{*this, "Image3"};     // horizontal bar, in Picture3
    rt::ControlRef Image4{*this, "Image4"};     // vertical bar, in Picture5
    bool DraggingImage1 = false;
    bool DraggingImage2 = false;
    bool DraggingImage3 = false;
    bool DraggingImage4 = false;
};

}  // namespace forms
