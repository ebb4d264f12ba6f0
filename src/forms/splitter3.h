// Three panes: a right pane, and a left container split into an upper and a lower pane.
#pragma once

#include "forms/pane_window.h"

namespace forms {

class Splitter3 : public PaneWindow {
public:
    explicit Splitter3(rt::Runtime& runtime);

    void Form_Resize() override;
    void LayoutForImage1(rt::Single p1);
    void LayoutForImage2(rt::Single p2);

    void Image1_MouseDown(int button, int shift, rt::Single x, rt::Single y);
    void Image1_MouseMove(int button, int shift, rt::Single x, rt::Single y);
    void Image1_MouseUp(int button, int shift, rt::Single x, rt::Single y);
    void Image2_MouseDown(int button, int shift, rt::Single x, rt::Single y);
    void Image2_MouseMove(int button, int shift, rt::Single x, rt::Single y);
    void Image2_MouseUp(int button, int shift, rt::Single x, rt::Single y);

    bool DraggingImage1 = false;
    bool DraggingImage2 = false;

private:
    BarHooks barHooks(int number) override;
    void dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args) override;

    rt::Control* Picture1 = nullptr;  // indicator of Image1
    rt::Control* Picture2 = nullptr;  // left container
    rt::Control* Picture3 = nullptr;  // right pane
    rt::Control* Picture4 = nullptr;  // indicator of Image2, in Picture2
    rt::Control* Picture5 = nullptr;  // upper-left pane
    rt::Control* Picture6 = nullptr;  // lower-left pane
    rt::Control* Image1 = nullptr;    // vertical bar
    rt::Control* Image2 = nullptr;    // horizontal bar, in Picture2
};

}  // namespace forms
