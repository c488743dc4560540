// Basic types shared by the whole class library and the module.
#pragma once

#include <cstdint>
#include <string>

// 8-bit strings inside the module; zero-terminated char* only at the host boundary.
using AnsiString = std::string;

using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;
using Integer = std::int32_t;
using Int64 = std::int64_t;

// Days since 1899-12-30, the time of day as the fraction.
using TDateTime = double;
