#include "platform/x11/root_pixels.h"

#include "platform/x11/xcb_replies.h"

namespace zs::x11 {
namespace {

const xcb_visualtype_t* FindVisual(const xcb_screen_t* screen, xcb_visualid_t id) {
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem > 0;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id) return visuals.data;
        }
    }
    return nullptr;
}

int BitsPerPixel(const xcb_setup_t* setup, int depth) {
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem > 0;
         xcb_format_next(&formats)) {
        if (formats.data->depth == depth) return formats.data->bits_per_pixel;
    }
    return 32;
}

}  // namespace

int RootPixels::Channel::value(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    const std::uint32_t raw = (pixel & mask) >> shift;
    const std::uint32_t top = (1u << bits) - 1;
    return static_cast<int>((raw * 255 + top / 2) / top);  // any channel width to 0-255
}

RootPixels::RootPixels(xcb_connection_t* c, const xcb_screen_t* screen)
    : c_(c), root_(screen->root), width_(screen->width_in_pixels),
      height_(screen->height_in_pixels) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    bitsPerPixel_ = BitsPerPixel(setup, screen->root_depth);
    bigEndian_ = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    const xcb_visualtype_t* visual = FindVisual(screen, screen->root_visual);
    Channel* channels[] = {&red_, &green_, &blue_};
    const std::uint32_t masks[] = {visual ? visual->red_mask : 0xFF0000u,
                                   visual ? visual->green_mask : 0x00FF00u,
                                   visual ? visual->blue_mask : 0x0000FFu};
    for (int i = 0; i < 3; ++i) {
        Channel& channel = *channels[i];
        channel.mask = masks[i];
        while (channel.mask != 0 && ((channel.mask >> channel.shift) & 1) == 0) ++channel.shift;
        while (((channel.mask >> channel.shift) >> channel.bits) & 1) ++channel.bits;
    }
}

bool RootPixels::onScreen(Point point) const {
    return point.x >= 0 && point.y >= 0 && point.x < width_ && point.y < height_;
}

std::optional<Rgb> RootPixels::at(Point point) {
    if (!onScreen(point)) return std::nullopt;
    auto image = Await<xcb_get_image_reply_t>(
        c_, xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<std::int16_t>(point.x),
                          static_cast<std::int16_t>(point.y), 1, 1, ~0u),
        xcb_get_image_reply);
    if (!image) return std::nullopt;
    const int bytes = (bitsPerPixel_ + 7) / 8;
    if (xcb_get_image_data_length(image.get()) < bytes) return std::nullopt;
    const std::uint8_t* data = xcb_get_image_data(image.get());
    std::uint32_t pixel = 0;
    for (int i = 0; i < bytes && i < 4; ++i) {
        const std::uint32_t byte = data[bigEndian_ ? i : bytes - 1 - i];
        pixel = (pixel << 8) | byte;
    }
    return Rgb{red_.value(pixel), green_.value(pixel), blue_.value(pixel)};
}

}  // namespace zs::x11
