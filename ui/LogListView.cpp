#include "ui/LogListView.h"

#include "ui/LogListModel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyledItemDelegate>
#include <algorithm>

namespace quarvel {

namespace {

// Gives every item the same size: the fixed width, one text line high.
class FixedWidthDelegate : public QStyledItemDelegate
{
public:
    FixedWidthDelegate(int width, QObject* parent) : QStyledItemDelegate(parent), m_width(width) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(m_width, QStyledItemDelegate::sizeHint(option, index).height());
    }

private:
    int m_width;
};

} // namespace

LogListView::LogListView(int itemWidth, QWidget* parent) : QListView(parent)
{
    setItemDelegate(new FixedWidthDelegate(itemWidth, this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void LogListView::copySelection() const
{
    QModelIndexList selected = selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    lines.reserve(selected.size());
    for (const QModelIndex& index : selected)
        lines.append(index.data(LogListModel::LoggedTextRole).toString());
    QApplication::clipboard()->setText(lines.join(u'\n'));
}

void LogListView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("logMenu"));
    QAction* copy = menu.addAction(QStringLiteral("&Copy"), this, &LogListView::copySelection);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(selectionModel()->hasSelection());
    menu.addAction(QStringLiteral("&Save Log As..."), this, &LogListView::saveRequested);
    menu.exec(event->globalPos());
}

void LogListView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace quarvel
