#pragma once

#include <QString>

namespace glim {

// Every modal message the program shows goes through this seam, so that tests can script the
// answers and record what was asked. The titles and icons are fixed per kind of message.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Title "Zivra Glimwell Information", information icon, OK.
    virtual void information(const QString& text) = 0;
    // Title "Zivra Glimwell Question", question icon, Yes and No; true when Yes was chosen.
    virtual bool question(const QString& text) = 0;
    // Title "Zivra Glimwell Exclamation", warning icon, OK: input errors.
    virtual void exclamation(const QString& text) = 0;
    // The application's own title, no icon, OK.
    virtual void plain(const QString& text) = 0;
    // Critical-stop icon, OK, under the title given (an error's own title).
    virtual void critical(const QString& title, const QString& text) = 0;
    // The same under the application's own title.
    void critical(const QString& text);
};

inline const QString kInformationTitle = QStringLiteral("Zivra Glimwell Information");
inline const QString kQuestionTitle = QStringLiteral("Zivra Glimwell Question");
inline const QString kExclamationTitle = QStringLiteral("Zivra Glimwell Exclamation");
// The application's own title, used by the messages that carry no titled kind.
inline const QString kApplicationTitle = QStringLiteral("Glimwell");

inline void Dialogs::critical(const QString& text) {
    critical(kApplicationTitle, text);
}

} // namespace glim
