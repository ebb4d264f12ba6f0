#include "paint/row_bands.h"

#include <algorithm>
#include <bit>

namespace paint {
namespace {

constexpr int kWindowPixels = std::size(Window{}.pixels);
// Spans at least this wide are written as solids; narrower ones, frame lines and the gaps between them,
// go into windows, which write several of them at once.
constexpr int kWideSpan = 16;

// Paints `s` over the sorted, disjoint spans of `row`: it replaces what lay under it, and cuts back the
// spans it covers in part.
void paintOver(std::vector<Span>& row, const Span& s)
{
    const auto first = std::find_if(row.begin(), row.end(), [&](const Span& r) { return r.right > s.left; });
    const auto last = std::find_if(first, row.end(), [&](const Span& r) { return r.left >= s.right; });
    Span pieces[3];
    std::size_t count = 0;
    if (first != last && first->left < s.left)
        pieces[count++] = {first->left, s.left, first->colour};
    pieces[count++] = s;
    if (first != last && std::prev(last)->right > s.right)
        pieces[count++] = {s.right, std::prev(last)->right, std::prev(last)->colour};
    const auto at = row.erase(first, last);
    row.insert(at, pieces, pieces + count);
}

}  // namespace

void RowBands::build(std::span<const Fill> fills, const Box& area)
{
    bands_.clear();
    spanCount_ = 0;
    solids_.clear();
    windows_.clear();
    covers_.clear();
    fillCount_ = area.empty() ? 0 : clip(fills, area);
    if (fillCount_ == 0)
        return;
    numberEdges(area);
    markEdges(area);
    addBands();
}

// Keeps the parts of the fills inside the area, and marks the rows where they begin and end, one bit a row.
std::size_t RowBands::clip(std::span<const Fill> fills, const Box area)
{
    if (clipped_.size() < fills.size())
        clipped_.resize(fills.size());
    rowBits_.assign(static_cast<std::uint32_t>(area.bottom - area.top) / 64 + 1, 0);
    std::uint64_t* const rows = rowBits_.data();
    const auto mark = [rows, top = area.top](int y) {
        const auto row = static_cast<std::uint32_t>(y - top);
        rows[row / 64] |= std::uint64_t(1) << (row % 64);
    };
    Fill* out = clipped_.data();
    for (const Fill& f : fills) {
        const Box b = Box{f.left, f.top, f.right, f.bottom} & area;
        if (b.empty())
            continue;
        *out++ = {b.left, b.top, b.right, b.bottom, f.colour};
        mark(b.top);
        mark(b.bottom);
    }
    return static_cast<std::size_t>(out - clipped_.data());
}

// The marked rows, the edges where fills begin or end, in order, each numbered in rank_.
void RowBands::numberEdges(const Box& area)
{
    const std::uint32_t height = static_cast<std::uint32_t>(area.bottom - area.top);
    if (rank_.size() <= height)
        rank_.resize(height + 1);
    edges_.clear();
    for (std::size_t word = 0; word < rowBits_.size(); ++word) {
        for (std::uint64_t bits = rowBits_[word]; bits; bits &= bits - 1) {
            const auto row = static_cast<std::uint32_t>(word * 64 + std::countr_zero(bits));
            rank_[row] = static_cast<std::uint32_t>(edges_.size());
            edges_.push_back(area.top + static_cast<int>(row));
        }
    }
}

// For each edge, one bit for each fill that begins there, and one for each that ends there: between them,
// the elementary bands (the rows between neighbouring edges) that the fill covers.
void RowBands::markEdges(const Box& area)
{
    const std::size_t words = (fillCount_ + 63) / 64, size = edges_.size() * words;
    beginning_.assign(size, 0);
    ending_.assign(size, 0);
    const std::uint32_t* const rank = rank_.data();
    for (std::size_t i = 0; i < fillCount_; ++i) {
        const std::uint64_t bit = std::uint64_t(1) << (i % 64);
        beginning_[rank[clipped_[i].top - area.top] * words + i / 64] |= bit;
        ending_[rank[clipped_[i].bottom - area.top] * words + i / 64] |= bit;
    }
}

// The elementary bands from top to bottom, each from the fills that cover it: those covering the band
// above, less those that end at its top, with those that begin there. Neighbouring short ones are gathered
// into one short band of at most kShortBandRows rows.
void RowBands::addBands()
{
    const std::size_t words = (fillCount_ + 63) / 64;
    covering_.assign(words, 0);
    pending_.assign(words, 0);
    Band shortBand{0, 0};
    for (std::size_t band = 0; band + 1 < edges_.size(); ++band) {
        std::uint64_t any = 0;
        for (std::size_t w = 0; w < words; ++w) {
            covering_[w] = (covering_[w] | beginning_[band * words + w]) & ~ending_[band * words + w];
            any |= covering_[w];
        }
        const int top = edges_[band], bottom = edges_[band + 1];
        const bool tall = bottom - top >= kTallBandRows;
        if (shortBand.bottom > shortBand.top &&
            (!any || tall || shortBand.bottom != top || bottom - shortBand.top > kShortBandRows)) {
            addShortBand(shortBand);
            shortBand = {0, 0};
        }
        if (!any)
            continue;
        if (tall) {
            addTallBand(top, bottom);
            continue;
        }
        if (shortBand.bottom == shortBand.top)
            shortBand.top = top;
        shortBand.bottom = bottom;
        for (std::size_t w = 0; w < words; ++w)
            pending_[w] |= covering_[w];
    }
    if (shortBand.bottom > shortBand.top)
        addShortBand(shortBand);
}

void RowBands::addShortBand(Band band)
{
    band.firstWord = static_cast<std::uint32_t>(covers_.size());
    covers_.insert(covers_.end(), pending_.begin(), pending_.end());
    std::fill(pending_.begin(), pending_.end(), 0);
    bands_.push_back(band);
}

// A tall band from its spans, or, where the band above is tall, ends at `top` and has the same spans,
// more rows of that band.
void RowBands::addTallBand(int top, int bottom)
{
    const auto first = static_cast<std::uint32_t>(spanCount_);
    const std::uint32_t count = appendSpans();
    if (!bands_.empty()) {
        Band& above = bands_.back();
        const auto aboveSpans = spans_.begin() + above.firstSpan;
        if (above.tall && above.bottom == top && above.spanCount == count &&
            std::equal(aboveSpans, aboveSpans + count, spans_.begin() + first)) {
            above.bottom = bottom;
            return;
        }
    }
    spanCount_ += count;
    Band& band = bands_.emplace_back(Band{top, bottom, first, count});
    band.tall = true;
    plan(band);
}

// Writes the spans of the fills covering the band being built after the last band's spans; returns how
// many. The fills are taken in the order of their left edges (an insertion sort: the walk hands them over
// nearly in that order). A fill that begins where the last span ends in its colour, or overlaps it in that
// colour, extends it: the order they were painted in makes no difference there (frame lines of one colour
// share their corner). The last span reaches furthest right, so a fill overlapping any span overlaps it;
// where fills of different colours overlap, the painting order decides, and the spans are made over that
// way.
std::uint32_t RowBands::appendSpans()
{
    if (byLeft_.size() < fillCount_)
        byLeft_.resize(fillCount_);
    // Room for the spans of every fill, and for those a fill painted over the middle of another leaves.
    if (spans_.size() < spanCount_ + 2 * fillCount_)
        spans_.resize(spanCount_ + 2 * fillCount_);
    std::uint64_t* const keys = byLeft_.data();
    std::size_t count = 0;
    for (std::size_t w = 0; w < covering_.size(); ++w) {
        for (std::uint64_t bits = covering_[w]; bits; bits &= bits - 1) {
            // The left edge (its sign bit flipped, so that unsigned order is signed order) above the index.
            const std::size_t index = w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
            const std::uint64_t key = std::uint64_t(std::uint32_t(clipped_[index].left) ^ 0x80000000u) << 32 | index;
            std::size_t at = count++;
            for (; at > 0 && keys[at - 1] > key; --at)
                keys[at] = keys[at - 1];
            keys[at] = key;
        }
    }
    Span* const out = spans_.data() + spanCount_;
    std::uint32_t written = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Fill& f = clipped_[static_cast<std::uint32_t>(keys[i])];
        if (written > 0) {
            Span& last = out[written - 1];
            if (f.left <= last.right && f.colour == last.colour) {
                last.right = std::max(last.right, f.right);
                continue;
            }
            if (f.left < last.right)
                return resolveOverlaps();
        }
        out[written++] = {f.left, f.right, f.colour};
    }
    return written;
}

