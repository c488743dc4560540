// A board as text: every setting and every object on lines of "Keyword Key=Value ...",
// in a stable order, lengths in host units. host/README.md describes the format.
#pragma once

#include <string>

#include "host/MerovanModel.h"

namespace Merovan {

// The board's text.
std::string BoardToText(TStore& Store, TBoard& Board);
// Makes a board named Name (and its objects, with new handles) from a board text.
// Returns its handle, or 0 when the text is not a complete, valid board text; then
// nothing was made.
Integer BoardFromText(TStore& Store, const std::string& Text, const std::string& Name);

// The same through files. Saving gives false when the file cannot be written; loading
// gives 0 when it cannot be read or is no board text. A loaded file is only read.
bool SaveBoardFile(TStore& Store, TBoard& Board, const std::string& FileName);
Integer LoadBoardFile(TStore& Store, const std::string& FileName, const std::string& Name);

}  // namespace Merovan
