// A batch of radios against simulated fleets behind a symbolic link that
// goes and comes back, as a USB cable replugged: each radio written, read
// back and logged; a failing radio marked with its reason while the batch goes
// on; a radio still connected never taken for the next; stops.
#include "radio/Fleet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model16/Model16.h"
#include "model199/Model199.h"
#include "platform/SerialPort.h"
#include "platform/Sha256.h"
#include "radio/ImageCompare.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"
#include "support/CloneTestKit.h"
#include "support/TempDir.h"

namespace varo::radio {
namespace {

using radiosim::Fault;
using Reason = PortOpenError::Reason;

// Notes what the batch tells; stops when `stopWhen` says so; wants the next
// radio once `nextAfter` polls have passed.
struct NotingObserver : FleetObserver {
  void PhaseChanged(FleetPhase phase, int number, const PortOpenError& port) override {
    phases.push_back({phase, number, port.reason});
  }
  void Progress(int position, int) override { progress = position; }
  bool StopRequested() override { return stopWhen && stopWhen(); }
  bool NextWanted() override { return ++nextPolls > nextAfter; }
  // The link's pauses of a millisecond or two are for real radios.
  void Sleep(unsigned ms) override {
    if (ms > 2) FleetObserver::Sleep(ms);
  }

  struct Phase {
    FleetPhase phase;
    int number;
    Reason reason;
  };
  std::vector<Phase> phases;
  int progress = 0;
  std::function<bool()> stopWhen;
  int nextAfter = 0;
  int nextPolls = 0;

  int Count(FleetPhase phase, Reason reason = Reason::kNone) const {
    return static_cast<int>(std::count_if(phases.begin(), phases.end(), [&](const Phase& p) {
      return p.phase == phase && p.reason == reason;
    }));
  }
};

// A simulated radio (or fleet) behind a link in a folder of its own, the
// port, the observer, and a job writing a plan into it, logged there.
class FleetBench : public ::testing::Test {
 protected:
  // How long the simulated cable stays without a radio between two radios.
  // The batch must look at the cable within that time, or it takes the next
  // radio for the last one still connected and waits for it to go: long
  // enough for a loaded machine under the sanitizers, where comparing a
  // failed 199-channel radio and logging it took longer than 150 ms.
  static constexpr unsigned kGapMs = 1000;

  void StartRadio(std::unique_ptr<radiosim::RadioModel> model) {
    radiosim::SimOptions options;
    options.linkPath = link_;
    options.fleetGapMs = kGapMs;
    std::string error;
    ASSERT_TRUE(rig_.StartRadio(std::move(model), error, options)) << error;
  }
  FleetJob Job(const RadioModel& model) const {
    FleetJob job;
    job.model = &model;
    job.plan = test::DistinctImage(model.imageSize);
    job.file = "/plans/fire brigade.dat";
    job.device = link_;
    job.logPath = dir_.File("data/varo/fleet-log.csv");
    job.probeIntervalMs = 20;
    job.removalIntervalMs = 20;
    return job;
  }

