#include "launcher/ProgramStarter.h"

#include "platform/ProgramFiles.h"

namespace varo {

bool SystemProgramStarter::Start(const std::string& path) { return StartProgram(path); }

}  // namespace varo
