#include "ui/LogListModel.h"

#include "report/OperationLog.h"
#include "ui/ByteText.h"
#include "ui/LogText.h"

namespace quarvel {

namespace {

const char kNoLog[] = "No log information available";

} // namespace

LogListModel::LogListModel(const OperationLog& log, QObject* parent)
    : QAbstractListModel(parent), m_log(log)
{
}

int LogListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_log.empty() ? 1 : static_cast<int>(m_log.size());
}

QVariant LogListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role != Qt::DisplayRole && role != LoggedTextRole)
        return {};
    if (m_log.empty())
        return QString::fromLatin1(kNoLog);
    const std::string_view line = m_log.line(static_cast<std::size_t>(index.row()));
    return role == Qt::DisplayRole ? logLineDisplay(line) : decodeBytes(line);
}

} // namespace quarvel
