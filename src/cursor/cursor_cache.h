#pragma once

namespace qz::cursor {

// Forgets every cursor built for the old window size, so the next request rebuilds at the new one.
void ResetCursorCache();

}  // namespace qz::cursor
