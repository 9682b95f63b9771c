#include "windowing/fltk/window_icon.h"

#include "resources/resource_module.h"
#include "windowing/icon_table.h"

namespace kx {

void WindowIcons::load(HICON icon, int size, std::vector<Image>& out) {
    if (!icon) {
        return;
    }
    std::optional<uint16_t> id = IconTable::instance().resourceIdOf(icon);
    if (!id) {
        return;
    }
    ParseResult<IconGroup> group = ResourceModule::current().findGroupIcon(*id);
    if (!group) {
        return;
    }
    const IconImage* best = group.value().bestFor(size);
    if (!best || best->width <= 0 || best->height <= 0 ||
        best->rgba.size() != size_t(best->width) * size_t(best->height) * 4) {
        return;
    }
    Image image;
    image.rgba = best->rgba;
    image.image = std::make_unique<Fl_RGB_Image>(image.rgba.data(), best->width, best->height, 4);
    out.push_back(std::move(image));
}

void WindowIcons::update(HICON big, HICON small) {
    m_big = big;
    m_small = small;
    m_images.clear();
    load(big, 32, m_images);
    load(small, 16, m_images);
}

std::vector<const Fl_RGB_Image*> WindowIcons::images() const {
    std::vector<const Fl_RGB_Image*> out;
    for (const Image& image : m_images) {
        out.push_back(image.image.get());
    }
    return out;
}

} // namespace kx
