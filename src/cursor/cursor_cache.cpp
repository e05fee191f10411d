#include "cursor/cursor_cache.h"

namespace qz::cursor {

// No cursor is built yet, so there is nothing to forget.
void ResetCursorCache() {}

}  // namespace qz::cursor
