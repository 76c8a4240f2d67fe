#pragma once

#include <optional>
#include <string>

namespace glim {

// The two questions the program answers on its command line instead of starting: its version
// and a paragraph of help. Read before the toolkit starts, so that they work without a display
// (in a terminal over ssh, in a packager's script). Every other argument is left to the toolkit.
// The text to print on standard output, or nothing when the program is to start.
std::optional<std::string> commandLineAnswer(int argc, const char* const* argv);

} // namespace glim
