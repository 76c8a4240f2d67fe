#pragma once

#include <QAction>
#include <QToolBar>

// A tool-bar button of a window by its key, as a user names it ("Edit Image", "Center").
inline QAction* toolButton(const QWidget* window, const QString& key) {
    const auto* bar = window->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    for (QAction* action : bar->actions()) {
        if (action->data().toString() == key)
            return action;
    }
    return nullptr;
}
