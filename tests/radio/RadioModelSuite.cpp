// What holds for every radio model, run once per model: .dat files keep what
// the program does not interpret, and the clone link against the simulated
// radio over a real pseudo-terminal moves exactly the radio's ranges, keeps
// the document or the radio's unsent blocks on every fault, honours a cancel
// and refuses a busy or missing port.
//
// The expected wire bytes and ranges are written out here for each radio, not
// taken from the programmer's protocol description, so that the suite checks
// the description rather than repeating it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "model16/Model16.h"
#include "model199/Model199.h"
#include "platform/SerialPort.h"
#include "radio/ChannelCsv.h"
#include "radio/CloneLink.h"
#include "radio/DatFile.h"
#include "radio/Frequency.h"
#include "radio/MemoryGrid.h"
#include "radio/RadioModel.h"
#include "radiosim/SimulatedRadio.h"
#include "support/CloneTestKit.h"
#include "support/TempDir.h"

namespace varo::radio {
namespace {

using test::Bytes;
using Outcome = CloneLink::Outcome;
using radiosim::Fault;

// One radio as the suite expects it.
struct RadioCase {
  const char* name;
  const RadioModel* model;
  // What the programmer sends to wake the radio, up to and including its
  // acknowledge of the identification.
  Bytes handshake;
  std::vector<AddressSpan> readRanges;
  std::vector<AddressSpan> writeRanges;
  std::optional<AddressSpan> finalWrite;  // a short frame after the blocks
  int readBlocks;
  int writeBlocks;
  // The bits of the byte at `offset` that open and save, with the table in
  // between, must leave as they were: those the table does not stand for.
  int (*keptBits)(std::size_t offset);
  // The bits of the radio-wide settings at `offset` (Optional Features and
  // the like, not the product type and band): what a plan file carries
  // besides the table.
  int (*optionBits)(std::size_t offset);
  // The identification the radio sends, given its memory.
  Bytes (*identification)(const Bytes& memory);
};

void PrintTo(const RadioCase& c, std::ostream* os) { *os << c.name; }


// The 16-channel radio: everything outside the records and the scan maps;
// record bytes 14 and 15, bits 7-5 and 2-0 of byte 12 (busy lock is bits
// 4-3), bits 7-6 and 3-0 of byte 13 (width and power are bits 5-4).
int Kept16(std::size_t offset) {
  if (offset == 0x17E || offset == 0x17F) return 0x00;
  if (offset < 0x010 || offset >= 0x110) return 0xFF;
  const std::size_t at = (offset - 0x010) % 16;
  return at < 12 ? 0x00 : at == 12 ? 0xE7 : at == 13 ? 0xCF : 0xFF;
}

// 0x12F-0x13B as Optional Features uses them, the scan settings 0x160-0x168,
// the VOX and scan function switches at 0x3C7 and the call tone at 0x3F0.
int Options16(std::size_t offset) {
  switch (offset) {
    case 0x12F: return 0x03;
    case 0x130: return 0x7F;
    case 0x131: case 0x134: return 0x0F;
    case 0x135: case 0x136: return 0x01;
    case 0x13A: return 0x1F;
    case 0x13B: return 0x07;
    case 0x3C7: return 0x03;
    case 0x3F0: return 0xFF;
    default: return offset >= 0x160 && offset <= 0x168 ? 0xFF : 0x00;
  }
}

const RadioCase& Radio16Case() {
  static const RadioCase c{
      "Radio16",
      &model16::Model16(),
      {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M', 0x02, 0x06},
      {{0x000, 0x3F8}},
      {{0x000, 0x3E0}},
      AddressSpan{0x3F0, 0x3F1},
      63,
      62,
      Kept16,
      Options16,
      // The model identifier and the two bytes after it.
      [](const Bytes& memory) { return Bytes(memory.begin() + 0x1B8, memory.begin() + 0x1C0); },
  };
  return c;
}

// The 199-channel radio: everything but the 200 records (0x0000-0x0C7F) and
// the names (0x0C90-0x12CF); record bytes 13-15 and bits 7-6 and 2-0 of byte
// 12 (power is bits 5-4, channel lock bit 3).
int Kept199(std::size_t offset) {
  if (offset < 0x0C80) {
    const std::size_t at = offset % 16;
    return at < 12 ? 0x00 : at == 12 ? 0xC7 : 0xFF;
  }
  return offset >= 0x0C90 && offset < 0x12D0 ? 0x00 : 0xFF;
}

// The settings block as Optional Features uses it: Beep is bit 0 of 0x1FC0,
// 0x1FE1 bits 7-1, 0x1FE2 bits 6, 5 and 1-0; the rest are whole bytes.
int Options199(std::size_t offset) {
  switch (offset) {
    case 0x1FC0: return 0x01;
    case 0x1FC1: case 0x1FC3: case 0x1FE0: case 0x1FE4: case 0x1FE5: case 0x1FE6: case 0x1FE7:
      return 0xFF;
    case 0x1FE1: return 0xFE;
    case 0x1FE2: return 0x63;
    default: return 0x00;
  }
}

const RadioCase& Radio199Case() {
  static const RadioCase c{
      "Radio199",
      &model199::Model199(),
      {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M', 0x02, 0x06},
      {{0x0000, 0x12D0}, {0x1FC0, 0x2000}},
      {{0x0000, 0x12D0}, {0x1FC0, 0x2000}},
      std::nullopt,
      305,
      305,
      Kept199,
      Options199,
      [](const Bytes&) { return Bytes{'V', '1', '9', '9', 'V', '3', 0x00, 0x01}; },
  };
  return c;
}

std::vector<std::size_t> FrameAddresses(const std::vector<AddressSpan>& ranges) {
  std::vector<std::size_t> frames;
  for (const AddressSpan& r : ranges)
    for (std::size_t a = r.begin; a < r.end; a += 8) frames.push_back(a);
  return frames;
}

bool Inside(const std::vector<AddressSpan>& ranges, std::size_t offset) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [offset](const AddressSpan& r) { return offset >= r.begin && offset < r.end; });
}

// The radio under test, its simulator and the link's surroundings.
class RadioBench {
 protected:
  explicit RadioBench(const RadioCase& radio) : radio_case_(radio) {}
  const RadioCase& Radio() const { return radio_case_; }
  const RadioModel& Model() const { return *radio_case_.model; }
  std::size_t Size() const { return Model().imageSize; }

