#pragma once

#include "ui/DialogLayout.h"
#include "ui/LogListModel.h"

#include <QDialog>

namespace quarvel {

class LogListView;
class OperationLog;

// "File Morph Log": the lines of the last run, oldest first, closed by OK,
// Enter, Esc or the close box. The list starts with the focus on its first
// line, so the keyboard selects at once; its context menu copies the
// selected lines or saves the whole log as a text file. Every line can be scrolled into view in
// full: the list scrolls sideways over at least 1000 pixels and over the
// widest line.
class LogDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMinimumExtent = 1000;

    // `title` tells a preview or an undo from the log of a run.
    LogDialog(const OperationLog& log, QWidget* parent,
              const QString& title = QStringLiteral("File Morph Log"));

    LogListView* list() const { return m_list; }

    // "Save Log As...": asks for a file name and writes the log there.
    void saveLogAs();

private:
    const OperationLog& m_log;
    DialogLayout m_layout;
    LogListModel* m_model;
    LogListView* m_list;
};

} // namespace quarvel
