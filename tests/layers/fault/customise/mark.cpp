// Breaks the byte-order mark rule on purpose: the rule's own test must find it.
#include <string_view>

bool IsUtf16(std::string_view bytes) {
    return bytes.starts_with("\xFF\xFE");
}