// The spans of a band whose fills overlap: each fill covering it painted over those before it, in painting
// order, then neighbours of one colour joined; written after the last band's spans. Returns how many.
std::uint32_t RowBands::resolveOverlaps()
{
    row_.clear();
    for (std::size_t w = 0; w < covering_.size(); ++w) {
        for (std::uint64_t bits = covering_[w]; bits; bits &= bits - 1) {
            const Fill& f = clipped_[w * 64 + std::countr_zero(bits)];
            paintOver(row_, {f.left, f.right, f.colour});
        }
    }
    Span* const out = spans_.data() + spanCount_;
    std::uint32_t written = 0;
    for (const Span& s : row_) {
        if (written > 0 && out[written - 1].right == s.left && out[written - 1].colour == s.colour)
            out[written - 1].right = s.right;
        else
            out[written++] = s;
    }
    return written;
}

void RowBands::plan(Band& band)
{
    band.firstSolid = static_cast<std::uint32_t>(solids_.size());
    band.firstWindow = static_cast<std::uint32_t>(windows_.size());
    const std::span<const Span> spans = this->spans(band);
    for (std::size_t i = 0; i < spans.size();) {
        std::size_t end = i + 1;
        while (end < spans.size() && spans[end].left == spans[end - 1].right)
            ++end;
        planRun(spans.subspan(i, end - i));
        i = end;
    }
    band.solidCount = static_cast<std::uint32_t>(solids_.size() - band.firstSolid);
    band.windowCount = static_cast<std::uint32_t>(windows_.size() - band.firstWindow);
}

