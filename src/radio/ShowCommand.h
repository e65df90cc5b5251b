#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "radio/RadioModel.h"

namespace varo::radio {

// varo-cli show [--lang en|zh] [--ini PROGRAM.ini] [--tsv] FILE.dat
//
// Opens FILE.dat as the radio's programmer opens a document and prints the
// channel table as it would show it: the header row, then the channel rows.
// The radio is the one of `models` whose memory size is the file's size; a
// file of another size is refused as too short for the smallest radio memory
// it falls short of, and one longer than every radio's is read as the
// largest radio's memory (the rest ignored). With --tsv the cells are
// separated by one TAB, one row per line, and nothing else is printed to
// `out`; otherwise the columns are padded to line up and the product type,
// band, band limits and the options follow.
//
// The program INI defaults to the radio's own ("Varo16.ini", "Varo199V3.ini")
// in the program directory; the language is --lang, else Chinese when the INI's
// "Setup"/"Language" is "Chinese". Opening a file clears the new-document
// flag, so, as in the programmer, the file's product type and band are
// written to the registry.
//
// `args` are the words after "show". Returns the exit status: 0 on success,
// 1 when the file cannot be shown (message on `err`), 2 on a usage error.
int RunShow(const std::vector<std::string>& args, const std::vector<const RadioModel*>& models,
            std::ostream& out, std::ostream& err);

}  // namespace varo::radio
