#include "platform/qt/KeyState.h"

#include "platform/files/FileUtils.h"

#include <QGuiApplication>

namespace tarnis {

void installKeyStateQuery() {
    setKeyStateQuery([](ModifierKey key) {
        const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
        return held.testFlag(key == ModifierKey::Ctrl ? Qt::ControlModifier : Qt::ShiftModifier);
    });
}

}  // namespace tarnis