  // Distinct contents for the radio and the document, so that every byte
  // shows where it came from.
  Bytes RadioContents() const {
    Bytes b(Size());
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return b;
  }
  MemoryImage DocumentContents() const { return test::DistinctImage(Size()); }

  void StartRadio(Fault fault = {}) {
    std::string error;
    ASSERT_TRUE(rig_.StartRadio(radiosim::MakeRadioModel(Model().name, fault), error)) << error;
    ASSERT_TRUE(rig_.radio->SetMemory(RadioContents()));
  }
  Outcome Read(MemoryImage& image, const std::string& path = "") {
    return CloneLink(rig_.port, rig_.host, *Model().protocol)
        .Read(path.empty() ? rig_.radio->PortPath() : path, image);
  }
  Outcome Write(const MemoryImage& image, const std::string& path = "") {
    return CloneLink(rig_.port, rig_.host, *Model().protocol)
        .Write(path.empty() ? rig_.radio->PortPath() : path, image);
  }

  // What the programmer sends during a read that fetches `frames` frames.
  Bytes ReadStream(std::size_t frames) const {
    Bytes s = Radio().handshake;
    const std::vector<std::size_t> addresses = FrameAddresses(Radio().readRanges);
    for (std::size_t f = 0; f < frames; ++f) {
      const std::size_t a = addresses[f];
      s.insert(s.end(), {'R', static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a), 8,
                         0x06});
    }
    return s;
  }
  // What the programmer sends during a complete write of `doc`.
  Bytes WriteStream(const MemoryImage& doc) const {
    Bytes s = Radio().handshake;
    for (std::size_t a : FrameAddresses(Radio().writeRanges)) {
      s.insert(s.end(), {'W', static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a), 8});
      s.insert(s.end(), doc.bytes.begin() + static_cast<std::ptrdiff_t>(a),
               doc.bytes.begin() + static_cast<std::ptrdiff_t>(a + 8));
    }
    if (const auto& f = Radio().finalWrite) {
      s.insert(s.end(), {'W', static_cast<std::uint8_t>(f->begin >> 8),
                         static_cast<std::uint8_t>(f->begin), static_cast<std::uint8_t>(f->size())});
      s.insert(s.end(), doc.bytes.begin() + static_cast<std::ptrdiff_t>(f->begin),
               doc.bytes.begin() + static_cast<std::ptrdiff_t>(f->end));
    }
    return s;
  }
  // The frames of a complete write: the blocks, then the final frame.
  std::size_t WriteFrames() const {
    return FrameAddresses(Radio().writeRanges).size() + (Radio().finalWrite ? 1 : 0);
  }
  // Channels as the editor makes them, the same choices in an English and a
  // Chinese table: frequencies in `band` on either raster, list entries (in
  // the codec's spelling where it has a word of its own), texts the radio can
  // store; about a third of the rows without frequencies and settings.
  std::vector<MemoryGrid> RandomChannels(std::mt19937& random, BandLimits band) const {
    const TableSpec& table = *Model().table;
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random()) % n; };
    std::vector<MemoryGrid> grids(2, MemoryGrid(table.Rows(), table.Cols()));
    for (long row = 1; row < table.Rows(); ++row) {
      const bool programmed = pick(3) != 0;
      for (long col = 1; col < table.Cols(); ++col) {
        const ColumnSpec& column = table.Column(col);
        std::string text;
        std::size_t entry = 0;
        if (column.editor == EditorKind::kFrequency && programmed) {
          const std::int32_t step = pick(2) ? 500 : 625;
          text = FrequencyText(band.lower + step * static_cast<std::int32_t>(
                                                    pick(static_cast<std::size_t>((band.upper - band.lower) / step))));
        } else if (column.editor == EditorKind::kDropDown && programmed) {
          entry = pick(column.entriesEnglish.size()) + 1;
        } else if (column.editor == EditorKind::kText) {
          for (std::size_t n = pick(static_cast<std::size_t>(column.storedLength) + 1); n > 0; --n)
            text += column.storedCharacters[pick(column.storedCharacters.size())];
        }
        for (bool chinese : {false, true}) {
          if (entry) text = column.Entries(chinese)[entry - 1];
          for (const Texts& word : table.words)
            if (entry && chinese && word.english == column.entriesEnglish[entry - 1]) text = word.chinese;
          grids[chinese].SetTextMatrix(row, col, text);
        }
      }
    }
    return grids;
  }

  // The radio's memory after it took the first `frames` write frames of `doc`;
  // every other byte is as it was.
  Bytes RadioAfterWrite(const MemoryImage& doc, std::size_t frames) const {
    Bytes radio = RadioContents();
    const std::vector<std::size_t> addresses = FrameAddresses(Radio().writeRanges);
    for (std::size_t f = 0; f < frames && f < addresses.size(); ++f)
      std::copy_n(doc.bytes.begin() + static_cast<std::ptrdiff_t>(addresses[f]), 8,
                  radio.begin() + static_cast<std::ptrdiff_t>(addresses[f]));
    if (frames > addresses.size() && Radio().finalWrite) {
      for (std::size_t i = Radio().finalWrite->begin; i < Radio().finalWrite->end; ++i)
        radio[i] = doc[i];
    }
    return radio;
  }

  const RadioCase& radio_case_;
  test::SimulatedLinkRig rig_;
};

