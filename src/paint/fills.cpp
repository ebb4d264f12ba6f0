#include "paint/fills.h"

namespace paint {

std::size_t formFills(const rt::Form& form, const DeviceScale& scale, Rgb background, const Box& clip, Fill* out,
                      std::size_t capacity)
{
    std::size_t count = 0;
    walkFills(form, scale, background, clip, [&](const Box& b, Rgb colour) {
        if (count < capacity)
            out[count] = {b.left, b.top, b.right, b.bottom, colour | 0xFF000000u};
        ++count;
    });
    return count;
}

}  // namespace paint
