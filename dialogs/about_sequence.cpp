#include "dialogs/about_sequence.h"

#include <cstring>

const char g_hiddenCaption[21] = {'\x51', '\x3D', '\x3A', '\x39', '\x7E', '\x27', '\x35', '\x2A', '\x36',
    '\x7E', '\x3B', '\x3D', '\x2C', '\x39', '\x72', '\x7E', '\x6C', '\x6E', '\x6C', '\x68', '\0'};

CalAboutStepResult CalAboutStep(int32_t clicks, CalAboutEvent event)
{
    switch (event) {
        case CalAboutEvent::RightDoubleClick:
            // Right double-clicks open steps 1 and 3; anywhere else one restarts.
            return {clicks == 0 ? 1 : clicks == 2 ? 3 : 0, false};
        case CalAboutEvent::LeftDoubleClick:
            if (clicks == 1)
                return {2, false};
            return {0, clicks == 3};
        case CalAboutEvent::MouseMove:
            break;
    }
    return {0, false};
}

void CalRevealCaption(const char* scrambled, char (&out)[100])
{
    std::strncpy(out, scrambled, sizeof out - 1);
    out[sizeof out - 1] = '\0';
    // The length is measured again before every byte: a byte that
    // unscrambles to 0 ends the text there.
    for (std::size_t i = 0; i < std::strlen(out); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        out[i] = static_cast<char>(static_cast<unsigned char>(b - 31u) ^ 0x7Fu);
    }
}
