#pragma once

#include <QString>

namespace glim {

// The settings file: a text file of [sections] and key=value lines with CR LF line ends.
// Section and key names match without regard to case. Nothing is cached: every read goes to
// the file, every write rewrites it.
//
// Only a regular file of at most kMaxIniFileBytes is read. Anything else at the path (a FIFO,
// a device or a link to one, a folder, a larger file, a file that cannot be read) reads as a
// file without keys and is never rewritten, so that a start-up, Exit or close neither hangs on
// it nor replaces what it holds.
inline constexpr qint64 kMaxIniFileBytes = 1024 * 1024;

// The value of `key` in `section` of `file`, trimmed of spaces, at most 259 characters; the
// empty text when the file, the section or the key is missing. Never fails, never shows a
// message.
QString readIni(const QString& file, const QString& section, const QString& key);

// Stores `value` under `key` in `section` of `file`: replaces an existing key's value in place,
// or appends the key at the end of its section, or appends a new section at the end of the
// file; creates the file when missing. Other lines stay as they are. Shows no message; false
// when the file was not written (the old contents then stay as they were): a failed write, or
// one that would take the file past kMaxIniFileBytes.
//
// A write that would add lines of its own is refused (false, like a failed write): a
// line break (CR or LF) anywhere, a "]" in the section name or a "=" in the key. Stripping
// them instead would store another value than the one asked for, a path that does not exist.
bool writeIni(const QString& file, const QString& section, const QString& key,
              const QString& value);

// Numeric use of a settings value: an empty value, or one that does not read as a number,
// counts as 0.
int iniNumber(const QString& value);

} // namespace glim
