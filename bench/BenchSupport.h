// What every benchmark program times and prints with: a stopwatch, the best of several
// runs, fixed-point numbers padded to a column, and a message pump.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

#include "classlib/FloatConv.h"

namespace bench {

// The wall-clock time of one call of Work, in milliseconds.
inline double Milliseconds(const std::function<void()>& Work) {
  LARGE_INTEGER Frequency, Start, Stop;
  QueryPerformanceFrequency(&Frequency);
  QueryPerformanceCounter(&Start);
  Work();
  QueryPerformanceCounter(&Stop);
  return (Stop.QuadPart - Start.QuadPart) * 1000.0 / Frequency.QuadPart;
}

// The best time of Work over Runs runs, with Reset (untimed) before each.
inline double BestOf(int Runs, const std::function<void()>& Reset, const std::function<void()>& Work) {
  double Best = 1e30;
  for (int Run = 0; Run < Runs; ++Run) {
    Reset();
    const double Ms = Milliseconds(Work);
    if (Ms < Best) Best = Ms;
  }
  return Best;
}

// Value with Decimals digits after the point, right-aligned in Width characters.
inline AnsiString Fixed(double Value, int Decimals, std::size_t Width = 0) {
  AnsiString S = FloatToStrF(Value, ffFixed, 15, Decimals, TFormatSettings{});
  return S.size() >= Width ? S : AnsiString(Width - S.size(), ' ') + S;
}

// Handles every message waiting in the thread's queue.
inline void PumpAll() {
  MSG Msg;
  while (PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
}

}  // namespace bench
