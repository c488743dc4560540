// The exports of the workspace stand-in "Halvorn.dll", all stdcall and undecorated.
//
//   GetWorkspace           the contract's TGetWorkspace (framework/RT_ClientServerInterface.h)
//   GetWorkspaceFileCount  how many file names the workspace was handed
//   GetWorkspaceFileName   copies name Index (8-bit, the system code page) into Buffer,
//                          cut to BufferSize - 1 characters and zero-terminated; returns
//                          the name's full length, or -1 when Index is out of range.
//                          Buffer may be nullptr (with BufferSize 0) to ask the length.
//   ClearWorkspaceFiles    forgets every file name
//
// The last three are our own, for the host and for tests to read the workspace back.
#pragma once

#include <windows.h>

using TGetWorkspaceFileCount = int(WINAPI*)();
using TGetWorkspaceFileName = int(WINAPI*)(int Index, char* Buffer, int BufferSize);
using TClearWorkspaceFiles = void(WINAPI*)();

