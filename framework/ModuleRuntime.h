// The parts of the C++ runtime that the module keeps itself, so that a host can load and
// unload it any number of times in one process.
//
// The statically linked runtime keeps its per-thread exception state in emulated
// thread-local storage and runs its one-time initializations through the threading
// library, which takes a TLS slot and a record for every calling thread on first use and
// gives neither back when the module is unloaded. ModuleRuntime.cpp replaces those three
// services (the per-thread exception state, the guards of function-local statics and
// one-time initialization) with versions over the system's fiber-local storage, slim
// locks and one-time initialization, which own nothing the module cannot free. A DLL
// links it with the threading library's pthread_once redirected to it
// (--wrap=pthread_once).
#pragma once

// Frees what the runtime holds for this load of the module: the exception state of every
// thread and its fiber-local slot, and the runtime's emergency exception buffer. The
// last step of the module's DLL entry on unload; exception handling still works after it
// on the unloading thread, on a record of the module's own.
void ReleaseModuleRuntime();
