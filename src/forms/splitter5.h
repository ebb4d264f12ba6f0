// Five panes, three levels deep: a right container split into an upper and a lower pane; a left
// container split into an upper container and a lower pane; the upper container split into a left and a
// right pane.
#pragma once

#include "forms/pane_window.h"

namespace forms {

class Splitter5 : public PaneWindow {
public:
    explicit Splitter5(rt::Runtime& runtime);

    void Form_Resize() override;
    void LayoutForImage1(rt::Single x);
    void LayoutForImage2(rt::Single y);
    void LayoutForImage3(rt::Single y);
    void LayoutForImage4(rt::Single x);

    void Image1_MouseDown(int button, int shift, rt::Single x, rt::Single y);
    void Image1_MouseMove(int button, int shift, rt::Single x, rt::Single y);
    void Image1_MouseUp(int button, int shift, rt::Single x, rt::Single y);
    void Image2_MouseDown(int button, int shift, rt::Single x, rt::Single y);
    void Image2_MouseMove(int button, int shift, rt::Single x, rt::Single y);
    void Image2_MouseUp(int button, int shift, rt::Single x, rt::Single y);
    void Image3_MouseDown(int button, int shift, rt::Single x, rt::Single y);
    void Image3_MouseMove(int button, int shift, rt::Single x, rt::Single y);
    void Image3_MouseUp(int button, int shift, rt::Single x, rt::Single y);
    void Image4_MouseDown(int button, int shift, rt::Single x, rt::Single y);
    void Image4_MouseMove(int button, int shift, rt::Single x, rt::Single y);
    void Image4_MouseUp(int button, int shift, rt::Single x, rt::Single y);

    bool DraggingImage1 = false;
    bool DraggingImage2 = false;
    bool DraggingImage3 = false;
    bool DraggingImage4 = false;

private:
    BarHooks barHooks(int number) override;
    void dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args) override;

    rt::Control* Picture1 = nullptr;   // indicator of Image1
    rt::Control* Picture2 = nullptr;   // left container
    rt::Control* Picture3 = nullptr;   // right container
    rt::Control* Picture4 = nullptr;   // indicator of Image2, in Picture2
    rt::Control* Picture5 = nullptr;   // upper-left container, in Picture2
    rt::Control* Picture6 = nullptr;   // lower-left pane
    rt::Control* Picture7 = nullptr;   // indicator of Image3, in Picture3
    rt::Control* Picture8 = nullptr;   // upper-right pane
    rt::Control* Picture9 = nullptr;   // lower-right pane
    rt::Control* Picture10 = nullptr;  // indicator of Image4, in Picture5
    rt::Control* Picture11 = nullptr;  // left pane of Picture5
    rt::Control* Picture12 = nullptr;  // right pane of Picture5
    rt::Control* Image1 = nullptr;     // vertical bar of the window
    rt::Control* Image2 = nullptr;     // horizontal bar, in Picture2
    rt::Control* Image3 = nullptr;     // horizontal bar, in Picture3
    rt::Control* Image4 = nullptr;     // vertical bar, in Picture5
};

}  // namespace forms
