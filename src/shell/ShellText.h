#pragma once

#include <QString>

#include <string>

namespace varo::shell {

// The one place where the program's byte strings (INI values, language
// module texts, cell texts) become display strings: valid UTF-8 is read as
// UTF-8, anything else as GBK, the encoding older INI files and modules of
// the suite were written in.
QString FromBytes(const std::string& bytes);

// Display strings back to the bytes the core works with (UTF-8).
std::string ToBytes(const QString& text);

// True when `bytes` is well-formed UTF-8.
bool IsValidUtf8(const std::string& bytes);

}  // namespace varo::shell
