// What the program says about itself: the short usage, the full help and the version.
#pragma once

#include <string>

namespace cli {

std::wstring UsageText();  // the synopsis, printed after a usage error
std::wstring HelpText();   // every command and option with an example
// "velquin-cli VERSION", the version read from this program's own version record.
std::wstring VersionText();

}  // namespace cli
