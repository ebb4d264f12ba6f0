#include "runtime/memory_host.h"

#include <algorithm>

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
    pendingResizes_.erase(std::remove(pendingResizes_.begin(), pendingResizes_.end(), &form), pendingResizes_.end());
}

bool MemoryHost::resizeOuterWidth(Form& form, Single outerWidth)
{
    if (refuseResize_)
        return false;
    const Single client = std::max<Single>(0, outerWidth - kFrameWidth);
    if (deferResize_) {
        form.setClientSize(client, form.ScaleHeight());
        pendingResizes_.push_back(&form);
    } else {
        runtime_.resized(form, client, form.ScaleHeight());
    }
    return true;
}

void MemoryHost::deliverPendingResizes()
{
    std::vector<Form*> pending;
    pending.swap(pendingResizes_);
    for (Form* form : pending)
        runtime_.resized(*form, form->ScaleWidth(), form->ScaleHeight());
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
