#include "heap_usage.h"

#include <QGuiApplication>
#include <X11/Xlib.h>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace qttest {

std::size_t liveHeapBytes()
{
    if (const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        if (Display* display = x11->display())
            XSync(display, False);
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;  // small blocks in the arenas, and large ones mapped on their own
}

bool heapCountIsExact()
{
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return tunables && std::strstr(tunables, "glibc.malloc.tcache_count=0");
}

}  // namespace qttest
