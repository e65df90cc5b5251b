#pragma once

#include <QString>

#include <string>

namespace varo::shell {

// The one place where the program's byte strings (INI values, language
// module texts, cell texts) become display strings: valid UTF-8 is read as
// UTF-8, anything else as GBK, the encoding older INI files and modules of
// the suite were written in.
//
// A text can be pieced together from both: a window title joins INI values
// (maybe GBK) with the program's own words (UTF-8). So when the whole text
// is not UTF-8, each run of non-ASCII bytes is judged alone: a run of
// three-byte UTF-8 characters (the form every CJK character takes in UTF-8,
// and one that GBK text practically never matches) is read as UTF-8, any
// other run as GBK.
QString FromBytes(const std::string& bytes);

// Display strings back to the bytes the core works with (UTF-8).
std::string ToBytes(const QString& text);

// True when `bytes` is well-formed UTF-8.
bool IsValidUtf8(const std::string& bytes);

}  // namespace varo::shell
