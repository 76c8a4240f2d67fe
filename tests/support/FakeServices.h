#pragma once

#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/HttpFetch.h"
#include "platform/Printer.h"
#include "platform/Shell.h"

#include <QList>
#include <QStringList>

// Doubles of the platform services that gui tests hand to the windows: each records what it
// was asked and answers as the test set it up.

// A clipboard of one picture and one text, as a desktop clipboard would hold them.
class FakeClipboard : public glim::Clipboard {
public:
    void putPicture(const glim::Picture& picture, bool keepOtherFormats) override {
        if (!keepOtherFormats)
            text.clear();
        image = picture;
    }
    glim::Picture picture() const override { return image; }

    glim::Picture image;
    QString text;
};

class RecordingPrinter : public glim::Printer {
public:
    bool printPicture(const glim::Picture& picture) override {
        printed.append(picture);
        return works;
    }

    bool works = true; // false: no printer, or the job fails
    QList<glim::Picture> printed;
};

class RecordingShell : public glim::Shell {
public:
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return true;
    }

    QList<QUrl> opened;
};

// Answers every fetch with `reply`, recording the requests.
class ScriptedHttpFetch : public glim::HttpFetch {
public:
    struct Request {
        QUrl url;
        int timeoutMs;
        qint64 maxBytes;
    };

    Reply get(const QUrl& url, int timeoutMs, qint64 maxBytes) override {
        requests.append({url, timeoutMs, maxBytes});
        return reply;
    }

    Reply reply;
    QList<Request> requests;
};

// Answers each dialog with the next queued answer (cancel, an empty text, when none is queued)
// and records where each opened and what it showed.
class ScriptedFileDialogs : public glim::FileDialogs {
public:
    QString openFile(QWidget*, const QString& startPath, const QString& filter) override {
        asked.append(startPath + QLatin1Char('|') + filter);
        return next();
    }
    QString chooseFolder(QWidget*, const QString& title) override {
        asked.append(title);
        return next();
    }

    QStringList answers;
    QStringList asked;

private:
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};
