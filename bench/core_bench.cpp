// The core without Qt: each window's Form_Resize, one drag move, one release, loading a window from its
// definition, all through the in-memory host, and painting a window's picture into pixels. Allocations per
// iteration are counted with a replaced global operator new.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "support/allocation_counter.h"
#include "app/program.h"
#include "paint/fills.h"
#include "paint/row_pixels.h"
#include "runtime/memory_host.h"

namespace {

// Counts repaint requests instead of storing them, so that the host allocates nothing.
class CountingHost : public rt::MemoryHost {
public:
    void areaChanged(rt::Form&, const rt::Rect&) override { ++repaints; }
    unsigned long repaints = 0;
};

struct Session {
    CountingHost host;
    app::Program program{host.runtime()};
    Session() { host.runtime().setErrorOutput([](const std::string&) {}); }

    rt::Form& open(int panes)
    {
        switch (panes) {
        case 3: program.SanbunMenu_Click(); return *program.instance<forms::Splitter3>();
        case 4: program.YonbunMenu_Click(); return *program.instance<forms::Splitter4>();
        case 5: program.RokuBunMenu_Click(); return *program.instance<forms::Splitter5>();
        default: program.start(); return program.splitterForm();
        }
    }
};

void reportAllocations(benchmark::State& state, unsigned long before)
{
    state.counters["allocs/iter"] =
        benchmark::Counter(double(testing_support::allocationCount() - before), benchmark::Counter::kAvgIterations);
}

// Args: panes (2..5), client width, client height (twips). Two sizes 15 twips apart alternate, so that
// every Form_Resize moves controls and reports repaints.
void BM_FormResize(benchmark::State& state)
{
    Session s;
    rt::Form& form = s.open(int(state.range(0)));
    const double w = double(state.range(1)), h = double(state.range(2));
    s.host.resizeClient(form, w, h);
    const unsigned long before = testing_support::allocationCount();
    bool flip = false;
    for (auto _ : state) {
        s.host.resizeClient(form, flip ? w + 15 : w, flip ? h + 15 : h);
        flip = !flip;
    }
    reportAllocations(state, before);
    state.counters["repaints/iter"] = benchmark::Counter(double(s.host.repaints), benchmark::Counter::kAvgIterations);
}

// The window refuses Width assignments (minimised): a too narrow client size skips the assignment.
void BM_FormResizeRefusedWidth(benchmark::State& state)
{
    Session s;
    rt::Form& form = s.open(int(state.range(0)));
    s.host.setRefuseResize(true);
    const unsigned long before = testing_support::allocationCount();
    bool flip = false;
    for (auto _ : state) {
        s.host.resizeClient(form, flip ? 615 : 600, flip ? 3015 : 3000);
        flip = !flip;
    }
    reportAllocations(state, before);
}

void resizeArgs(benchmark::internal::Benchmark* b)
{
    // The defined sizes, a large window, a window under the minimum width (a nested resize widens it), and
    // sizes so small that panes would get negative sizes (those assignments are refused and skipped).
    const int defined[][3] = {{2, 5145, 4215}, {3, 7020, 6360}, {4, 7530, 6360}, {5, 8910, 8370}};
    for (const auto& d : defined) {
        b->Args({d[0], d[1], d[2]});
        b->Args({d[0], 28800, 16200});
        b->Args({d[0], 1500, 4000});
        b->Args({d[0], 2000, 90});
    }
    b->ArgNames({"panes", "w", "h"});
}

// One pointer move while Splitter5's first bar, Image1, is dragged: the indicator follows, nothing else moves.
void BM_DragMove(benchmark::State& state)
{
    Session s;
    auto& form = static_cast<forms::Splitter5&>(s.open(5));
    double x = 0, y = 0;
    form.originOf(*form.bars().front().control, x, y);
    x += 20;
    y += 2000;
    rt::Runtime& rt = s.host.runtime();
    rt.mouse(form, rt::MouseEvent::Down, rt::kLeftButton, 0, x, y);
    const unsigned long before = testing_support::allocationCount();
    const unsigned long repaintsBefore = s.host.repaints;
    int step = 0;
    for (auto _ : state) {
        rt.mouse(form, rt::MouseEvent::Move, rt::kLeftButton, 0, x + 15 * (step % 64 - 32), y);
        ++step;
    }
    reportAllocations(state, before);
    state.counters["repaints/iter"] =
        benchmark::Counter(double(s.host.repaints - repaintsBefore), benchmark::Counter::kAvgIterations);
}

// The release that ends a drag of Splitter5's Image1 (timed alone): layout for the new position, the
// indicator hidden. The press and the move before it are not timed.
void BM_DragRelease(benchmark::State& state)
{
    Session s;
    auto& form = static_cast<forms::Splitter5&>(s.open(5));
    rt::Runtime& rt = s.host.runtime();
    double x = 0, y = 0;
    form.originOf(*form.bars().front().control, x, y);
    x += 20;
    y += 2000;
    const unsigned long before = testing_support::allocationCount();
    unsigned long timedAllocations = 0;
    int step = 0;
    for (auto _ : state) {
        rt.mouse(form, rt::MouseEvent::Down, rt::kLeftButton, 0, x, y);
        const double dx = step++ % 2 ? 600 : -600;
        rt.mouse(form, rt::MouseEvent::Move, rt::kLeftButton, 0, x + dx, y);
        const unsigned long a = testing_support::allocationCount();
        const auto t0 = std::chrono::steady_clock::now();
        rt.mouse(form, rt::MouseEvent::Up, rt::kLeftButton, 0, x + dx, y);
        const auto t1 = std::chrono::steady_clock::now();
        timedAllocations += testing_support::allocationCount() - a;
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        x += dx;
    }
    (void)before;
    state.counters["allocs/iter"] = benchmark::Counter(double(timedAllocations), benchmark::Counter::kAvgIterations);
}

// Loading a window from its definition and showing it (controls created, first Resize), then closing it.
void BM_LoadWindow(benchmark::State& state)
{
    Session s;
    s.open(2);  // the main window stays open, so closing the other does not end the program
    rt::Form& form = s.open(int(state.range(0)));
    rt::Runtime& rt = s.host.runtime();
    const unsigned long before = testing_support::allocationCount();
    for (auto _ : state) {
        rt.close(form);
        form.Show();
    }
    reportAllocations(state, before);
}

// Splitter5's picture at its defined size (594 x 558 pixels at 96 dpi): walked into fills and written
// row band by row band, into one of eight images in turn so that, as in a new backing store after each
// resize, its pixels are not in the near caches. With one_fill:1, a single fill of the same size instead:
// the floor to compare with, what a bare window paints.
void BM_PaintSplitter5(benchmark::State& state)
{
    Session s;
    rt::Form& form = s.open(5);
    const paint::DeviceScale scale{15, 1};
    const paint::Box area{0, 0, scale.edge(form.ScaleWidth()), scale.edge(form.ScaleHeight())};
    const paint::Rgb face = paint::rgb(212, 208, 200);
    std::vector<std::vector<std::uint32_t>> images(8, std::vector<std::uint32_t>(std::size_t(area.right) * area.bottom));
    std::vector<paint::Fill> fills;
    paint::RowBands rows;
    std::size_t painted = 0;
    const auto paint = [&] {
        fills.clear();
        if (state.range(0) == 1)
            fills.push_back({area.left, area.top, area.right, area.bottom, face});
        else
            paint::walkFills(form, scale, face, area, [&](const paint::Box& b, paint::Rgb colour) {
                fills.push_back({b.left, b.top, b.right, b.bottom, colour});
            });
        std::vector<std::uint32_t>& image = images[painted++ % images.size()];
        paint::writeFills(fills, area, image.data(), area.right, rows);
        benchmark::DoNotOptimize(image.data());
    };
    paint();  // the buffers grow to their size once
    const unsigned long before = testing_support::allocationCount();
    for (auto _ : state)
        paint();
    reportAllocations(state, before);
}

}  // namespace

BENCHMARK(BM_FormResize)->Apply(resizeArgs);
BENCHMARK(BM_FormResizeRefusedWidth)->DenseRange(2, 5)->ArgName("panes");
BENCHMARK(BM_DragMove);
BENCHMARK(BM_DragRelease)->UseManualTime();
BENCHMARK(BM_LoadWindow)->Arg(3)->Arg(4)->Arg(5)->ArgName("panes");
BENCHMARK(BM_PaintSplitter5)->Arg(0)->Arg(1)->ArgName("one_fill");

BENCHMARK_MAIN();
