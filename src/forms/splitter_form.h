// The main window: a left and a right pane divided by one vertical bar, and the menu bar whose entries
// open the other windows.
#pragma once

#include "forms/pane_window.h"

namespace forms {

// The menu commands of the main window; the program supplies them.
class MenuCommands {
public:
    virtual ~MenuCommands() = default;
    virtual void SanbunMenu_Click() = 0;
    virtual void YonbunMenu_Click() = 0;
    virtual void RokuBunMenu_Click() = 0;
};

class SplitterForm : public PaneWindow {
public:
    SplitterForm(rt::Runtime& runtime, MenuCommands& commands);

    void Form_Resize() override;
    void LayoutForImage1(rt::Single p);

    void Image1_MouseDown(int button, int shift, rt::Single x, rt::Single y);
    void Image1_MouseMove(int button, int shift, rt::Single x, rt::Single y);
    void Image1_MouseUp(int button, int shift, rt::Single x, rt::Single y);

    bool DraggingImage1 = false;

private:
    BarHooks barHooks(int number) override;
    void dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args) override;
    void dispatchClick(const rt::MenuEntry& entry) override;

    MenuCommands& commands_;
    rt::Control* Picture1 = nullptr;  // indicator of Image1
    rt::Control* Picture2 = nullptr;  // left pane
    rt::Control* Picture3 = nullptr;  // right pane
    rt::Control* Image1 = nullptr;    // vertical bar
};

}  // namespace forms
