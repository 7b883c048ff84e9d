#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <string>

namespace quarvel {

class FileSystem;

// A folder browser: the file-system root ("/") and the home folder (its
// full path) at the top level, each listed at once; every other folder is
// listed on its first expansion and never again. Items show the folder's
// name alone (with replacement characters where it is not valid UTF-8) and
// keep its raw bytes, so itemPath() gives the real path. Only folders are
// shown, hidden ones and links to folders included; a folder without
// subfolders, or one that cannot be read, loses its expand button and
// nothing is reported. The tree never selects an item by itself, and while
// it is disabled it reports nothing.
class DirectoryTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit DirectoryTree(QWidget* parent = nullptr);

    // Lists the top level through `fs`, which must outlive the tree.
    void fillRoots(FileSystem& fs);

    // The clean path of an item: "/" for the root, "/home/ann/Data" below.
    static std::string itemPath(const QTreeWidgetItem* item);
    // The raw bytes behind an item's text.
    static std::string itemBytes(const QTreeWidgetItem* item);
    static bool isListed(const QTreeWidgetItem* item);

signals:
    // After the fact, with the path of the item concerned.
    void folderSelected(const std::string& path);
    void folderExpanded(const std::string& path);
    void folderCollapsed(const std::string& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeWidgetItem* newItem(const std::string& bytes) const;
    void listChildren(QTreeWidgetItem* item);
    void onExpanded(QTreeWidgetItem* item);
    void onCollapsed(QTreeWidgetItem* item);
    void onSelectionChanged(const QItemSelection& selected);

    FileSystem* m_fs = nullptr;
    QIcon m_icon;
};

} // namespace quarvel
