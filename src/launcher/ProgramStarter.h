#pragma once

#include <string>

namespace varo {

// How the launcher starts a programmer. The launcher never looks at the
// answer beyond handing it on: a program that cannot be started fails
// silently. Tests put a recording stand-in here.
class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts the program at `path` detached from us; true when it really started.
  virtual bool Start(const std::string& path) = 0;
};

// Starts programs through the platform layer (StartProgram).
class SystemProgramStarter : public ProgramStarter {
 public:
  bool Start(const std::string& path) override;
};

}  // namespace varo
