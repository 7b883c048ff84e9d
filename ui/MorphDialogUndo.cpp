// "Preview" and "Undo Last Run": a dry run of the current settings, and the
// reversal of the last run from its journal.

#include "app/SettingsRun.h"
#include "engine/UndoJob.h"
#include "platform/StateFolder.h"
#include "report/UndoLogWriter.h"
#include "ui/LogDialog.h"
#include "ui/MorphDialog.h"
#include "ui/RunInputBlocker.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <cerrno>

namespace quarvel {

namespace {

const QString kPreviewTitle = QStringLiteral("Preview - File Morph Log (nothing was changed)");
const QString kUndoTitle = QStringLiteral("Undo Last Run - File Morph Log");

void showMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Undo Last Run"), text,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("undoMessage"));
    box.exec();
}

// Asks once, with the number of operations to reverse.
bool confirmUndo(QWidget* parent, int operations)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Undo Last Run"),
                    QStringLiteral("Undo the last run? %1 operation%2 will be reversed.")
                        .arg(operations)
                        .arg(operations == 1 ? QString() : QStringLiteral("s")),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("undoQuestion"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

// Both shortcuts belong to the window, and none of its text fields takes
// them (Ctrl+Z would be the fields' own undo).
void MorphDialog::createActions()
{
    m_previewAction = new QAction(QStringLiteral("&Preview"), this);
    m_previewAction->setObjectName(QStringLiteral("previewAction"));
    m_previewAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_previewAction->setToolTip(QStringLiteral("Show what Morph Files would do, changing nothing"));
    connect(m_previewAction, &QAction::triggered, this, &MorphDialog::preview);
    m_undoAction = new QAction(QStringLiteral("&Undo Last Run..."), this);
    m_undoAction->setObjectName(QStringLiteral("undoAction"));
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    m_undoAction->setToolTip(QStringLiteral("Reverse the last run"));
    connect(m_undoAction, &QAction::triggered, this, &MorphDialog::undoLastRun);
    for (QAction* action : {m_previewAction, m_undoAction}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void MorphDialog::preview()
{
    if (m_running || !expressionAccepted())
        return;
    startBlockedRun();
    m_preview.start(BeginSettingsRun(m_settings));
}

void MorphDialog::previewEnded()
{
    m_controls.progress->setVisible(false);
    m_inputBlocker.reset();
    m_running = false;
    if (m_closeRequested) {
        closeStep();
        return;
    }
    LogDialog dialog(m_preview.log(), this, kPreviewTitle);
    dialog.setObjectName(QStringLiteral("previewLog"));
    dialog.exec();
}

void MorphDialog::undoLastRun()
{
    if (m_running)
        return;
    const std::string state = stateFolder();
    int operations = 0;
    const Status found = LastRunOperations(state, operations);
    if (found.code() == ENOENT || (found && operations == 0)) {
        showMessage(this, QStringLiteral("There is no run to undo."));
        return;
    }
    if (!found) {
        showMessage(this, found.code() == EBUSY
                              ? QStringLiteral("The last run is still under way.")
                              : QStringLiteral("The undo journal cannot be read: %1")
                                    .arg(QString::fromStdString(found.message())));
        return;
    }
    if (!confirmUndo(this, operations))
        return;
    m_undoLog.clear();
    UndoLogWriter writer(m_undoLog);
    UndoSummary summary;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunUndo(state, m_fs, false, writer, summary);
    QApplication::restoreOverrideCursor();
    LogDialog dialog(m_undoLog, this, kUndoTitle);
    dialog.setObjectName(QStringLiteral("undoLog"));
    dialog.exec();
}

} // namespace quarvel