  test::TempDir dir_;
  std::string link_ = dir_.File("ttyFLEET");
  test::SimulatedLinkRig rig_;
  std::unique_ptr<SerialPort> port_ = CreateSerialPort();
  NotingObserver observer_;
};

// Five radios, the third failing; the batch goes on, every radio is logged
// with its own identification, and the fleet's radios hold what the batch
// says they hold.
TEST_F(FleetBench, FiveRadiosTheThirdFailing) {
  const struct {
    const char* name;
    const RadioModel& model;
    Fault fault;
    const char* reason;  // how the third radio's reason begins
  } cases[] = {
      {"16, a write frame lost", model16::Model16(), {Fault::Kind::kLose, 2},
       "Verify: The radio differs from the document in "},
      {"16, a write frame refused", model16::Model16(), {Fault::Kind::kNoAck, 5},
       "Write: Program Interrupt, Please reset the radio and try again"},
      {"199, a write frame lost", model199::Model199(), {Fault::Kind::kLose, 2},
       "Verify: The radio differs from the document in "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    observer_.phases.clear();
    // A batch waiting for ever fails here instead of hanging the test.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(45);
    observer_.stopWhen = [giveUp] { return std::chrono::steady_clock::now() > giveUp; };
    radiosim::RadioConfig config =
        c.model.name == "16" ? radiosim::Radio16Config() : radiosim::Radio199Config();
    StartRadio(std::make_unique<radiosim::FleetRadio>(config, 5, c.fault, 3));
    const FleetJob job = Job(c.model);
    std::filesystem::remove(job.logPath);
    FleetBatch batch(*port_, observer_, job);
    std::vector<FleetRecord> records;
    for (int n = 1; n <= 5; ++n) {
      const std::optional<FleetResult> result = batch.ProgramNext();
      ASSERT_TRUE(result) << n;
      EXPECT_EQ(result->number, n);
      EXPECT_EQ(result->record.ok, n != 3) << n << ": " << result->record.reason;
      EXPECT_EQ(result->record.reason.rfind(n == 3 ? c.reason : "", 0), 0u) << result->record.reason;
      EXPECT_EQ(result->shownReason, result->record.reason);
      EXPECT_EQ(result->logError, "");
      // The radio's own identification, ending in its number in the fleet.
      std::vector<std::uint8_t> id = config.fixedIdentification;
      if (id.empty()) id.assign(config.memory.begin() + 0x1B8, config.memory.begin() + 0x1C0);
      id[6] = 0;
      id[7] = static_cast<std::uint8_t>(n);
      EXPECT_EQ(result->record.identification, id);
      EXPECT_EQ(result->record.file, job.file);
      EXPECT_EQ(result->record.sha256, Sha256::Hex(job.plan.data(), job.plan.size()));
      records.push_back(result->record);
    }
    EXPECT_EQ(dir_.Read("data/varo/fleet-log.csv").rfind(std::string(kFleetLogHeader) + "\n", 0), 0u);
    EXPECT_EQ(ParseFleetLog(dir_.Read("data/varo/fleet-log.csv")), records);
    // Between radios the device went away: "no radio yet", not an error.
    EXPECT_GE(observer_.Count(FleetPhase::kAwaitRadio, Reason::kMissing), 4);
    EXPECT_EQ(observer_.Count(FleetPhase::kWriting), 5);
    EXPECT_EQ(observer_.Count(FleetPhase::kVerifying), c.fault.kind == Fault::Kind::kLose ? 5 : 4);
    // Each radio unplugged holds the plan, but the third.
    const std::vector<std::vector<std::uint8_t>> radios = rig_.radio->Unplugged();
    ASSERT_EQ(radios.size(), 5u);
    for (std::size_t i = 0; i < radios.size(); ++i) {
      MemoryImage held(c.model.imageSize);
      held.bytes = radios[i];
      EXPECT_EQ(CompareImages(c.model, job.plan, held, false).Matches(), i != 2) << "radio " << i + 1;
    }
  }
}

// A radio that stays connected after its turn is not the next radio: the
// batch waits for it to go, until stopped, and never writes it again.
TEST_F(FleetBench, ARadioStillConnectedIsNotTheNext) {
  StartRadio(std::make_unique<radiosim::CloneRadio>(radiosim::Radio16Config()));
  FleetBatch batch(*port_, observer_, Job(model16::Model16()));
  ASSERT_TRUE(batch.ProgramNext().has_value());
  observer_.stopWhen = [this] { return observer_.Count(FleetPhase::kAwaitRemoval) > 0; };
  const auto sessions = [this] {
    const std::vector<std::uint8_t> r = rig_.radio->Received();
    return std::count(r.begin(), r.end(), 'M');  // one "PROGRAM" per handshake
  };
  const auto before = sessions();
  EXPECT_FALSE(batch.ProgramNext().has_value());
  EXPECT_EQ(batch.Programmed(), 1);
  EXPECT_EQ(rig_.radio->CompletedWrites(), 1);
  EXPECT_EQ(sessions(), before + 1);  // the look whether it is still there
  EXPECT_EQ(ParseFleetLog(dir_.Read("data/varo/fleet-log.csv")).size(), 1u);
}

// Stop while waiting ends the batch at once, with nothing logged; the next
// radio is not taken before it is wanted; a stop during a write fails that
// radio, in the interface language too.
TEST_F(FleetBench, StopsAndTheNextButton) {
  const struct {
    const char* name;
    bool radio;
    int nextAfter;
    int stopAtBlock;  // 0: stop once waiting for a radio on a missing device
    const char* shown;
  } cases[] = {
      {"while waiting", false, 0, 0, nullptr},
      {"while waiting for Next", false, 3, 0, nullptr},
      {"during the write", true, 0, 4, "写频时已停止，电台中可能只有部分数据"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    observer_ = {};
    if (c.radio) StartRadio(std::make_unique<radiosim::CloneRadio>(radiosim::Radio16Config()));
    observer_.nextAfter = c.nextAfter;
    observer_.stopWhen = [this, &c] {
      return c.stopAtBlock ? observer_.progress >= c.stopAtBlock
                           : observer_.Count(FleetPhase::kAwaitRadio, Reason::kMissing) > 0;
    };
    FleetJob job = Job(model16::Model16());
    if (!c.radio) job.device = dir_.File("ttyNOTHING");
    job.chinese = true;
    FleetBatch batch(*port_, observer_, job);
    const std::optional<FleetResult> result = batch.ProgramNext();
    EXPECT_EQ(observer_.Count(FleetPhase::kAwaitNext), c.nextAfter ? 1 : 0);
    EXPECT_EQ(observer_.nextPolls, c.nextAfter + 1);
    if (!c.shown) {
      EXPECT_FALSE(result.has_value());
      EXPECT_FALSE(std::filesystem::exists(job.logPath));
      continue;
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(result->record.ok);
    EXPECT_EQ(result->record.reason, "Stopped during the write; the radio may hold part of the data");
    EXPECT_EQ(result->shownReason, c.shown);
    EXPECT_EQ(rig_.radio->CompletedWrites(), 0);
    EXPECT_FALSE(batch.ProgramNext().has_value());
  }
}

}  // namespace
}  // namespace varo::radio
