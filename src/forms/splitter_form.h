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

    void LayoutForImage1(rt::Single p);

private:
    static const BarRow<SplitterForm> kBarRows[];
    void dispatchClick(const rt::MenuEntry& entry) override;
    std::string describeMenuEntry(const rt::MenuEntry& entry) const override;

    MenuCommands& commands_;
    rt::ControlRef Picture1{*this, "Picture1"};  // indicator of Image1
    rt::ControlRef Picture2{*this, "Picture2"};  // left pane
    rt::ControlRef Picture3{*this, "Picture3"};  // right pane
    rt::ControlRef Image1{*this, "Image1"};      // vertical bar
    bool DraggingImage1 = false;
};

}  // namespace forms
