#include "platform/MessageBoxDialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>

namespace glim {

namespace {

// Ctrl+C copies the message's text, as desktop message boxes let the user do.
class CopyableMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Copy))
            QGuiApplication::clipboard()->setText(text());
        else
            QMessageBox::keyPressEvent(event);
    }
};

QMessageBox::StandardButton show(QMessageBox::Icon icon, const QString& title, const QString& text,
                                 QMessageBox::StandardButtons buttons) {
    CopyableMessageBox box(icon, title, text, buttons);
    box.setObjectName(QStringLiteral("messageBox"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxDialogs::information(const QString& text) {
    show(QMessageBox::Information, kInformationTitle, text, QMessageBox::Ok);
}

bool MessageBoxDialogs::question(const QString& text) {
    return show(QMessageBox::Question, kQuestionTitle, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void MessageBoxDialogs::exclamation(const QString& text) {
    show(QMessageBox::Warning, kExclamationTitle, text, QMessageBox::Ok);
}

void MessageBoxDialogs::plain(const QString& text) {
    show(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok);
}

void MessageBoxDialogs::critical(const QString& title, const QString& text) {
    show(QMessageBox::Critical, title, text, QMessageBox::Ok);
}

} // namespace glim
