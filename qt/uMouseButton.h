#pragma once
// Qt's mouse buttons as the windows' behaviour names them.
#include <Qt>

#include "app/uViewTypes.h"

inline TMouseButton ToMouseButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return TMouseButton::Left;
        case Qt::RightButton:
            return TMouseButton::Right;
        case Qt::MiddleButton:
            return TMouseButton::Middle;
        default:
            return TMouseButton::Other;
    }
}
