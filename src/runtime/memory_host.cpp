#include "runtime/memory_host.h"

#include <algorithm>
#include <vector>

namespace rt {

void MemoryHost::showForm(Form& form)
{
    const bool first = shown_[&form]++ == 0;
    if (first)
        runtime_.resized(form, form.ScaleWidth(), form.ScaleHeight());
}

void MemoryHost::unloadForm(Form& form)
{
    shown_.erase(&form);
    std::erase_if(pendingResizes_, [&](const PendingResize& r) { return r.form == &form; });
}

bool MemoryHost::resizeOuterWidth(Form& form, Single outerWidth)
{
    if (refuseResize_)
        return false;
    const Single client = std::max<Single>(0, outerWidth - kFrameWidth);
    if (deferResize_) {
        pendingResizes_.push_back({&form, client});
    } else {
        runtime_.resized(form, client, form.ScaleHeight());
    }
    return true;
}

void MemoryHost::deliverPendingResizes()
{
    std::vector<PendingResize> pending;
    pending.swap(pendingResizes_);
    for (const PendingResize& r : pending)
        runtime_.resized(*r.form, r.clientWidth, r.form->ScaleHeight());
}

void MemoryHost::areaChanged(Form&, const Rect& area) { repaints_.push_back(area); }

void MemoryHost::resizeClient(Form& form, double width, double height) { runtime_.resized(form, width, height); }

int MemoryHost::showCount(const Form& form) const
{
    const auto it = shown_.find(&form);
    return it == shown_.end() ? 0 : it->second;
}

std::vector<Rect> MemoryHost::takeRepaints()
{
    std::vector<Rect> taken;
    taken.swap(repaints_);
    return taken;
}

}  // namespace rt
