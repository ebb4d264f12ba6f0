// Four panes: a left and a right container, each split into an upper and a lower pane.
#include "forms/definitions.h"

namespace forms {
using namespace def;

namespace {
constexpr ControlDefinition kControls[] = {
    indicator("Picture1", "", 7260, 120, 135, 5895, {0x000000FF}, 0),
    container("Picture3", "", 3840, 240, 3255, 5655, StoredColor{0x00FFFFC0}, 2),
    indicator("Picture7", "Picture3", 240, 180, 2835, 255, {0x0000C000}, 6),
    picture("Picture9", "Picture3", 300, 3300, 2655, 2115, StoredColor{0x000000FF}, 8),
    picture("Picture8", "Picture3", 240, 720, 2715, 1695, StoredColor{0x00FF0000}, 7),
    bar("Image3", "Picture3", 180, 2760, 2835, 195, kNorthSouth),
    container("Picture2", "", 360, 180, 2835, 5955, kDefaultColor, 1),
    indicator("Picture4", "Picture2", 120, 120, 2535, 255, {0x00FF0000}, 3),
    picture("Picture6", "Picture2", 300, 3240, 2295, 2355, StoredColor{0x0080C0FF}, 5),
    picture("Picture5", "Picture2", 240, 540, 2355, 1995, StoredColor{0x00C0FFFF}, 4),
    bar("Image2", "Picture2", 180, 2700, 2535, 255, kNorthSouth),
    bar("Image1", "", 3360, 180, 195, 5955, kWestEast),
};
}  // namespace

const rt::FormDefinition kSplitter4Definition = {
    "Splitter4", "Splitter4", 7530, 6360, 135, 4980, "Form1", &kPaneWindowIcon, kControls, {},
};

}  // namespace forms
