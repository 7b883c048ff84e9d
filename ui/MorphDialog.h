#pragma once

#include "app/MorphSettings.h"
#include "app/MruList.h"
#include "engine/RunState.h"
#include "engine/RunWindow.h"
#include "report/OperationLog.h"
#include "ui/ComboSortedList.h"
#include "ui/DialogLayout.h"
#include "ui/MorphControls.h"
#include "ui/UrlOpener.h"
#include "ui/WebLink.h"

#include <QDialog>
#include <QElapsedTimer>
#include <memory>
#include <string>

class QMenu;
class QTimer;

namespace quarvel {

class FileSystem;

// The main window, "File Morph Utility": a fixed-size dialog that shows
// every option of MorphSettings as a control, keeps the controls' enabled
// state consistent with the chosen mode, starts runs ("Morph Files") and
// the log viewer ("View Log"). It owns the settings, the run state, the log
// and both histories for the life of the program, and is the window the
// engine talks to during a run.
class MorphDialog : public QDialog, public RunWindow
{
    Q_OBJECT

public:
    // The settings start at their first-run defaults; the start-up loads the
    // stored ones into settings() before the dialog is shown. The web link
    // opens its page through `opener`, or the desktop's URL handler when it
    // is null.
    explicit MorphDialog(FileSystem& fs, QWidget* parent = nullptr, UrlOpener* opener = nullptr);
    ~MorphDialog() override;

    MorphSettings& settings() { return m_settings; }
    const RunState& runState() const { return m_state; }
    const OperationLog& log() const { return m_log; }
    const MruList& maskHistory() const { return m_maskHistory; }
    const MruList& patternHistory() const { return m_patternHistory; }
    const MorphControls& controls() const { return m_controls; }
    bool isRunning() const { return m_running; }
    const WebLink& webLink() const { return m_link; }

    // The close sequence for an exit that did not come through "Close"
    // (the application told to quit): joins the histories back into Mask
    // and Pattern once, so that saving never stores a working value in
    // place of a history.
    void finishSession();

    // Closes the window as "Close" does, as soon as that is possible: a run
    // under way is asked to stop after its current operation, and the
    // dialogs open over the window (a confirmation, the summary, the log
    // viewer, ...) are dismissed first. For a stop signal sent to the program.
    void closeWhenIdle();
    bool closeRequested() const { return m_closeRequested; }

    // The data exchange: every control's value into its field, and back.
    void readControls() override;
    void writeControls() override;

    // The rest of the engine's window interface.
    ConfirmResult askConfirmation(const std::string& message) override;
    void setProgressPosition(int position) override;
    void setProgressVisible(bool visible) override;
    void showSummary(const std::string& text) override;
    bool stopRequested() override { return m_closeRequested; }

    // A folder chosen in the start tree or the output tree: the field takes
    // the item's path and the text field under the tree shows it.
    void startFolderChosen(const std::string& path);
    void outputFolderChosen(const std::string& path);

public slots:
    void morphFiles();
    void viewLog();
    void showAdvancedDialog();
    void showAboutBox();
    // Close, Esc, the close box and the context menu's Close.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void connectEvents();
    void initialise();
    void fillFolderTrees();
    void closeSequence();
    void openContextMenu(const QPoint& globalPosition);
    void populateContextMenu(QMenu& menu);

    // The enabling rules.
    void updateCopyControls();
    void updatePrependAppendControls();
    void updateModeControls();

    void keepRepainting();
    void closeStep();

    FileSystem& m_fs;
    MorphSettings m_settings;
    RunState m_state;
    OperationLog m_log;
    MruList m_maskHistory;
    MruList m_patternHistory;
    DialogLayout m_layout;
    MorphControls m_controls;
    ComboSortedList m_maskList;
    ComboSortedList m_patternList;
    DesktopUrlOpener m_desktopOpener;
    WebLink m_link;
    QElapsedTimer m_sinceRepaint;
    int m_progressPosition = 0; // the engine's, shown at the next repaint
    bool m_initialised = false;
    // During WriteControls: a box it ticks must not read the controls it
    // has not written yet.
    bool m_writingControls = false;
    bool m_closed = false;
    bool m_running = false;
    bool m_closeRequested = false;
    QTimer* m_closeTimer = nullptr;
};

} // namespace quarvel