class RadioModelTest : public ::testing::TestWithParam<RadioCase>, public RadioBench {
 protected:
  RadioModelTest() : RadioBench(GetParam()) {}
};

// Open and save with the table in between keep every bit the table does not
// stand for, for any contents; a second round changes nothing at all.
TEST_P(RadioModelTest, DatRoundTripKeepsWhatIsNotInterpreted) {
  test::TempDir dir;
  std::mt19937 random(20240611);
  for (int trial = 0; trial < 10; ++trial) {
    std::string bytes(Size(), '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    const std::string path = dir.Write("radio.dat", bytes);
    for (bool chinese : {false, true}) {
      std::string saved;
      for (int round = 0; round < 2; ++round) {
        MemoryImage image = Model().newImage();
        ASSERT_EQ(LoadDatFile(path, image.data(), Size()), DatFileError::kNone);
        MemoryGrid grid(Model().table->Rows(), Model().table->Cols());
        Model().imageToTable(image, grid, chinese);
        Model().tableToImage(grid, image);
        ASSERT_EQ(SaveDatFile(path, image.data(), Size()), DatFileError::kNone);
        const std::string now = dir.Read("radio.dat");
        ASSERT_EQ(now.size(), Size());
        if (round == 1) {
          EXPECT_EQ(now, saved) << "trial " << trial << ": a second round changed";
        }
        saved = now;
      }
      for (std::size_t i = 0; i < Size(); ++i) {
        const int kept = Radio().keptBits(i);
        ASSERT_EQ(static_cast<std::uint8_t>(saved[i]) & kept, static_cast<std::uint8_t>(bytes[i]) & kept)
            << "trial " << trial << " offset " << i << (chinese ? " zh" : " en");
      }
      dir.Write("radio.dat", bytes);
    }
  }
}

// A channel plan file carries every bit the table and the options stand
// for: a random document whose channels the editor takes, exported and
// imported into a document of random bytes, gives that document the first
// one's channels and options as the program saves them, and leaves every
// other bit of it as it was.
TEST_P(RadioModelTest, CsvRoundTripKeepsEveryInterpretedByte) {
  std::mt19937 random(20240612);
  const BandLimits band{13600000, 17400000};
  auto randomBytes = [&] {
    MemoryImage image(Size());
    for (auto& b : image.bytes) b = static_cast<std::uint8_t>(random());
    return image;
  };
  // Bits an import may set: the table's and the options'.
  std::vector<std::uint8_t> carried(Size());
  for (std::size_t a = 0; a < Size(); ++a)
    carried[a] = static_cast<std::uint8_t>(~Radio().keptBits(a) | Radio().optionBits(a));
  for (int trial = 0; trial < 10; ++trial) {
    // Channels as the editor makes them, over random bytes.
    MemoryImage plan = randomBytes();
    MemoryGrid grid = RandomChannels(random, band).front();
    Model().tableToImage(grid, plan);
    MemoryImage saved = plan;  // as the program saves it
    Model().imageToTable(plan, grid, false);
    Model().tableToImage(grid, saved);

    const std::string csv = ExportCsv(Model(), plan);
    for (bool chinese : {false, true}) {
      const MemoryImage other = randomBytes();
      MemoryImage imported = other;
      const CsvImport result = ImportCsvIntoImage(Model(), csv, band, chinese, imported);
      ASSERT_TRUE(result.Ok()) << trial << ": " << result.problems.front().text;
      EXPECT_TRUE(result.options);
      for (std::size_t a = 0; a < Size(); ++a) {
        const auto expected = static_cast<std::uint8_t>((saved[a] & carried[a]) | (other[a] & ~carried[a]));
        ASSERT_EQ(imported[a], expected) << "trial " << trial << " at " << a;
      }
      EXPECT_EQ(ExportCsv(Model(), imported), csv) << trial;
    }
  }
}

// Tables filled from the editors' lists in either language store the same
// image, and that image reads back as either table.
TEST_P(RadioModelTest, EditorTextsInEitherLanguageStoreTheSameImage) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 5; ++trial) {
    const std::vector<MemoryGrid> grids = RandomChannels(random, {13600000, 47000000});
    MemoryImage images[] = {Model().newImage(), Model().newImage()};
    for (bool chinese : {false, true}) Model().tableToImage(grids[chinese], images[chinese]);
    EXPECT_EQ(images[0], images[1]) << "trial " << trial;
    for (bool chinese : {false, true}) {
      MemoryGrid back(grids[0].Rows(), grids[0].Cols());
      Model().imageToTable(images[0], back, chinese);
      for (long row = 1; row < back.Rows(); ++row)
        for (long col = 1; col < back.Cols(); ++col)
          ASSERT_EQ(back.TextMatrix(row, col), grids[chinese].TextMatrix(row, col))
              << "trial " << trial << " row " << row << " col " << col << (chinese ? " zh" : " en");
    }
  }
}

