#include "settings/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace glim {

namespace {

// At most this many characters of a value come back, as the settings file always allowed.
constexpr int kMaxValueLength = 259;

// What stands at the settings path: nothing (a write creates the file), a file that was read,
// or something that must be neither read nor replaced.
enum class FileState { Missing, Read, Unusable };

struct Lines {
    QStringList lines;
    FileState state = FileState::Missing;
};

Lines readLines(const QString& file) {
    Lines result;
    const QFileInfo info(file);
    if (!info.exists())
        return result;
    result.state = FileState::Unusable;
    // Looked at before it is opened: opening a FIFO waits for a writer, and a device such as
    // /dev/zero never ends.
    if (!info.isFile() || info.size() > kMaxIniFileBytes)
        return result;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = in.read(kMaxIniFileBytes + 1);
    if (bytes.size() > kMaxIniFileBytes) // it grew after it was looked at
        return result;
    result.state = FileState::Read;
    const QString text = QString::fromLocal8Bit(bytes);
    result.lines = text.split(QLatin1Char('\n'));
    for (QString& line : result.lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // A final line end leaves one empty element behind; it is not a line of the file.
    if (!result.lines.isEmpty() && result.lines.last().isEmpty())
        result.lines.removeLast();
    return result;
}

bool breaksLines(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// The section name of a "[name]" line, or a null string for any other line.
QString sectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return {};
    return trimmed.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or a null string for any other line.
QString keyName(const QString& line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return {};
    return line.left(equals).trimmed();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString readIni(const QString& file, const QString& section, const QString& key) {
    const Lines file_ = readLines(file);
    bool inSection = false;
    for (const QString& line : file_.lines) {
        const QString name = sectionName(line);
        if (!name.isNull()) {
            inSection = sameName(name, section);
            continue;
        }
        if (!inSection)
            continue;
        const QString lineKey = keyName(line);
        if (!lineKey.isNull() && sameName(lineKey, key)) {
            const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1);
            return value.trimmed().left(kMaxValueLength).trimmed();
        }
    }
    return QString();
}

bool writeIni(const QString& file, const QString& section, const QString& key,
              const QString& value) {
    if (breaksLines(section) || breaksLines(key) || breaksLines(value) ||
        section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')))
        return false;
    Lines file_ = readLines(file);
    if (file_.state == FileState::Unusable)
        return false;
    QStringList& lines = file_.lines;
    const QString entry = key + QLatin1Char('=') + value;

    qsizetype sectionStart = -1; // index of the header line
    qsizetype lastKeyLine = -1;  // last key line of that section
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        const QString name = sectionName(lines[i]);
        if (!name.isNull()) {
            if (sectionStart >= 0)
                break; // the next section begins: the key is not in ours
            if (sameName(name, section)) {
                sectionStart = i;
                lastKeyLine = i;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        const QString lineKey = keyName(lines[i]);
        if (lineKey.isNull())
            continue;
        lastKeyLine = i;
        if (sameName(lineKey, key)) {
            lines[i] = lines[i].left(lines[i].indexOf(QLatin1Char('=')) + 1) + value;
            written = true;
        }
    }
    if (!written) {
        if (sectionStart >= 0) {
            lines.insert(lastKeyLine + 1, entry);
        } else {
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.append(entry);
        }
    }

    // Written to a new file that replaces the old one only when complete, so that a failed
    // write never leaves a truncated settings file behind.
    // A file that grew past the limit would read as empty from then on: the write is lost
    // instead, and every value written before stays readable.
    const QByteArray bytes =
        (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLocal8Bit();
    if (bytes.size() > kMaxIniFileBytes)
        return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(bytes);
    return out.commit();
}

int iniNumber(const QString& value) {
    // toInt gives 0 for anything that is not a whole number.
    return value.trimmed().toInt();
}

} // namespace glim
