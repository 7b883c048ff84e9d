#include "ui/LogDialog.h"

#include "ui/LogExtent.h"
#include "ui/LogFile.h"
#include "ui/LogListView.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

namespace quarvel {

namespace {

constexpr int kDialogWidth = 320;
constexpr int kDialogHeight = 194;

// The item's text margins on both sides, as the item view style draws them.
int itemTextMargins(const QWidget* view)
{
    return 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
}

} // namespace

LogDialog::LogDialog(const OperationLog& log, QWidget* parent, const QString& title)
    : QDialog(parent), m_log(log), m_layout(this, kDialogWidth, kDialogHeight),
      m_model(new LogListModel(log, this))
{
    setObjectName(QStringLiteral("logDialog"));
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const int widest = widestLogLine(log, font()) + itemTextMargins(this);
    m_list = new LogListView(qMax(kMinimumExtent, widest), this);
    m_list->setObjectName(QStringLiteral("logList"));
    m_list->setModel(m_model);
    m_list->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::NoUpdate);
    connect(m_list, &LogListView::saveRequested, this, &LogDialog::saveLogAs);
    m_layout.place(m_list, {7, 7, 306, 161});
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    m_layout.place(ok, {263, 173, 50, 14});
    m_layout.apply();
}

void LogDialog::saveLogAs()
{
    QFileDialog chooser(this, QStringLiteral("Save Log As"), QString(),
                        QStringLiteral("Text files (*.txt);;All files (*)"));
    chooser.setObjectName(QStringLiteral("saveLogChooser"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QStringLiteral("txt"));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.selectFile(QStringLiteral("quarvel-log.txt"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QString path = chooser.selectedFiles().constFirst();
    const QString failure = saveLogFile(m_log, path);
    if (!failure.isEmpty())
        QMessageBox::warning(
            this, QStringLiteral("Save Log As"),
            QStringLiteral("The log could not be saved to %1: %2").arg(path, failure));
}

} // namespace quarvel
