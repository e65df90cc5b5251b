#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace varo::radio {

// The log of the radios a batch programmed ("Write to Several Radios",
// `varo-cli fleet`): one CSV line per radio, appended, never rewritten; the
// programmers and varo-cli write the same format into the same file.
//
//   time,outcome,identification,file,sha256,reason
//   2025-03-14T09:26:53+01:00,ok,4B37313630350001,/home/ann/fire.dat,9f86d0...,
//   2025-03-14T09:28:10+01:00,failed,4B37313630350003,/home/ann/fire.dat,9f86d0...,"Verify: ..."
//
// time       local time of the end of the radio's turn, with the offset
//            from UTC (ISO 8601)
// outcome    "ok" (written, read back and the same as the plan) or "failed"
// identification
//            the bytes the radio sent in its handshake (8), in hex, upper
//            case; fewer digits when the radio sent fewer
// file       the document's file
// sha256     SHA-256 of the memory image written, lower-case hex (for a
//            saved document, what sha256sum prints for its file)
// reason     why the radio failed, in English; empty when it is ok
//
// A field holding a comma, a double quote or a line break is quoted, its
// quotes doubled (RFC 4180). Lines end with "\n"; the text is UTF-8. The
// first line of the file is the header above.
struct FleetRecord {
  std::string time;
  bool ok = false;
  std::vector<std::uint8_t> identification;
  std::string file;
  std::string sha256;
  std::string reason;
  bool operator==(const FleetRecord&) const = default;
};

// The file name of the log in the user's data folder.
inline constexpr char kFleetLogName[] = "fleet-log.csv";
// The first line of the log, without its line end.
inline constexpr char kFleetLogHeader[] = "time,outcome,identification,file,sha256,reason";

// Where the log lives: "$XDG_DATA_HOME/varo/fleet-log.csv".
std::string DefaultFleetLogPath();

// The record as one line of the log, "\n" included.
std::string FleetLogLine(const FleetRecord& record);

// Appends `record` to the log at `path` with one write of the whole line on
// a file opened for appending, so that lines of programs logging at the same
// time never mix. A missing log is made (its folder too) with the header, the
// header and the file appearing together, so two programs starting a log at
// once leave one header. A last line left without its end is ended first.
// False with the reason in `error` when the line could not be added.
bool AppendFleetLog(const std::string& path, const FleetRecord& record, std::string& error);

// The records of a log's text (the header and lines that are no records are
// left out), for showing the log.
std::vector<FleetRecord> ParseFleetLog(const std::string& text);

// `bytes` as hex digits, upper case, without spaces.
std::string HexBytes(const std::vector<std::uint8_t>& bytes);

// `when` in local time, ISO 8601 with the offset: "2025-03-14T09:26:53+01:00".
std::string LocalTimeText(std::time_t when);

}  // namespace varo::radio
