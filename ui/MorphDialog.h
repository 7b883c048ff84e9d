#pragma once

#include "app/MorphSettings.h"
#include "app/MruList.h"
#include "engine/RunObserver.h"
#include "report/OperationLog.h"
#include "ui/ComboSortedList.h"
#include "ui/DialogLayout.h"
#include "ui/MorphControls.h"
#include "ui/PreviewRun.h"
#include "ui/UrlOpener.h"
#include "ui/WebLink.h"
#include "ui/WindowRun.h"

#include <QDialog>
#include <memory>
#include <string>

class QAction;
class QMenu;

namespace quarvel {

class FileSystem;
class JournalingFileSystem;
class RunInputBlocker;
class RunJournal;

// The main window, "File Morph Utility": a fixed-size dialog that shows
// every option of MorphSettings as a control, keeps the controls' enabled
// state consistent with the chosen mode, starts runs ("Morph Files") and
// the log viewer ("View Log"). It owns the settings, the log and both
// histories for the life of the program. A run goes on a worker thread; the
// dialog answers its questions and shows its progress on the GUI thread.
class MorphDialog : public QDialog, private WindowRun::Host
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
    // What the last run reported.
    const RunSummary& lastRun() const { return m_lastRun; }
    const OperationLog& log() const { return m_log; }
    const MruList& maskHistory() const { return m_maskHistory; }
    const MruList& patternHistory() const { return m_patternHistory; }
    const MorphControls& controls() const { return m_controls; }
    const OperationLog& previewLog() const { return m_preview.log(); }
    const OperationLog& undoLog() const { return m_undoLog; }
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
    void readControls();
    void writeControls();

    // A folder chosen in the start tree or the output tree: the field takes
    // the item's path and the text field under the tree shows it.
    void startFolderChosen(const std::string& path);
    void outputFolderChosen(const std::string& path);

public slots:
    void morphFiles();
    void viewLog();
    // "Preview" (Ctrl+P): the current settings as a dry run, its log shown.
    void preview();
    // "Undo Last Run" (Ctrl+Alt+Z): asks once, reverses the last run (from
    // the window or the command line) and shows the undo's log.
    void undoLastRun();
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
    void createActions();
    void startBlockedRun();
    bool expressionAccepted();
    void previewEnded();

    // The enabling rules.
    void updateCopyControls();
    void updatePrependAppendControls();
    void updateModeControls();

    // The run's side, on the GUI thread.
    void showRunProgress(int position) override;
    ConfirmResult askOnGuiThread(const std::string& message) override;
    void confirmedAll() override;
    void runEnded(const RunSummary& summary) override;
    void showSummary(const std::string& text);

    void closeStep();

    FileSystem& m_fs;
    MorphSettings m_settings;
    RunSummary m_lastRun;
    OperationLog m_log;
    MruList m_maskHistory;
    MruList m_patternHistory;
    DialogLayout m_layout;
    MorphControls m_controls;
    ComboSortedList m_maskList;
    ComboSortedList m_patternList;
    DesktopUrlOpener m_desktopOpener;
    WebLink m_link;
    WindowRun m_run;
    std::unique_ptr<RunJournal> m_journal;             // the run under way's
    std::unique_ptr<JournalingFileSystem> m_journaled; // m_fs with the journal in front
    PreviewRun m_preview;
    OperationLog m_undoLog;
    QAction* m_previewAction = nullptr;
    QAction* m_undoAction = nullptr;
    std::unique_ptr<RunInputBlocker> m_inputBlocker; // while a run is under way
    bool m_initialised = false;
    // During WriteControls: a box it ticks must not read the controls it
    // has not written yet.
    bool m_writingControls = false;
    bool m_closed = false;
    bool m_running = false;
    bool m_closeRequested = false;
};

} // namespace quarvel