TEST_P(RadioModelTest, ReadReplacesTheReadRangesOnly) {
  StartRadio();
  MemoryImage image = DocumentContents();
  ASSERT_EQ(Read(image), Outcome::kCompleted);
  MemoryImage expected = DocumentContents();
  for (std::size_t i = 0; i < Size(); ++i)
    if (Inside(Radio().readRanges, i)) expected[i] = RadioContents()[i];
  EXPECT_EQ(image, expected);
  EXPECT_EQ(rig_.radio->Received(), ReadStream(FrameAddresses(Radio().readRanges).size()));
  EXPECT_EQ(rig_.host.progress.size(), static_cast<std::size_t>(Radio().readBlocks));
  EXPECT_EQ(Model().protocol->ReadBlocks(), Radio().readBlocks);
  EXPECT_TRUE(rig_.host.messages.empty());
  EXPECT_FALSE(rig_.port.IsOpen());
}

TEST_P(RadioModelTest, WriteSendsTheWriteRangesOnly) {
  StartRadio();
  const MemoryImage doc = DocumentContents();
  ASSERT_EQ(Write(doc), Outcome::kCompleted);
  EXPECT_EQ(rig_.radio->Received(), WriteStream(doc));
  EXPECT_EQ(rig_.radio->Memory(), RadioAfterWrite(doc, WriteFrames()));
  EXPECT_EQ(rig_.radio->CompletedWrites(), 1);
  EXPECT_EQ(rig_.host.progress.size(), static_cast<std::size_t>(Radio().writeBlocks));
  EXPECT_EQ(Model().protocol->WriteBlocks(), Radio().writeBlocks);
  EXPECT_TRUE(rig_.host.messages.empty());
  EXPECT_FALSE(rig_.port.IsOpen());
}