// One run of touching spans: its wide spans become solids, and each cluster of narrow ones between them is
// covered by windows, which may reach into the wide spans beside it but never out of the run. A run
// narrower than a window is all solids.
void RowBands::planRun(std::span<const Span> run)
{
    const int runEnd = run.back().right;
    const auto solid = [&](const Span& s) { solids_.push_back({s.left, s.right - s.left, s.colour}); };
    if (runEnd - run.front().left < kWindowPixels) {
        std::for_each(run.begin(), run.end(), solid);
        return;
    }
    const auto wide = [](const Span& s) { return s.right - s.left >= kWideSpan; };
    for (std::size_t i = 0; i < run.size();) {
        if (wide(run[i])) {
            solid(run[i++]);
            continue;
        }
        const std::size_t first = i;
        while (i < run.size() && !wide(run[i]))
            ++i;
        const int clusterEnd = run[i - 1].right;
        for (int left = std::min(run[first].left, runEnd - kWindowPixels);;
             left = std::min(left + kWindowPixels, clusterEnd - kWindowPixels)) {
            addWindow(run.subspan(first > 0 ? first - 1 : 0), left);
            if (left + kWindowPixels >= clusterEnd)
                break;
        }
    }
}

// A window of the pixels [left, left + 8) of `run`, whose first span begins at or before `left`.
void RowBands::addWindow(std::span<const Span> run, int left)
{
    Window w;
    w.left = left;
    const Span* s = run.data();
    while (s->right <= left)
        ++s;
    for (int i = 0; i < kWindowPixels; ++i) {
        if (left + i == s->right)
            ++s;
        w.pixels[i] = s->colour;
    }
    windows_.push_back(w);
}

}  // namespace paint
