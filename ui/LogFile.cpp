#include "ui/LogFile.h"

#include "report/OperationLog.h"

#include <QSaveFile>

namespace quarvel {

QString saveLogFile(const OperationLog& log, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    for (std::size_t i = 0; i < log.size(); ++i) {
        const std::string_view line = log.line(i);
        file.write(line.data(), static_cast<qint64>(line.size()));
        file.write("\n", 1);
    }
    // A failed write cancels the commit and keeps the earlier file.
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace quarvel
