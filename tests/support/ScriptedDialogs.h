#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>

// A Dialogs double for tests: records every message with its kind and title and answers
// questions from a queue (No when the queue is empty).
class ScriptedDialogs : public glim::Dialogs {
public:
    struct Shown {
        QString kind; // "information", "question", "exclamation", "plain" or "critical"
        QString text;
        QString title;
    };

    using glim::Dialogs::critical;
    void information(const QString& text) override {
        m_shown.append({"information", text, glim::kInformationTitle});
    }
    bool question(const QString& text) override {
        m_shown.append({"question", text, glim::kQuestionTitle});
        return m_answers.isEmpty() ? false : m_answers.takeFirst();
    }
    void exclamation(const QString& text) override {
        m_shown.append({"exclamation", text, glim::kExclamationTitle});
    }
    void plain(const QString& text) override {
        m_shown.append({"plain", text, glim::kApplicationTitle});
    }
    void critical(const QString& title, const QString& text) override {
        m_shown.append({"critical", text, title});
    }

    void answerNext(bool yes) { m_answers.append(yes); }
    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const {
        QStringList result;
        for (const Shown& s : m_shown)
            result.append(s.text);
        return result;
    }
    // Each message as "kind|text", a critical one (whose title varies) as "critical|title|text".
    QStringList said() const {
        QStringList result;
        for (const Shown& s : m_shown)
            result.append(s.kind + '|' + (s.kind == "critical" ? s.title + '|' : "") + s.text);
        return result;
    }
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    QList<bool> m_answers;
};
