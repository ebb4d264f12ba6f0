// Five panes: a right container split into an upper and a lower pane; a left container split into an
// upper container and a lower pane; the upper container split into a left and a right pane.
#include "forms/definitions.h"

namespace forms {
using namespace def;

namespace {
constexpr ControlDefinition kControls[] = {
    indicator("Picture1", "", 8520, 120, 135, 7815, {0x000000FF}, 0),
    container("Picture3", "", 4980, 180, 3255, 7815, kDefaultColor, 2),
    indicator("Picture7", "Picture3", 240, 180, 2835, 255, {0x0000C000}, 6),
    picture("Picture9", "Picture3", 240, 4680, 2655, 2115, StoredColor{0x000000FF}, 8),
    picture("Picture8", "Picture3", 180, 720, 2775, 2835, StoredColor{0x00FF0000}, 7),
    bar("Image3", "Picture3", 180, 3960, 2835, 195, kNorthSouth),
    container("Picture2", "", 360, 180, 4035, 8055, kDefaultColor, 1),
    indicator("Picture4", "Picture2", 120, 120, 3615, 255, {0x00FF0000}, 3),
    picture("Picture6", "Picture2", 240, 4440, 3435, 3315, StoredColor{0x0080C0FF}, 5),
    container("Picture5", "Picture2", 240, 600, 3375, 3135, StoredColor{0x00C0FFFF}, 4),
    indicator("Picture10", "Picture5", 3000, 300, 195, 2595, {0x00404040}, 9),
    picture("Picture12", "Picture5", 1980, 480, 795, 2175, StoredColor{0x00E0E0E0}, 11),
    picture("Picture11", "Picture5", 240, 480, 915, 2175, StoredColor{0x00C0C0FF}, 10),
    bar("Image4", "Picture5", 1620, 180, 135, 2715, kWestEast),
    bar("Image2", "Picture2", 180, 4020, 3555, 255, kNorthSouth),
    bar("Image1", "", 4560, 180, 195, 7935, kWestEast),
};
}  // namespace

const rt::FormDefinition kSplitter5Definition = {
    "Splitter5", "Splitter5", 8910, 8370, 6165, 735, "Form1", &kPaneWindowIcon, kControls, {},
};

}  // namespace forms