// A fault frame named by its place in the transfer, not by its number.
enum class At { kNone, kFrame7, kFrame33, kFrame40, kFirstOfLastRange, kLast };

struct FaultCase {
  const char* name;
  bool write;
  Fault::Kind kind;
  At at;
  int message;
  Outcome outcome;
  int retries = 0;  // Retry answers to 61451; each starts the handshake again
};

// clang-format off
constexpr bool kRead = false, kWrite = true;
constexpr int k61451 = kMsgCommunicationError, k61454 = kMsgProgramInterrupt;
constexpr Outcome kNoHandshake = Outcome::kHandshakeFailed, kBroken = Outcome::kInterrupted;
using K = Fault::Kind;
const FaultCase kFaultCases[] = {
  // name                          direction kind            where                message outcome    retries
  {"ReadSilent",                   kRead,  K::kSilent,     At::kNone,             k61451, kNoHandshake},
  {"ReadGarbageRetried",           kRead,  K::kGarbage,    At::kNone,             k61451, kNoHandshake, 2},
  {"ReadShortReply",               kRead,  K::kShortReply, At::kFrame40,          k61454, kBroken},
  {"ReadNoAckAtLastFrame",         kRead,  K::kNoAck,      At::kLast,             k61454, kBroken},
  {"ReadVanish",                   kRead,  K::kVanish,     At::kFrame7,           k61454, kBroken},
  {"WriteGarbage",                 kWrite, K::kGarbage,    At::kNone,             k61451, kNoHandshake},
  {"WriteNoAck",                   kWrite, K::kNoAck,      At::kFrame33,          k61454, kBroken},
  {"WriteNoAckAtLastRange",        kWrite, K::kNoAck,      At::kFirstOfLastRange, k61454, kBroken},
  {"WriteStall",                   kWrite, K::kStall,      At::kFrame40,          k61454, kBroken},
  {"WriteVanishAtFirstFrame",      kWrite, K::kVanish,     At::kFrame7,           k61454, kBroken},
  {"WriteLastFrameNotTaken",       kWrite, K::kShortReply, At::kLast,             k61454, kBroken},
};
// clang-format on

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class RadioFaultTest : public ::testing::TestWithParam<std::tuple<RadioCase, FaultCase>>,
                       public RadioBench {
 protected:
  RadioFaultTest() : RadioBench(std::get<0>(GetParam())) {}
  const FaultCase& Case() const { return std::get<1>(GetParam()); }

  // The frame number `at` names in a read or write of this radio.
  int FrameOf(At at, bool write) const {
    const auto& ranges = write ? Radio().writeRanges : Radio().readRanges;
    const std::size_t blockFrames = FrameAddresses(ranges).size();
    const std::size_t frames = blockFrames + (write && Radio().finalWrite ? 1 : 0);
    switch (at) {
      case At::kNone: return 0;
      case At::kFrame7: return 7;
      case At::kFrame33: return 33;
      case At::kFrame40: return 40;
      case At::kLast: return static_cast<int>(frames - 1);
      case At::kFirstOfLastRange: return static_cast<int>(blockFrames - ranges.back().size() / 8);
    }
    return 0;
  }
};

