#pragma once

#include <QString>

namespace glim {

// The settings file: a text file of [sections] and key=value lines with CR LF line ends.
// Section and key names match without regard to case. Nothing is cached: every read goes to
// the file, every write rewrites it.

// The value of `key` in `section` of `file`, trimmed of spaces, at most 259 characters; the
// empty text when the file, the section or the key is missing. Never fails, never shows a
// message.
QString readIni(const QString& file, const QString& section, const QString& key);

// Stores `value` under `key` in `section` of `file`: replaces an existing key's value in place,
// or appends the key at the end of its section, or appends a new section at the end of the
// file; creates the file when missing. Other lines stay as they are. Shows no message; false
// when the file could not be written (the old contents then stay as they were).
bool writeIni(const QString& file, const QString& section, const QString& key,
              const QString& value);

// Numeric use of a settings value: an empty value, or one that does not read as a number,
// counts as 0.
int iniNumber(const QString& value);

} // namespace glim
