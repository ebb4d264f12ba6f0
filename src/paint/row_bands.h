// A picture's fills turned into rows, so that a host can write the image in memory order, each cache line
// once, instead of walking it once per fill: the rows of an area cut into bands, tall bands of alike rows
// each one list of spans from left to right, and short bands between them. No GUI toolkit here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "paint/fills.h"

namespace paint {

// Pixels [left, right) of a row, all of one colour.
struct Span {
    int left, right;
    Rgb colour;

    bool operator==(const Span&) const = default;
};

// How a tall band's rows are written: its solids, each a run of pixels of one colour at least 8 wide (or
// any run, in a stretch of pixels narrower than 8), and its windows.
struct Solid {
    int left, width;
    Rgb colour;
};

// Eight neighbouring pixels of a row written with one store: where narrow spans meet (frame lines and
// the gaps between them), one window carries several of them. It may overlap a solid, with the same
// pixels.
struct Window {
    int left;
    Rgb pixels[8];
};

// Rows [top, bottom). A tall band's rows are alike: each is the band's spans, planned into solids and
// windows. Rows between tall bands form short bands of at most kShortBandRows rows, each written fill by
// fill in painting order, from the fills that reach into it: its few rows stay in the cache meanwhile, and
// making spans of rows that change every row or two would cost more than it saves.
struct Band {
    int top, bottom;
    std::uint32_t firstSpan = 0, spanCount = 0;
    std::uint32_t firstSolid = 0, solidCount = 0, firstWindow = 0, windowCount = 0;
    std::uint32_t firstWord = 0;  // a short band's fills, one bit each
    bool tall = false;
};

inline constexpr int kTallBandRows = 4, kShortBandRows = 16;

// Builds and keeps the bands of one area. The buffers are kept from one build to the next, so that
// painting allocates nothing once they have grown to the window's needs.
class RowBands {
public:
    // Bands of fills given in painting order (a later fill covers an earlier one), within `area`, from top
    // to bottom. Rows that no fill covers are in no band, and pixels that none covers in no span.
    void build(std::span<const Fill> fills, const Box& area);

    std::span<const Band> bands() const { return bands_; }
    // A tall band's spans: sorted, disjoint, neighbours of one colour joined. Neighbouring tall bands
    // never have the same spans: they are one band.
    std::span<const Span> spans(const Band& band) const
    {
        return std::span(spans_).subspan(band.firstSpan, band.spanCount);
    }
    // A tall band's solids and windows, each left to right.
    std::span<const Solid> solids(const Band& band) const
    {
        return std::span(solids_).subspan(band.firstSolid, band.solidCount);
    }
    std::span<const Window> windows(const Band& band) const
    {
        return std::span(windows_).subspan(band.firstWindow, band.windowCount);
    }
    // The fills inside the area, clipped to it, in painting order; and those reaching into a short band,
    // bit i % 64 of word i / 64 for fill i.
    std::span<const Fill> fills() const { return std::span(clipped_).first(fillCount_); }
    std::span<const std::uint64_t> covering(const Band& band) const
    {
        return std::span(covers_).subspan(band.firstWord, (fillCount_ + 63) / 64);
    }

private:
    std::size_t clip(std::span<const Fill> fills, Box area);
    void numberEdges(const Box& area);
    void markEdges(const Box& area);
    void addBands();
    void addShortBand(Band band);
    void addTallBand(int top, int bottom);
    std::uint32_t appendSpans();
    std::uint32_t resolveOverlaps();
    void plan(Band& band);
    void planRun(std::span<const Span> run);
    void addWindow(std::span<const Span> run, int left);

    std::vector<Band> bands_;
    // Used up to spanCount_; kept at its largest size, so that spans are written without growing it.
    std::vector<Span> spans_;
    std::size_t spanCount_ = 0;
    std::vector<Solid> solids_;
    std::vector<Window> windows_;
    std::vector<Fill> clipped_;
    std::size_t fillCount_ = 0;
    std::vector<std::uint64_t> covers_;
    // Scratch: one bit per row where a fill begins or ends (an edge), and each such row's rank among them;
    // the edges; for each edge the fills that begin and that end there, those covering the elementary band
    // being built and those reaching into the short band being gathered, one bit each; the fills covering
    // a tall band by left edge (keyed by left edge above index); its row as painted so far where fills
    // overlap.
    std::vector<std::uint32_t> rank_;
    std::vector<std::uint64_t> rowBits_, beginning_, ending_, covering_, pending_, byLeft_;
    std::vector<int> edges_;
    std::vector<Span> row_;
};

}  // namespace paint
