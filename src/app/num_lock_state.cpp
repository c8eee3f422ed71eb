// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/num_lock_state.h"

#include <QGuiApplication>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace qzm {
namespace {

constexpr std::uint32_t kNumLockSymbol = 0xFF7F;  // XK_Num_Lock
constexpr int kModifierCount = 8;

#if QT_CONFIG(xcb)
// xcb replies are malloc'd.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

// Asks the X server: which modifier is Num Lock, and is it set now.  The key
// state includes locked modifiers, so this is the lock's state, LEDs or not.
std::optional<bool> x11NumLockState() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr || xcb_connection_has_error(connection) != 0) {
        return std::nullopt;
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (screen == nullptr || setup->max_keycode < setup->min_keycode) {
        return std::nullopt;
    }
    const auto keyCount = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    const auto modifierCookie = xcb_get_modifier_mapping(connection);
    const auto keyboardCookie = xcb_get_keyboard_mapping(connection, setup->min_keycode, keyCount);
    const auto pointerCookie = xcb_query_pointer(connection, screen->root);
    const ReplyPtr<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(connection, modifierCookie, nullptr));
    const ReplyPtr<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(connection, keyboardCookie, nullptr));
    const ReplyPtr<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(connection, pointerCookie, nullptr));
    if (!modifiers || !keyboard || !pointer) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> modifierKeys(
        xcb_get_modifier_mapping_keycodes(modifiers.get()),
        static_cast<std::size_t>(xcb_get_modifier_mapping_keycodes_length(modifiers.get())));
    const std::span<const std::uint32_t> symbols(
        xcb_get_keyboard_mapping_keysyms(keyboard.get()),
        static_cast<std::size_t>(xcb_get_keyboard_mapping_keysyms_length(keyboard.get())));
    const auto mask = numLockModifierMask(modifierKeys, modifiers->keycodes_per_modifier, symbols,
                                          keyboard->keysyms_per_keycode, setup->min_keycode);
    if (!mask) {
        return std::nullopt;
    }
    return (pointer->mask & *mask) != 0;
}
#else
std::optional<bool> x11NumLockState() {
    return std::nullopt;
}
#endif

}  // namespace

std::optional<std::uint16_t> numLockModifierMask(std::span<const std::uint8_t> modifierKeys,
                                                 int keysPerModifier,
                                                 std::span<const std::uint32_t> symbols,
                                                 int symbolsPerKey, int firstKeyCode) {
    if (keysPerModifier <= 0 || symbolsPerKey <= 0) {
        return std::nullopt;
    }
    const auto perModifier = static_cast<std::size_t>(keysPerModifier);
    const auto perKey = static_cast<std::size_t>(symbolsPerKey);
    for (int modifier = 0; modifier < kModifierCount; ++modifier) {
        for (std::size_t k = 0; k < perModifier; ++k) {
            const std::size_t at = static_cast<std::size_t>(modifier) * perModifier + k;
            if (at >= modifierKeys.size()) {
                return std::nullopt;
            }
            const int keyCode = modifierKeys[at];
            if (keyCode == 0 || keyCode < firstKeyCode) {
                continue;
            }
            const std::size_t first = static_cast<std::size_t>(keyCode - firstKeyCode) * perKey;
            for (std::size_t s = first; s < first + perKey && s < symbols.size(); ++s) {
                if (symbols[s] == kNumLockSymbol) {
                    return static_cast<std::uint16_t>(1U << modifier);
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<bool> numLockState() {
    if (const auto state = x11NumLockState()) {
        return state;
    }
    return numLockLedState();
}

std::optional<bool> numLockLedState(const std::filesystem::path& ledsFolder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(ledsFolder, error);
    if (error) {
        return std::nullopt;
    }
    std::optional<bool> state;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("::numlock")) {
            continue;
        }
        std::ifstream brightness(entry.path() / "brightness");
        int value = 0;
        if (!(brightness >> value)) {
            continue;
        }
        // Several keyboards: any lit LED means on.
        state = state.value_or(false) || value != 0;
    }
    return state;
}

}  // namespace qzm
