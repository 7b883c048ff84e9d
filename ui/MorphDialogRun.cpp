// Runs from the main dialog: "Morph Files", "View Log" and the window side
// of a run (progress, confirmation, summary).

#include "app/PatternCheck.h"
#include "app/SettingsRun.h"
#include "engine/JournalingFileSystem.h"
#include "platform/StateFolder.h"
#include "report/LogWriter.h"
#include "ui/ByteText.h"
#include "ui/ConfirmDialog.h"
#include "ui/LogDialog.h"
#include "ui/MorphDialog.h"
#include "ui/RunInputBlocker.h"

#include <QMessageBox>
#include <QProgressBar>

namespace quarvel {

namespace {

// The summary's CR LF breaks as the message box's line breaks.
QString summaryDisplay(const std::string& text)
{
    QString shown = decodeBytes(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

} // namespace

// Starts the run on its worker thread and returns; runEnded finishes it.
// While it runs the window keeps painting but takes no input: only the
// confirmation dialogs and the summary box can be acted on.
void MorphDialog::morphFiles()
{
    if (m_running || !expressionAccepted())
        return;
    startBlockedRun();
    // Every run from the window can be undone: it writes the journal as it goes.
    m_journal = std::make_unique<RunJournal>(stateFolder());
    m_journaled = std::make_unique<JournalingFileSystem>(m_fs, *m_journal);
    m_run.start(BeginSettingsRun(m_settings), *m_journaled);
}

// The window's side of the start of a run or a preview: no input while it
// goes, the progress bar shown.
void MorphDialog::startBlockedRun()
{
    m_running = true;
    m_inputBlocker = std::make_unique<RunInputBlocker>(this);
    readControls();
    m_controls.progress->setValue(0);
    m_controls.progress->setVisible(true);
}

// A bad expression never starts a run: PCRE2's reason is shown instead.
bool MorphDialog::expressionAccepted()
{
    readControls();
    const std::optional<std::string> error = expressionError(m_settings);
    if (!error)
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Regular Expression"),
                    QStringLiteral("The pattern or the replacement cannot be used as a regular "
                                   "expression:\n") +
                        decodeBytes(*error),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("expressionBox"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return false;
}

void MorphDialog::runEnded(const RunSummary& summary)
{
    m_lastRun = summary;
    m_journaled.reset();
    m_journal.reset();
    m_controls.progress->setVisible(false);
    NoteRunInHistories(m_settings, {m_maskHistory, m_maskList, m_patternHistory, m_patternList});
    // A run stopped for a close ends without the summary box.
    if (!m_closeRequested)
        showSummary(SummaryText(summary, m_settings.Mask));
    m_inputBlocker.reset();
    m_running = false;
    if (m_closeRequested)
        closeStep();
}

void MorphDialog::viewLog()
{
    LogDialog dialog(m_log, this);
    dialog.exec();
}

ConfirmResult MorphDialog::askOnGuiThread(const std::string& message)
{
    ConfirmDialog dialog(this);
    return dialog.ask(message);
}

void MorphDialog::showRunProgress(int position)
{
    m_controls.progress->setValue(position);
}

void MorphDialog::confirmedAll()
{
    m_settings.Interactive = 0;
    writeControls();
}

void MorphDialog::showSummary(const std::string& text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Operation Complete"),
                    summaryDisplay(text), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("summaryBox"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace quarvel
