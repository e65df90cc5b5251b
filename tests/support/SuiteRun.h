#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "radiosim/SimulatedRadio.h"
#include "support/TempDir.h"

namespace varo::test {

// What a program of the suite folder did: its exit status (-1 when it did not
// end normally), standard output and standard error.
struct Ran {
  int status;
  std::string out, err;
};

// Runs `command` (a program of the suite folder and its arguments) with
// `prefix` in front of it (variables of its environment, a wrapper such as
// "timeout", or "cd FOLDER &&").
inline Ran RunSuite(const std::string& command, const std::string& prefix = {}) {
  TempDir dir;
  const std::string line = prefix + " " + VARO_SUITE_DIR + "/" + command + " >" + dir.File("out") +
                           " 2>" + dir.File("err");
  const int status = std::system(line.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir.Read("out"), dir.Read("err")};
}

// A simulated radio serving `model` on a pseudo-terminal of its own; null
// (with the reason as a test failure) when it could not be opened.
inline std::unique_ptr<radiosim::SimulatedRadio> ServingRadio(
    std::unique_ptr<radiosim::RadioModel> model, radiosim::SimOptions options = {}) {
  auto radio = std::make_unique<radiosim::SimulatedRadio>(std::move(model), options);
  std::string error;
  if (!radio->Open(error)) {
    ADD_FAILURE() << error;
    return nullptr;
  }
  radio->Start();
  return radio;
}

}  // namespace varo::test
