// The main window: two panes side by side, and the menu that opens the other windows.
#include "forms/definitions.h"

namespace forms {
using namespace def;

namespace {
constexpr ControlDefinition kControls[] = {
    indicator("Picture1", "", 4800, 120, 135, 3975, {0x00404040}, 0),
    picture("Picture3", "", 2700, 180, 1935, 3795, StoredColor{0x00FFC0C0}, 2),
    picture("Picture2", "", 180, 180, 1980, 3780, StoredColor{0x00C0FFFF}, 1),
    bar("Image1", "", 2340, 120, 135, 3855, kWestEast),
};

// Captions in code page 932: a full-width digit and the two characters for "division".
constexpr rt::MenuDefinition kMenu[] = {
    {"SanbunMenu", "\x82\x52\x95\xAA\x8A\x84"},
    {"YonbunMenu", "\x82\x53\x95\xAA\x8A\x84"},
    {"RokuBunMenu", "\x82\x54\x95\xAA\x8A\x84"},
};
}  // namespace

const rt::FormDefinition kSplitterFormDefinition = {
    "SplitterForm", "SplitterForm", 5145, 4215, 4920, 4260, "Form1", &kMainWindowIcon, kControls, kMenu,
};

}  // namespace forms
