// The desktop.ini content Velquin writes, and the rules for what it accepts: pure text
// logic, no window or file code.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "customise/customisation.h"
#include "customise/measures.h"

namespace customise {

// The file's lines in file order, without line ends; a folder type or picture has no place
// in them. With no measure given these are the reset's ten default lines.
std::vector<std::wstring> DesktopIniLines(const Customisation& values);
std::vector<std::wstring> DefaultLines();

// The text of Apply's Yes/No question: the heading, then one line per ticked measure in
// the window's order (image, icon, text colour, tip), with no line end after the last.
std::wstring Summary(const Customisation& values);

// The file's bytes: each line followed by CR LF; single bytes when every character is
// ASCII, otherwise UTF-16LE after a byte-order mark (the profile reader understands both).
std::string EncodeLines(const std::vector<std::wstring>& lines);

// Why a given value can't go into the file (line breaks would inject lines, the shell
// reads the index and the colour as numbers), or nothing when all are acceptable.
std::optional<std::wstring> RefusedValue(const Customisation& values);

// True when the line is one Apply or Remove could have written.
bool IsOwnLine(std::wstring_view line);
// True when the bytes of an existing desktop.ini are, byte for byte, the file Apply or Remove
// writes for the values it holds (its values read back and written again give the same
// bytes), or empty. Lines that each could be ours are not enough: a hand-made file of our
// keys in another order, spacing or encoding is someone else's.
bool IsOwnFile(const std::string& bytes);

inline constexpr wchar_t kDesktopIni[] = L"desktop.ini";
inline constexpr wchar_t kBackupSuffix[] = L".bak";

}  // namespace customise
