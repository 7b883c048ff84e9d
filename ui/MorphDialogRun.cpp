// Runs from the main dialog: "Morph Files", "View Log" and the window side
// of the engine's interface (progress, confirmation, summary).

#include "engine/MorphEngine.h"
#include "ui/ByteText.h"
#include "ui/ConfirmDialog.h"
#include "ui/LogDialog.h"
#include "ui/MorphDialog.h"
#include "ui/RunInputBlocker.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProgressBar>

namespace quarvel {

namespace {

// How often a run lets the window repaint: often enough to keep the
// progress bar moving and the desktop from calling the window unresponsive,
// rarely enough to cost nothing next to the files' own work.
constexpr qint64 kRepaintIntervalMs = 50;

// The summary's CR LF breaks as the message box's line breaks.
QString summaryDisplay(const std::string& text)
{
    QString shown = decodeBytes(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

} // namespace

// The run executes inside this handler; the dialog stays open afterwards.
// While it runs the window keeps repainting but takes no input: only the
// confirmation dialogs and the summary box can be acted on.
void MorphDialog::morphFiles()
{
    if (m_running)
        return;
    m_running = true;
    {
        const RunInputBlocker blocker(this);
        m_sinceRepaint.start();
        MorphFiles(EngineParts{m_settings, m_state, m_log, m_maskHistory, m_maskList,
                               m_patternHistory, m_patternList, *this, m_fs});
    }
    m_running = false;
}

void MorphDialog::viewLog()
{
    LogDialog dialog(m_log, this);
    dialog.exec();
}

ConfirmResult MorphDialog::askConfirmation(const std::string& message)
{
    m_controls.progress->setValue(m_progressPosition);
    ConfirmDialog dialog(this);
    const ConfirmResult answer = dialog.ask(message);
    m_sinceRepaint.restart();
    return answer;
}

// The bar takes the engine's position only when the window repaints: a
// progress bar repaints itself at once on every visible change, which for
// tens of thousands of steps would cost more than the run's own work.
void MorphDialog::setProgressPosition(int position)
{
    m_progressPosition = position;
    if (!m_running || !m_controls.progress->isVisible())
        m_controls.progress->setValue(position);
    keepRepainting();
}

void MorphDialog::setProgressVisible(bool visible)
{
    m_controls.progress->setValue(m_progressPosition);
    m_controls.progress->setVisible(visible);
    if (visible && m_running) {
        QCoreApplication::processEvents();
        m_sinceRepaint.restart();
    }
}

void MorphDialog::keepRepainting()
{
    if (!m_running || m_sinceRepaint.elapsed() < kRepaintIntervalMs)
        return;
    m_controls.progress->setValue(m_progressPosition);
    QCoreApplication::processEvents();
    m_sinceRepaint.restart();
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
