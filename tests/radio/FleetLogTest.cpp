// The log of a batch of radios: its lines, how they are appended, and the
// time stamps.
#include "radio/FleetLog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

namespace varo::radio {
namespace {

const std::string kHeader = std::string(kFleetLogHeader) + "\n";

FleetRecord Record(bool ok, std::string file, std::string reason) {
  return {"2025-03-14T09:26:53+01:00", ok, {0x4B, 0x37, 0x31, 0x36, 0x30, 0x35, 0x00, 0x03},
          std::move(file), std::string(64, 'a'), std::move(reason)};
}

// Each record is one line; fields that would break the line apart are quoted,
// and what is read back is what was written.
TEST(FleetLogTest, LinesQuoteWhatTheyMustAndReadBack) {
  const std::string sha(64, 'a');
  const struct {
    FleetRecord record;
    std::string line;
  } cases[] = {
      {Record(true, "/home/ann/fire.dat", ""),
       "2025-03-14T09:26:53+01:00,ok,4B37313630350003,/home/ann/fire.dat," + sha + ",\n"},
      {Record(false, "/home/ann/a,b.dat", "Write: Program Interrupt, Please reset"),
       "2025-03-14T09:26:53+01:00,failed,4B37313630350003,\"/home/ann/a,b.dat\"," + sha +
           ",\"Write: Program Interrupt, Please reset\"\n"},
      {Record(false, "say \"hi\"\nnext.dat", "核对：电台与文档有 2 处不同"),
       "2025-03-14T09:26:53+01:00,failed,4B37313630350003,\"say \"\"hi\"\"\nnext.dat\"," + sha +
           ",核对：电台与文档有 2 处不同\n"},
  };
  std::string log = kHeader;
  std::vector<FleetRecord> records;
  for (const auto& c : cases) {
    EXPECT_EQ(FleetLogLine(c.record), c.line);
    log += c.line;
    records.push_back(c.record);
  }
  // A radio that sent no identification, and lines that are no records.
  FleetRecord silent = Record(false, "x.dat", "Stopped during the write");
  silent.identification.clear();
  log += FleetLogLine(silent) + "\n" + "2025,maybe,00,x,y,z\n" + "a,ok,XYZ,x,y,z\n";
  records.push_back(silent);
  EXPECT_EQ(ParseFleetLog(log), records);
}

// A new log (in a new folder) starts with the header; each append adds one
// line after what is there, never changing it; a last line left without its
// end is ended first.
TEST(FleetLogTest, AppendsAfterWhatIsThere) {
  test::TempDir dir;
  const std::string path = dir.File("data/varo/fleet-log.csv");
  const FleetRecord a = Record(true, "a.dat", ""), b = Record(false, "b.dat", "why");
  std::string error;
  ASSERT_TRUE(AppendFleetLog(path, a, error)) << error;
  ASSERT_TRUE(AppendFleetLog(path, b, error)) << error;
  EXPECT_EQ(dir.Read("data/varo/fleet-log.csv"), kHeader + FleetLogLine(a) + FleetLogLine(b));

  const std::string kept = "time,outcome\nhalf a line";
  dir.Write("old.csv", kept);
  ASSERT_TRUE(AppendFleetLog(dir.File("old.csv"), a, error)) << error;
  EXPECT_EQ(dir.Read("old.csv"), kept + "\n" + FleetLogLine(a));

  // A folder that cannot be made, or a log that may not be written: the
  // reason, and nothing changed.
  dir.Write("file", "");
  EXPECT_FALSE(AppendFleetLog(dir.File("file/fleet-log.csv"), a, error));
  EXPECT_NE(error.find(dir.File("file")), std::string::npos) << error;
  if (::geteuid() != 0) {
    ::chmod(dir.File("old.csv").c_str(), 0444);
    error.clear();
    EXPECT_FALSE(AppendFleetLog(dir.File("old.csv"), b, error));
    EXPECT_NE(error.find("old.csv"), std::string::npos) << error;
    EXPECT_EQ(dir.Read("old.csv"), kept + "\n" + FleetLogLine(a));
  }
}

// Programs logging at the same time into a log that does not exist yet: one
// header, and every line whole.
TEST(FleetLogTest, SimultaneousAppendsKeepLinesWhole) {
  test::TempDir dir;
  const std::string path = dir.File("fleet-log.csv");
  constexpr int kWriters = 4, kLines = 100;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      const FleetRecord r = Record(w % 2 == 0, "writer" + std::to_string(w) + ".dat",
                                   w % 2 == 0 ? "" : std::string(300, 'x'));
      std::string error;
      for (int i = 0; i < kLines; ++i) ASSERT_TRUE(AppendFleetLog(path, r, error)) << error;
    });
  }
  for (std::thread& t : writers) t.join();
  const std::string log = dir.Read("fleet-log.csv");
  ASSERT_EQ(log.rfind(kHeader, 0), 0u);
  EXPECT_EQ(log.find(kHeader, 1), std::string::npos);
  EXPECT_EQ(ParseFleetLog(log).size(), std::size_t{kWriters * kLines});
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), kWriters * kLines + 1);
}

TEST(FleetLogTest, LocalTimeWithItsOffset) {
  const char* saved = std::getenv("TZ");
  const std::string old = saved ? saved : "";
  const struct {
    const char* zone;
    const char* text;
  } cases[] = {
      {"UTC0", "2023-11-14T22:13:20+00:00"},
      {"CET-1", "2023-11-14T23:13:20+01:00"},
      {"NST+3:30", "2023-11-14T18:43:20-03:30"},
  };
  for (const auto& c : cases) {
    ::setenv("TZ", c.zone, 1);
    ::tzset();
    EXPECT_EQ(LocalTimeText(1700000000), c.text) << c.zone;
  }
  saved ? ::setenv("TZ", old.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
  EXPECT_EQ(HexBytes({0x00, 0x0F, 0xA5}), "000FA5");
}

}  // namespace
}  // namespace varo::radio
