#pragma once

#include "client/shell/main/TXMainController.h"

namespace ProgramServices {

// The services the client program gives its main controller: the real monitor
// start, the engine's quota query and the index manager.
TXMainControllerServices programServices();

}  // namespace ProgramServices
