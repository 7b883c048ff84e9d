#include "ui/PreviewRun.h"

namespace quarvel {

PreviewRun::PreviewRun(QObject& guiContext, FileSystem& fs, std::function<void(int)> progress,
                       std::function<void()> ended)
    : m_fs(fs), m_progress(std::move(progress)), m_ended(std::move(ended)),
      m_run(guiContext, *this, m_log)
{
}

void PreviewRun::start(RunOptions options)
{
    options.interactive = false;
    m_dryRun.emplace(m_fs);
    m_run.start(std::move(options), *m_dryRun);
}

void PreviewRun::runEnded(const RunSummary&)
{
    m_shown.clear();
    m_shown.append("Preview: nothing was changed. A run would do this:");
    for (std::size_t i = 0; i < m_log.size(); ++i)
        m_shown.append(m_log.line(i));
    m_ended();
}

} // namespace quarvel
