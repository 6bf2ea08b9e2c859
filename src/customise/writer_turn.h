// The writers' turn: Velquin's writers of one folder, in any process, run one at a time.
#pragma once

#include <windows.h>

#include <string>

#include "platform/core/unique_handle.h"

namespace customise {

// Velquin's writers of one folder take turns: a write (ReplaceDesktopIni) and a restore
// (RestoreDesktopIni) each run whole holding the folder's turn, so that none reads
// desktop.ini or its backup while another is between two of its steps (a restore that has
// put the backup's bytes back but not yet deleted the backup). The turn is the hidden file
// "desktop.ini.~vel-turn", opened unshared and deleted when closed, also when a program
// ends midway. A caller that holds the turn hands it down to the writers it calls (they take
// it themselves otherwise); a thread that holds a folder's turn and asks again gets the same
// turn.
class WriterTurn {
  public:
    // folder: the "\\?\" form without a trailing separator. Waits while another writer
    // holds the turn (up to about ten seconds).
    explicit WriterTurn(const std::wstring& folder);
    ~WriterTurn();
    WriterTurn(const WriterTurn&) = delete;
    WriterTurn& operator=(const WriterTurn&) = delete;
    // ERROR_SUCCESS, or ERROR_SHARING_VIOLATION when another writer kept the turn too long.
    // A folder where the turn's file can't be made at all is written without it: the write
    // itself then reports why.
    DWORD error() const { return error_; }

  private:
    platform::UniqueFile file_;            // empty: a turn this thread already held, or none
    const std::wstring* outer_ = nullptr;  // the turn this thread held before, if any
    std::wstring folder_;
    DWORD error_ = ERROR_SUCCESS;
};

}  // namespace customise
