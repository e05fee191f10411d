#pragma once

namespace qz::core {

// Writes one line through the host's log routine, the value of "QZ.Func.LOG_WRITE", read afresh
// for every line; nothing is written while that value is 0.
void LogLine(const char* text);

}  // namespace qz::core
