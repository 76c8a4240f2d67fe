#pragma once

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QToolBar>

#include <functional>

// A tool-bar button of a window by its key, as a user names it ("Edit Image", "Center").
inline QAction* toolButton(const QWidget* window, const QString& key) {
    const auto* bar = window->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    for (QAction* action : bar->actions()) {
        if (action->data().toString() == key)
            return action;
    }
    return nullptr;
}

// Runs `open`, which shows a modal dialog, and `act` on that dialog once it runs, if it is the
// one named `name` (any when empty); it is rejected afterwards should `act` leave it open. What
// `act` left: "open", "closed", or "none" when no such dialog came up.
inline QString whileModal(const QString& name, const std::function<void(QDialog*)>& act,
                          const std::function<void()>& open) {
    QString left = QStringLiteral("none");
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || (!name.isEmpty() && dialog->objectName() != name))
            return;
        act(dialog);
        left = dialog->isVisible() ? QStringLiteral("open") : QStringLiteral("closed");
        if (dialog->isVisible()) // not after a close, whose result it would overwrite
            dialog->reject();
    });
    open();
    QCoreApplication::processEvents();
    return left;
}

// Where the controls named first in each of `expected` stand in `window`, written as there
// ("Check1 16 8 241 17": name, x, y, width, height; "lblTitle:1": the second of that name).
inline QStringList places(const QWidget* window, const QStringList& expected) {
    QStringList found;
    for (const QString& place : expected) {
        const QString name = place.section(' ', 0, 0);
        const QWidget* control = window->findChildren<QWidget*>(name.section(':', 0, 0))
                                     .value(name.section(':', 1).toInt());
        const QRect g = control ? control->geometry() : QRect();
        found.append(name + QString::asprintf(" %d %d %d %d", g.x(), g.y(), g.width(), g.height()));
    }
    return found;
}