// Every fault gives its message. A read leaves the document as it was; a write
// leaves the radio holding exactly the frames it acknowledged before the
// fault. Faults are chosen where their time-outs stay short.
TEST_P(RadioFaultTest, GivesItsMessageAndKeepsData) {
  const FaultCase& c = Case();
  const int frame = FrameOf(c.at, c.write);
  StartRadio({c.kind, frame});
  rig_.host.retries = c.retries;
  const MemoryImage doc = DocumentContents();
  MemoryImage image = doc;
  const Outcome outcome = c.write ? Write(doc) : Read(image);

  EXPECT_EQ(outcome, c.outcome);
  EXPECT_EQ(rig_.host.messages, std::vector<int>(static_cast<std::size_t>(c.retries + 1), c.message));
  EXPECT_FALSE(rig_.port.IsOpen());
  if (!c.write) {
    EXPECT_EQ(image, doc);
    return;
  }
  const std::size_t taken = c.outcome == kNoHandshake ? 0 : static_cast<std::size_t>(frame);
  EXPECT_EQ(rig_.radio->Memory(), RadioAfterWrite(doc, taken));
  EXPECT_EQ(rig_.radio->CompletedWrites(), 0);
}

// A cancel seen by the pump after block 5 ends the transfer there: the radio
// got whole blocks only, the document is untouched, no message is shown.
TEST_P(RadioModelTest, CancelEndsAfterTheCurrentBlock) {
  StartRadio();
  rig_.host.cancelAtProgress = 5;
  MemoryImage image = DocumentContents();
  EXPECT_EQ(Read(image), Outcome::kCancelled);
  EXPECT_EQ(image, DocumentContents());
  EXPECT_EQ(rig_.radio->Received(), ReadStream(10));

  rig_.host.progress.clear();
  rig_.host.cancel = false;
  const MemoryImage doc = DocumentContents();
  EXPECT_EQ(Write(doc), Outcome::kCancelled);
  EXPECT_EQ(rig_.radio->Memory(), RadioAfterWrite(doc, 10));
  EXPECT_TRUE(rig_.host.messages.empty());
  EXPECT_FALSE(rig_.port.IsOpen());
}

TEST_P(RadioModelTest, BusyOrMissingPortGivesOpenMessageOnly) {
  StartRadio();
  auto holder = CreateSerialPort();
  ASSERT_TRUE(holder->Open(rig_.radio->PortPath()));

  using Reason = PortOpenError::Reason;
  for (const auto& [path, reason] : {std::pair(rig_.radio->PortPath(), Reason::kBusy),
                                     std::pair(std::string("/nonexistent/ttyVARO"),
                                               Reason::kMissing)}) {
    rig_.host.messages.clear();
    rig_.host.openFailures.clear();
    rig_.trace.clear();
    MemoryImage image = DocumentContents();
    EXPECT_EQ(Read(image, path), Outcome::kPortNotOpened) << path;
    EXPECT_EQ(Write(image, path), Outcome::kPortNotOpened) << path;
    EXPECT_EQ(rig_.host.messages, (std::vector<int>{kMsgPortOpenFailed, kMsgPortOpenFailed})) << path;
    // The host learns why, to tell the user what to do.
    EXPECT_EQ(rig_.host.openFailures, (std::vector<Reason>{reason, reason})) << path;
    EXPECT_EQ(image, DocumentContents());
    // Nothing but the attempts to open: no setting, pump, pause or progress.
    EXPECT_EQ(rig_.trace, (test::Trace{"O", "O"})) << path;
  }
  EXPECT_TRUE(rig_.radio->Received().empty());
}

