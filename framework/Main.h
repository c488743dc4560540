// The module's exported entry point.
#pragma once

#include "framework/RT_ClientServerInterface.h"

// Creates the module's server module for the host's Client and stores its
// IServerModule (counted) in Module; nullptr when it cannot be made. Exported
// undecorated through Tarvik.def.
extern "C" void WINAPI ServerFactory(IServerModule** Module, IClient* Client);
