// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Menu items, toolbar buttons and keys carry the command id they run, so the
// menu can be retitled and enabled by id.

#include <QObject>
#include <QVariant>

namespace qzm {

inline constexpr const char* kCommandIdProperty = "qzmCommandId";

inline void setCommandId(QObject* object, int id) {
    object->setProperty(kCommandIdProperty, id);
}

// The command id of a menu item, button or key; 0 when it has none.
inline int commandIdOf(const QObject* object) {
    const QVariant id = object != nullptr ? object->property(kCommandIdProperty) : QVariant();
    return id.isValid() ? id.toInt() : 0;
}

}  // namespace qzm
