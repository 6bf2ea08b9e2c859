#include "customise/customiser.h"

#include <optional>

#include "customise/desktop_ini.h"
#include "customise/folder_tools.h"
#include "platform/error_text.h"
#include "platform/message_box.h"
#include "platform/path_text.h"

namespace customise {
namespace {

constexpr wchar_t kApplyTitle[] = L"VEL Applied";
constexpr wchar_t kRemoveTitle[] = L"VEL Removed";
constexpr wchar_t kRemovePrompt[] =
    L"The folder settings active at selected location are to be removed.";
constexpr wchar_t kKeepsIconCopy[] = L"\r\nKeeps a Copy of the Icon in the Folder";

FieldValues ReadFields(const FieldsView& form) {
    FieldValues f;
    f.Check1 = form.Checked(1);
    f.Check2 = form.Checked(2);
    f.Check3 = form.Checked(3);
    f.Check4 = form.Checked(4);
    f.txtBGImg = form.txtBGImg();
    f.txtDirICO = form.txtDirICO();
    f.txtIcoIndex = form.txtIcoIndex();
    f.cboColor = form.cboColor();
    f.txtColorCode = form.txtColorCode();
    f.txtITip = form.txtITip();
    return f;
}

// Why txtPath can't be the target: never write into the current folder or guess a folder.
std::optional<std::wstring> RefusedFolder(const std::wstring& path) {
    if (path.empty())
        return L"The target folder is empty. Choose a folder from the lists or type its full "
               L"path.";
    if (!platform::IsFullPath(path))
        return L"The target folder must be a full path, such as C:\\Work\\.\r\n\r\n" + path;
    DWORD attributes = ::GetFileAttributesW(platform::ExtendedPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return platform::FailureText(L"The target folder could not be found.", path,
                                     ::GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return platform::FailureText(L"The target folder is a file, not a folder.", path,
                                     ERROR_DIRECTORY);
    return std::nullopt;
}

// Shows the refusal, if any; true when the input may be used.
bool Accept(HWND owner, const std::optional<std::wstring>& refusal) {
    if (!refusal)
        return true;
    platform::ShowError(owner, *refusal);
    return false;
}

// Reports the result of a write; the message says what failed, where and why.
Outcome Reported(HWND owner, const ReplaceResult& result) {
    if (result.status == ReplaceStatus::Replaced)
        return Outcome::Written;
    const FileFailure& f = result.failure;
    platform::ShowError(owner, platform::FailureText(f.what, f.path, f.error));
    // Unmarked, the file still holds the new settings: that is a write with a warning.
    return result.status == ReplaceStatus::ReplacedUnmarked ? Outcome::Written : Outcome::Failed;
}

}  // namespace

Outcome cmdYes_Click(HWND owner, const FieldsView& form) {
    if (!Accept(owner, RefusedFolder(form.txtPath())))
        return Outcome::Refused;
    FieldValues fields = ReadFields(form);
    if (!Accept(owner, RefusedValue(fields)))
        return Outcome::Refused;

    // The menu's choice is read once, so the question and the write agree.
    const bool keepIconCopy = form.KeepIconCopy();
    std::wstring summary = Summary(fields);
    if (keepIconCopy && fields.Check2)
        summary += kKeepsIconCopy;

    // Only Yes goes on: No and a box that could not be shown (0) write nothing.
    if (platform::ShowMessage(owner, summary, kApplyTitle, MB_YESNO) != IDYES)
        return Outcome::Declined;

    // The fields are read afresh for the file, so they are checked again.
    std::wstring folder = form.txtPath();
    if (!Accept(owner, RefusedFolder(folder)))
        return Outcome::Refused;
    fields = ReadFields(form);
    if (!Accept(owner, RefusedValue(fields)))
        return Outcome::Refused;
    return Reported(owner, WriteCustomisation(folder, fields, keepIconCopy));
}

Outcome cmdRem_Click(HWND owner, const FieldsView& form) {
    if (!Accept(owner, RefusedFolder(form.txtPath())))
        return Outcome::Refused;
    if (platform::ShowMessage(owner, kRemovePrompt, kRemoveTitle, MB_YESNO) != IDYES)
        return Outcome::Declined;
    std::wstring folder = form.txtPath();
    if (!Accept(owner, RefusedFolder(folder)))
        return Outcome::Refused;
    return Reported(owner, WriteDefaults(folder));
}

}  // namespace customise
