#pragma once

#include "platform/Dialogs.h"

namespace glim {

// The program's message boxes as real modal QMessageBoxes with the fixed titles and icons.
class MessageBoxDialogs : public Dialogs {
public:
    void information(const QString& text) override;
    bool question(const QString& text) override;
    void exclamation(const QString& text) override;
    void plain(const QString& text) override;
    void critical(const QString& title, const QString& text) override;
};

} // namespace glim
