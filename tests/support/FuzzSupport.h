// Seeded mutation of parser inputs, and a count of the heap blocks that code leaves
// allocated.
//
// TMutator makes inputs from valid ones: byte flips, inserts and deletes, repeated
// ranges, splices of tokens and pieces taken from the valid inputs, and whole lines
// of them inserted or removed. The sequence
// depends on the seed only, so a failing case comes back on every run.
//
// TLiveBlockCounter installs a counting memory manager over the one in place while it
// lives; every allocation of the module's code and of the tests goes through it.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Memory.h"

namespace fuzz {

// xorshift64*: small, fast and the same on every platform.
class TRandom {
 public:
  explicit TRandom(std::uint64_t Seed) : FState(Seed ? Seed : 0x9E3779B97F4A7C15ull) {}

  std::uint64_t Next() {
    FState ^= FState >> 12;
    FState ^= FState << 25;
    FState ^= FState >> 27;
    return FState * 0x2545F4914F6CDD1Dull;
  }
  // 0 .. Bound - 1; 0 when Bound is 0.
  std::size_t Below(std::size_t Bound) {
    return Bound ? static_cast<std::size_t>(Next() % Bound) : 0;
  }
  bool OneIn(std::size_t N) { return Below(N) == 0; }

 private:
  std::uint64_t FState;
};

class TMutator {
 public:
  // Seeds are the valid inputs; Extra are tokens worth trying besides those cut from
  // the seeds (keywords, separators). Inputs never grow past MaxSize bytes.
  TMutator(std::vector<std::string> Seeds, std::uint64_t Seed,
           std::vector<std::string> Extra = {}, std::size_t MaxSize = 16384)
      : FSeeds(std::move(Seeds)),
        FTokens(std::move(Extra)),
        FRandom(Seed),
        FMaxSize(MaxSize) {
    static const char* const Values[] = {
        "0",     "-1",         "1",           "255",        "256",
        "65535", "2147483647", "-2147483648", "4294967296", "99999999999999999999",
        "1e308", "-1e-308",    "NaN",         "\r\n",       "\n",
        "\r",    " ",          "\t",          "\"",         "\\",
        ",",     "=",          "|",           "[",          "]",
        ".",     ":",          "#",           "\xFF",       "\x80"};
    for (const char* Value : Values) FTokens.push_back(Value);
    FTokens.push_back(std::string(1, '\0'));
    for (const std::string& Text : FSeeds) CutTokens(Text);
  }

  // A seed with one to four edits.
  std::string Next() {
    std::string Text = FSeeds[FRandom.Below(FSeeds.size())];
    for (std::size_t Edits = 1 + FRandom.Below(4); Edits > 0; --Edits) Edit(Text);
    if (Text.size() > FMaxSize) Text.resize(FMaxSize);
    return Text;
  }

  TRandom& Random() { return FRandom; }

 private:
  // Tokens: runs of letters, digits and "_", and each other character on its own.
  // Lines: every line, with its line end.
  void CutTokens(const std::string& Text) {
    auto IsWord = [](char C) {
      return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') ||
             C == '_';
    };
    for (std::size_t I = 0; I < Text.size();) {
      std::size_t J = I + 1;
      if (IsWord(Text[I]))
        while (J < Text.size() && IsWord(Text[J])) ++J;
      FTokens.push_back(Text.substr(I, J - I));
      I = J;
    }
    for (std::size_t I = 0; I < Text.size();) {
      std::size_t End = Text.find('\n', I);
      End = End == std::string::npos ? Text.size() : End + 1;
      FLines.push_back(Text.substr(I, End - I));
      I = End;
    }
  }

  const std::string& Token() { return FTokens[FRandom.Below(FTokens.size())]; }
  std::size_t Position(const std::string& Text) { return FRandom.Below(Text.size() + 1); }
  // The start of a line of Text (the end of the text counts as one).
  std::size_t LineStart(const std::string& Text) {
    std::size_t P = Position(Text);
    while (P > 0 && Text[P - 1] != '\n') --P;
    return P;
  }
  // A range of Text: its start and a length of 1 up to a sixteenth of the text (at
  // least 8 bytes), within the text.
  std::pair<std::size_t, std::size_t> Range(const std::string& Text) {
    std::size_t Start = FRandom.Below(Text.size());
    std::size_t Longest = std::max<std::size_t>(8, Text.size() / 16);
    std::size_t Length = 1 + FRandom.Below(Longest);
    return {Start, std::min(Length, Text.size() - Start)};
  }

