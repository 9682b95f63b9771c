// The icons of a window as FLTK images: the resource behind each HICON
// (IconTable), decoded from the program's resources, in the size the host
// shows (32 pixels for the big icon, 16 for the small one).
//
// An icon that is null, unknown or has no images gives no image; nothing
// here fails loudly, since a window without an icon still works.
#pragma once

#include <windows.h>

#include <FL/Fl_RGB_Image.H>

#include <memory>
#include <vector>

namespace kx {

class WindowIcons {
public:
    // Replaces the images with those of these icons.
    void update(HICON big, HICON small);
    // The images, largest first; empty when there is none.
    std::vector<const Fl_RGB_Image*> images() const;
    bool sameAs(HICON big, HICON small) const { return big == m_big && small == m_small; }

private:
    struct Image {
        std::vector<unsigned char> rgba;
        std::unique_ptr<Fl_RGB_Image> image;
    };
    static void load(HICON icon, int size, std::vector<Image>& out);

    HICON m_big = nullptr;
    HICON m_small = nullptr;
    std::vector<Image> m_images;
};

} // namespace kx
