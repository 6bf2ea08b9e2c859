#include "customise/getsetattrib.h"

#include "platform/core/attributes.h"

namespace customise {

DWORD AttributeWord(bool archive, bool hidden, bool readOnly, bool system) {
    DWORD word = 0;
    if (archive)
        word |= FILE_ATTRIBUTE_ARCHIVE;
    if (hidden)
        word |= FILE_ATTRIBUTE_HIDDEN;
    if (readOnly)
        word |= FILE_ATTRIBUTE_READONLY;
    if (system)
        word |= FILE_ATTRIBUTE_SYSTEM;
    return word ? word : FILE_ATTRIBUTE_NORMAL;
}

int setattrib(const std::wstring& path, bool archive, bool hidden, bool readOnly, bool system) {
    return platform::SetAttributes(path, AttributeWord(archive, hidden, readOnly, system)) ==
           ERROR_SUCCESS;
}

}  // namespace customise
