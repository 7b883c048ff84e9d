#include "ui/DirectoryTree.h"

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "ui/ByteText.h"
#include "ui/FolderListing.h"
#include "ui/TreeImages.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <vector>

namespace quarvel {

namespace {

constexpr int kBytesRole = Qt::UserRole;
constexpr int kListedRole = Qt::UserRole + 1;

} // namespace

DirectoryTree::DirectoryTree(QWidget* parent) : QTreeWidget(parent), m_icon(folderItemIcon())
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(kTreeImageSize);
    setFrameShape(QFrame::StyledPanel);
    // Deep paths scroll sideways rather than being cut.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Listing comes first, so that whoever hears of an expansion sees the
    // children already in place.
    connect(this, &QTreeWidget::itemExpanded, this, &DirectoryTree::onExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &DirectoryTree::onCollapsed);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DirectoryTree::onSelectionChanged);
}

void DirectoryTree::fillRoots(FileSystem& fs)
{
    m_fs = &fs;
    for (const std::string& root : fs.roots()) {
        QTreeWidgetItem* item = newItem(root);
        addTopLevelItem(item);
        listChildren(item);
    }
}

QTreeWidgetItem* DirectoryTree::newItem(const std::string& bytes) const
{
    auto* item = new QTreeWidgetItem(QStringList(decodeBytes(bytes)));
    item->setData(0, kBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    item->setIcon(0, m_icon);
    // The expand button of a folder not yet listed.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

std::string DirectoryTree::itemBytes(const QTreeWidgetItem* item)
{
    const QByteArray bytes = item->data(0, kBytesRole).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool DirectoryTree::isListed(const QTreeWidgetItem* item)
{
    return item->data(0, kListedRole).toBool();
}

std::string DirectoryTree::itemPath(const QTreeWidgetItem* item)
{
    std::vector<const QTreeWidgetItem*> chain;
    for (const QTreeWidgetItem* at = item; at != nullptr; at = at->parent())
        chain.push_back(at);
    std::string path = itemBytes(chain.back()); // a top-level item holds its full path
    for (auto at = chain.rbegin() + 1; at != chain.rend(); ++at) {
        if (path.empty() || path.back() != kSeparator)
            path.push_back(kSeparator);
        path += itemBytes(*at);
    }
    return path;
}

// Lists a folder once: its subfolders go in as one sorted batch, and a
// folder without any (or one that cannot be read) loses its expand button.
void DirectoryTree::listChildren(QTreeWidgetItem* item)
{
    item->setData(0, kListedRole, true);
    std::string folder = itemPath(item);
    ensureTrailingSeparator(folder);
    QList<QTreeWidgetItem*> children;
    for (const std::string& name : listSubfolders(*m_fs, folder))
        children.append(newItem(name));
    item->addChildren(children);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void DirectoryTree::onExpanded(QTreeWidgetItem* item)
{
    if (!isListed(item) && m_fs != nullptr)
        listChildren(item);
    if (isEnabled())
        emit folderExpanded(itemPath(item));
}

void DirectoryTree::onCollapsed(QTreeWidgetItem* item)
{
    if (isEnabled())
        emit folderCollapsed(itemPath(item));
}

// Reports the item that has just become selected.
void DirectoryTree::onSelectionChanged(const QItemSelection& selected)
{
    if (selected.isEmpty() || !isEnabled())
        return;
    emit folderSelected(itemPath(itemFromIndex(selected.indexes().first())));
}

// "*" would expand every folder below the current one, level after level,
// and so list a whole file system; here it opens the current folder only.
void DirectoryTree::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Asterisk && currentItem() != nullptr) {
        currentItem()->setExpanded(true);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace quarvel
