#pragma once

#include "client/shell/TXMainController.h"

// The services the client program gives its main controller: the real monitor
// start, the engine's quota query and the index manager.
TXMainControllerServices programServices();
