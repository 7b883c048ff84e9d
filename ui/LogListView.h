#pragma once

#include <QListView>

namespace quarvel {

// The log viewer's list: every item as wide as `itemWidth` (the widest line,
// and at least the minimum scroll extent), all items of one size, and
// Ctrl+C copies the selected lines as text. Its context menu holds "Copy"
// and "Save Log As..." (the latter emits saveRequested). It only shows:
// nothing it does changes the log.
class LogListView : public QListView
{
    Q_OBJECT

public:
    LogListView(int itemWidth, QWidget* parent = nullptr);

    void copySelection() const;

signals:
    void saveRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace quarvel
