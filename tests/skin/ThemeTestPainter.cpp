#include "ThemeTestPainter.h"

namespace themetest {

TCLASS_IMPL(TRecordingPainter)
TCLASS_IMPL(TOtherPainter)

}  // namespace themetest