// The quiet tries of a batch of radios: a device missing or busy, or a radio
// that does not complete its first handshake, is "no radio" without a message
// and without a second try; a radio that answers is probed (no frame) or
// written, and its identification kept.
TEST_P(RadioModelTest, QuietTriesFindARadioOrNone) {
  enum class Call { kProbe, kWriteIfAnswering, kReadAll };
  enum class Port { kRadio, kBusy, kMissing };
  const struct {
    const char* name;
    Fault fault;
    Port port;
    Call call;
    Outcome outcome;
    bool identified;
    std::size_t writeFrames;  // the radio's memory took these write frames
  } cases[] = {
      {"missing", {}, Port::kMissing, Call::kWriteIfAnswering, Outcome::kNoRadio, false, 0},
      {"busy", {}, Port::kBusy, Call::kProbe, Outcome::kNoRadio, false, 0},
      {"garbage", {Fault::Kind::kGarbage, 0}, Port::kRadio, Call::kWriteIfAnswering,
       Outcome::kNoRadio, false, 0},
      {"probe", {}, Port::kRadio, Call::kProbe, Outcome::kCompleted, true, 0},
      {"write", {}, Port::kRadio, Call::kWriteIfAnswering, Outcome::kCompleted, true,
       WriteFrames()},
      {"write breaks", {Fault::Kind::kNoAck, 3}, Port::kRadio, Call::kWriteIfAnswering,
       Outcome::kInterrupted, true, 3},
      {"read", {}, Port::kRadio, Call::kReadAll, Outcome::kCompleted, true, 0},
  };
  const MemoryImage doc = DocumentContents();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartRadio(c.fault);
    rig_.host.messages.clear();
    std::unique_ptr<SerialPort> holder = CreateSerialPort();
    if (c.port == Port::kBusy) {
      ASSERT_TRUE(holder->Open(rig_.radio->PortPath()));
    }
    const std::string path =
        c.port == Port::kMissing ? std::string("/nonexistent/ttyVARO") : rig_.radio->PortPath();
    CloneLink link(rig_.port, rig_.host, *Model().protocol);
    MemoryImage image = doc;
    const Outcome outcome = c.call == Call::kProbe ? link.Probe(path)
                            : c.call == Call::kReadAll ? link.Read(path, image)
                                                    : link.WriteIfAnswering(path, doc);
    EXPECT_EQ(outcome, c.outcome);
    // Only a radio that answered and then failed shows a message.
    EXPECT_EQ(rig_.host.messages.size(), c.outcome == Outcome::kInterrupted ? 1u : 0u);
    EXPECT_EQ(link.LastIdentification().has_value(), c.identified);
    if (c.identified) {
      EXPECT_EQ(*link.LastIdentification(), Radio().identification(RadioContents()));
    }
    if (c.call == Call::kProbe && c.identified) {
      EXPECT_EQ(rig_.radio->Received(), Radio().handshake);
    }
    // A garbled radio gets one try, not the fifteen of a handshake.
    if (c.fault.kind == Fault::Kind::kGarbage) {
      const Bytes received = rig_.radio->Received();
      EXPECT_EQ(std::count(received.begin(), received.end(), 'P'), 1);
    }
    EXPECT_EQ(rig_.radio->Memory(), RadioAfterWrite(doc, c.writeFrames));
    EXPECT_FALSE(rig_.port.IsOpen());
  }
}

INSTANTIATE_TEST_SUITE_P(Radios, RadioModelTest, ::testing::Values(Radio16Case(), Radio199Case()),
                         [](const ::testing::TestParamInfo<RadioCase>& p) {
                           return std::string(p.param.name);
                         });

INSTANTIATE_TEST_SUITE_P(Radios, RadioFaultTest,
                         ::testing::Combine(::testing::Values(Radio16Case(), Radio199Case()),
                                            ::testing::ValuesIn(kFaultCases)),
                         [](const auto& p) {
                           return std::string(std::get<0>(p.param).name) + "_" +
                                  std::get<1>(p.param).name;
                         });

}  // namespace
}  // namespace varo::radio
