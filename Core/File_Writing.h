// Files the game keeps (the score table, the settings) are replaced whole, so a crash
// leaves either the old file or the new one, never half of each.
#pragma once

#include <string>

// Writes text to path through a fresh file beside it, flushed to disk and renamed over
// path; the old file's permissions are kept. False if anything failed (the old file, if
// any, is then untouched and the temporary file removed).
bool ReplaceFile(const std::string& path, const std::string& text);
