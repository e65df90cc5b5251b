#pragma once

#include <string>
#include <vector>

namespace varo::cli {

// varo-cli export FILE.dat -o FILE.csv
// varo-cli import FILE.csv (--into FILE.dat | --model 16|199) -o OUT.dat [--ini PROGRAM.ini] [--lang en|zh]
// varo-cli diff [--lang en|zh] A.dat B.dat
//
// Export writes the channel plan file of FILE.dat (radio/ChannelCsv.h); "-o -"
// writes it to standard output. Import checks all of FILE.csv against the
// radio of FILE.dat (or a new document of --model) and the band its product
// choice names in the program INI, and writes the document with the file's
// channels and options to OUT.dat; with any problem, each is listed with its
// line on standard error and nothing is written. Diff lists the channels (by
// number and field, as the table shows them), options and other memory in
// which two files of one radio differ.
//
// Exit status: export and import 0 on success, 1 when a file cannot be read
// or written or the plan file has problems, 2 on a usage error; diff 0 when
// the files match, 1 when they differ, 2 on a usage error or a file that
// cannot be compared.
int RunExport(const std::vector<std::string>& args);
int RunImport(const std::vector<std::string>& args);
int RunDiff(const std::vector<std::string>& args);

}  // namespace varo::cli
