#pragma once

// The bodies of the fuzz targets. Each takes one input and checks the
// properties its part of the suite promises; it returns "" when they hold,
// else what went wrong. The libFuzzer programs (fuzz/*.cpp, built with
// -DVARO_FUZZ=ON) abort on a non-empty answer; the core tests replay every
// seed and every input that once failed through the same functions, in every
// build.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varo::fuzz {

// INI engine. The input is an INI file's bytes, then a 0x00 byte and the
// values to set, each "section 0x01 key 0x01 value" and ended by 0x00; bit 0
// of the last byte chooses ignore-case. The file is opened, the values are
// set (each reads back at once), saved and opened again: every value set
// reads back as it was set, and the reopened file's text is the text saved.
// Values the format cannot carry (a line break, blanks at either end, a key
// with '=' or beginning like a comment or a section, a value cut at "//",
// TAB ';' or "/*") are left out.
std::string IniRoundTrip(const std::uint8_t* data, std::size_t size);

// Language-module reader: any bytes load without harm, and what loaded can be
// read (every string id has its string, every dialog key its text).
std::string LanguageModuleText(const std::uint8_t* data, std::size_t size);

// .dat documents of every radio model. The first byte chooses the model
// (bits 0-6, modulo the number of models) and the interface language (bit 7);
// the rest is the file. A file shorter than the model's memory does not open
// and leaves the document as it was. Otherwise: load, decode into the channel
// table, encode, save, load again: the saved file is the encoded image byte
// for byte, the reopened table shows every value the first one showed, and a
// second encode changes nothing more.
std::string DatRoundTrip(const std::uint8_t* data, std::size_t size);

// Cell texts as typed. Byte 0 chooses the model (bits 0-6) and language
// (bit 7), byte 1 the column (1 the first after the labels), the rest is the
// text. A programmed channel gets the text through the table editor (an edit
// box's text as typed; a list column's cell text as the codec meets it). A
// frequency the editor accepts is one that can be stored and is shown as it
// reads back after a save; the saved table opens and saves again showing the
// same texts, and from then on no byte changes.
std::string CellText(const std::uint8_t* data, std::size_t size);

struct Target {
  const char* name;  // the folder name under fuzz/corpus and fuzz/regressions
  std::string (*run)(const std::uint8_t* data, std::size_t size);
};

// Every target, in the order above: "ini", "lang", "dat", "cells".
const std::vector<Target>& Targets();

}  // namespace varo::fuzz
