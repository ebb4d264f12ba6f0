// Three panes: a right pane, and a left container split into an upper and a lower pane.
#include "forms/definitions.h"

namespace forms {
using namespace def;

namespace {
constexpr ControlDefinition kControls[] = {
    indicator("Picture1", "", 6660, 180, 135, 5895, {0x000000FF}, 0),
    picture("Picture3", "", 3780, 240, 2535, 5655, StoredColor{0x00FFFFC0}, 2),
    container("Picture2", "", 360, 180, 2835, 5955, kDefaultColor, 1),
    indicator("Picture4", "Picture2", 120, 120, 2535, 255, {0x00FF0000}, 3),
    picture("Picture6", "Picture2", 300, 3240, 2295, 2355, StoredColor{0x0080C0FF}, 5),
    picture("Picture5", "Picture2", 240, 540, 2355, 1995, StoredColor{0x00C0FFFF}, 4),
    bar("Image2", "Picture2", 180, 2700, 2535, 255, kNorthSouth),
    bar("Image1", "", 3360, 180, 195, 5955, kWestEast),
};
}  // namespace

const rt::FormDefinition kSplitter3Definition = {
    "Splitter3", "Splitter3", 7020, 6360, 7935, 4830, "Form1", &kPaneWindowIcon, kControls, {},
};

}  // namespace forms
