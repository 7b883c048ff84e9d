#pragma once

#include <QAbstractListModel>

namespace quarvel {

class OperationLog;

// The log as a list, oldest line first, read straight from the log (no copy
// per line), so that a log of millions of lines opens at once. An empty log
// shows the single line "No log information available".
class LogListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // The line as logged (decoded, tabs not expanded), for copying.
    static constexpr int LoggedTextRole = Qt::UserRole;

    explicit LogListModel(const OperationLog& log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const OperationLog& m_log;
};

} // namespace quarvel
