#pragma once

#include "report/ConfirmOperation.h"

#include <string>

namespace quarvel {

// Everything a run needs of the window (the main dialog, the command line
// and the tests each implement it): confirmation questions, the data
// exchange, the progress bar and the summary box.
class RunWindow : public ConfirmationPrompt
{
public:
    // Copies every control's value into the settings.
    virtual void readControls() = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual void setProgressVisible(bool visible) = 0;
    // The "Operation Complete" box; returns when it has been dismissed.
    virtual void showSummary(const std::string& text) = 0;
    // A folder's per-folder step is starting (relative folder path).
    virtual void folderStarted(const std::string& relativePath) { (void)relativePath; }
    // Asked between operations: true stops the run after the current one.
    virtual bool stopRequested() { return false; }
};

} // namespace quarvel