  void Edit(std::string& Text) {
    switch (FRandom.Below(Text.empty() ? 2 : 12)) {
      case 0:  // a token inserted
        Text.insert(Position(Text), Token());
        break;
      case 9:
      case 10: {  // a whole line of a seed inserted between lines
        if (FLines.empty()) break;
        std::string Line = FLines[FRandom.Below(FLines.size())];
        if (Line.empty() || Line.back() != '\n') Line += '\n';
        Text.insert(LineStart(Text), Line);
        break;
      }
      case 11: {  // a whole line removed
        std::size_t Start = LineStart(Text);
        std::size_t End = Text.find('\n', Start);
        Text.erase(Start, End == std::string::npos ? std::string::npos : End + 1 - Start);
        break;
      }
      case 1:  // a random byte inserted
        Text.insert(Position(Text), 1, static_cast<char>(FRandom.Next()));
        break;
      case 2:  // one bit flipped
        Text[FRandom.Below(Text.size())] ^= static_cast<char>(1u << FRandom.Below(8));
        break;
      case 3:  // one byte replaced
        Text[FRandom.Below(Text.size())] = static_cast<char>(FRandom.Next());
        break;
      case 4: {  // a range deleted
        auto [Start, Length] = Range(Text);
        Text.erase(Start, Length);
        break;
      }
      case 5: {  // a range replaced by a token
        auto [Start, Length] = Range(Text);
        Text.replace(Start, Length, Token());
        break;
      }
      case 6: {  // a range repeated in place, up to eight times
        auto [Start, Length] = Range(Text);
        std::string Piece = Text.substr(Start, Length);
        for (std::size_t N = 1 + FRandom.Below(8); N > 0 && Text.size() < FMaxSize; --N)
          Text.insert(Start, Piece);
        break;
      }
      case 7: {  // a piece of another seed spliced in
        const std::string& Other = FSeeds[FRandom.Below(FSeeds.size())];
        if (Other.empty()) break;
        auto [Start, Length] = Range(Other);
        Text.insert(Position(Text), Other, Start, Length);
        break;
      }
      default: {  // cut at a point, the rest of another seed from a point appended
        const std::string& Other = FSeeds[FRandom.Below(FSeeds.size())];
        Text.resize(Position(Text));
        Text.append(Other, FRandom.Below(Other.size() + 1));
        break;
      }
    }
  }

  std::vector<std::string> FSeeds;
  std::vector<std::string> FTokens;
  std::vector<std::string> FLines;
  TRandom FRandom;
  std::size_t FMaxSize;
};

// Counts the blocks allocated and not yet freed through the memory manager table
// while it lives (one at a time). A block made before and freed meanwhile counts -1.
class TLiveBlockCounter {
 public:
  TLiveBlockCounter() {
    GetMemoryManager(Previous);
    LiveBlocks = 0;
    SetMemoryManager({CountedGetMem, CountedFreeMem, Previous.ReallocMem});
  }
  ~TLiveBlockCounter() { SetMemoryManager(Previous); }
  TLiveBlockCounter(const TLiveBlockCounter&) = delete;
  TLiveBlockCounter& operator=(const TLiveBlockCounter&) = delete;

  int Live() const { return LiveBlocks; }

 private:
  static void* CountedGetMem(int Size) {
    void* P = Previous.GetMem(Size);
    if (P) ++LiveBlocks;
    return P;
  }
  static int CountedFreeMem(void* P) {
    int Result = Previous.FreeMem(P);
    if (Result == 0) --LiveBlocks;
    return Result;
  }

  inline static TMemoryManager Previous{};
  inline static std::atomic<int> LiveBlocks{0};
};

// What a fuzz run found: the first few failing inputs with what went wrong.
class TFindings {
 public:
  void Add(const std::string& What, const std::string& Input) {
    ++FCount;
    if (FShown.size() < 5) FShown.push_back(What + " on input \"" + Escaped(Input) + "\"");
  }
  // Runs one case on Input: the fault Run names (nullptr for none), an exception it
  // lets out, or a block it leaves allocated is a finding.
  template <class Case>
  void Check(const std::string& Input, const TLiveBlockCounter& Counter, Case&& Run) {
    const int Before = Counter.Live();
    const char* Fault = nullptr;
    try {
      Fault = Run();
    } catch (...) {
      Fault = "an exception";
    }
    if (!Fault && Counter.Live() != Before) Fault = "blocks left allocated";
    if (Fault) Add(Fault, Input);
  }
  int Count() const { return FCount; }
  std::string Text() const {
    std::string Result;
    for (const std::string& Line : FShown) Result += Line + "\n";
    return Result;
  }

 private:
  static std::string Escaped(const std::string& Input) {
    static const char Hex[] = "0123456789ABCDEF";
    std::string Result;
    for (char C : Input.substr(0, 400)) {
      unsigned char U = static_cast<unsigned char>(C);
      if (U < 0x20 || U >= 0x7F || C == '"' || C == '\\') {
        Result += "\\x";
        Result += Hex[U >> 4];
        Result += Hex[U & 15];
      } else {
        Result += C;
      }
    }
    return Input.size() > 400 ? Result + "..." : Result;
  }

  int FCount = 0;
  std::vector<std::string> FShown;
};

}  // namespace fuzz
