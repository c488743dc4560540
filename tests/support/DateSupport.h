// A fixed clock and replaced format settings for the length of a test.
#pragma once

#include "classlib/DateTime.h"
#include "classlib/FormatSettings.h"

// Now() answers the given moment until the scope ends.
class TFixedClock {
 public:
  explicit TFixedClock(TDateTime Moment) : FSaved(NowProc) {
    Current() = Moment;
    NowProc = [] { return Current(); };
  }
  TFixedClock(const TFixedClock&) = delete;
  TFixedClock& operator=(const TFixedClock&) = delete;
  ~TFixedClock() { NowProc = FSaved; }

 private:
  static TDateTime& Current() {
    static TDateTime Moment = 0;
    return Moment;
  }
  TNowProc FSaved;
};

// The module-wide FormatSettings replaced until the scope ends.
class TScopedFormatSettings {
 public:
  explicit TScopedFormatSettings(const TFormatSettings& Settings) : FSaved(FormatSettings) {
    FormatSettings = Settings;
  }
  TScopedFormatSettings(const TScopedFormatSettings&) = delete;
  TScopedFormatSettings& operator=(const TScopedFormatSettings&) = delete;
  ~TScopedFormatSettings() { FormatSettings = FSaved; }

 private:
  TFormatSettings FSaved;
};
