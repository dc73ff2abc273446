#include "ui/SeriesColours.h"

namespace velmora::ui {

QColor toQColor(Colour colour) {
    switch (colour) {
    case Colour::Blue:
        return {0, 0, 255};
    case Colour::Green:
        return {0, 128, 0};
    case Colour::Yellow:
        return {255, 255, 0};
    case Colour::Red:
        return {255, 0, 0};
    case Colour::Aqua:
        return {0, 255, 255};
    case Colour::Teal:
        return {0, 128, 128};
    case Colour::Lime:
        return {0, 255, 0};
    case Colour::Purple:
        return {128, 0, 128};
    }
    return {0, 0, 0};
}

} // namespace velmora::ui
