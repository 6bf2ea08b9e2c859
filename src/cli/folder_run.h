// Runs one folder step over the folders of a command, or over whole trees with --recursive,
// with a progress line on a console.
#pragma once

#include <functional>
#include <string>

#include "cli/arguments.h"
#include "cli/console_out.h"
#include "customise/ini_file.h"

namespace cli {

using FolderStep = std::function<customise::ReplaceResult(const std::wstring& folder)>;
using FolderFilter = std::function<bool(const std::wstring& folder)>;

// Runs step on every folder argument (with --recursive: on it and every folder below it,
// junctions and symbolic links left alone), one at a time; a failure in one does not stop
// the others. Each folder done gets a line on standard output (done followed by its path),
// each failure one on standard error. With more than one folder and standard error on a
// console, one progress line there is redrawn in place (at most ten times a second) and
// cleared at the end. With --recursive the last line counts the folders done, failed and
// skipped (links, or left out by inTree), each folder once: one whose sub-folders can't be
// listed is counted by its own step, the listing's failure told on standard error. Returns 0, or 1
// when any folder failed. inTree, when given, chooses the folders of a tree that the step is for
// (restore: those with a backup); without --recursive every folder named is done.
int RunOnFolders(const Arguments& arguments, const wchar_t* done, const FolderStep& step,
                 ConsoleOut& out, ConsoleOut& err, const FolderFilter& inTree = {});

}  // namespace cli
