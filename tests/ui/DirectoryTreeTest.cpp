#include "ui/DirectoryTree.h"

#include "platform/PosixFileSystem.h"
#include "tests/support/FaultFileSystem.h"
#include "tests/support/TempDir.h"
#include "tests/ui/MorphDialogTestBase.h"
#include "ui/FolderListing.h"
#include "ui/TreeImages.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

// Points HOME at `folder` while it lives.
class HomeFolder
{
public:
    explicit HomeFolder(const std::string& folder)
    {
        if (const char* old = std::getenv("HOME"))
            m_old = old;
        ::setenv("HOME", folder.c_str(), 1);
    }
    ~HomeFolder() { ::setenv("HOME", m_old.c_str(), 1); }

private:
    std::string m_old;
};

// Selects an item as a click does, without opening its parents.
void select(QTreeWidgetItem* item)
{
    item->treeWidget()->clearSelection();
    item->setSelected(true);
}

std::string withoutSeparator(std::string path)
{
    path.pop_back();
    return path;
}

// A home folder with nested folders, files, hidden and odd names, and links.
class DirectoryTreeTest : public ::testing::Test
{
protected:
    DirectoryTreeTest()
    {
        home.makeDir("Data/Old/Older");
        home.makeDir("Data/New");
        home.makeDir("apple");
        home.makeDir("Banana");
        home.makeDir(".hidden");
        home.makeDir("with spaces and.several.dots");
        home.makeDir(std::string("bad\xff\xfe name"));
        home.makeDir("FilesOnly");
        home.write("FilesOnly/a.txt", "a");
        home.write("FilesOnly/b", "b");
        home.write("readme.txt", "not a folder");
        EXPECT_EQ(::symlink("Data", (home / "LinkToData").c_str()), 0);
        EXPECT_EQ(::symlink("readme.txt", (home / "LinkToFile").c_str()), 0);
        EXPECT_EQ(::symlink("nowhere", (home / "Dangling").c_str()), 0);
    }

    void fill() { tree.fillRoots(counting); }
    QTreeWidgetItem* homeItem() const { return tree.topLevelItem(1); }

    static QTreeWidgetItem* childNamed(const QTreeWidgetItem* parent, const std::string& name)
    {
        for (int i = 0; i < parent->childCount(); ++i) {
            if (DirectoryTree::itemBytes(parent->child(i)) == name)
                return parent->child(i);
        }
        throw std::runtime_error("no child " + name);
    }

    static std::vector<std::string> childNames(const QTreeWidgetItem* parent)
    {
        std::vector<std::string> names;
        for (int i = 0; i < parent->childCount(); ++i)
            names.push_back(DirectoryTree::itemBytes(parent->child(i)));
        return names;
    }

    int listings(const std::string& folder) const
    {
        return static_cast<int>(std::count(counting.calls.begin(), counting.calls.end(),
                                           std::make_pair(FsOperation::List, folder)));
    }

    int allListings() const
    {
        return static_cast<int>(
            std::count_if(counting.calls.begin(), counting.calls.end(),
                          [](const auto& call) { return call.first == FsOperation::List; }));
    }

    TempDir home;
    HomeFolder homeVariable{withoutSeparator(home.path())};
    PosixFileSystem fs;
    FaultFileSystem counting{fs};
    DirectoryTree tree;
};

TEST_F(DirectoryTreeTest, TopLevelIsTheRootThenTheHomeFolderEachListedAtOnce)
{
    fill();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), QStringLiteral("/"));
    EXPECT_EQ(homeItem()->text(0).toStdString(), withoutSeparator(home.path()));
    EXPECT_TRUE(DirectoryTree::isListed(tree.topLevelItem(0)));
    EXPECT_TRUE(DirectoryTree::isListed(homeItem()));
    // Start-up lists the two top-level folders and nothing else.
    EXPECT_EQ(allListings(), 2);
    EXPECT_EQ(listings("/"), 1);
    EXPECT_EQ(listings(home.path()), 1);
    EXPECT_EQ(DirectoryTree::itemPath(tree.topLevelItem(0)), "/");
    EXPECT_EQ(DirectoryTree::itemPath(childNamed(tree.topLevelItem(0), "tmp")), "/tmp");
}

TEST_F(DirectoryTreeTest, ShowsFoldersAndLinkedFoldersSortedWithoutCaseNeverFiles)
{
    fill();
    const std::vector<std::string> expected = {
        ".hidden",   "apple",      std::string("bad\xff\xfe name"), "Banana", "Data",
        "FilesOnly", "LinkToData", "with spaces and.several.dots"};
    EXPECT_EQ(childNames(homeItem()), expected);
    for (int i = 0; i < homeItem()->childCount(); ++i) {
        const QTreeWidgetItem* child = homeItem()->child(i);
        EXPECT_FALSE(DirectoryTree::isListed(child));
        EXPECT_EQ(child->childCount(), 0);
        EXPECT_EQ(child->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    }
}

TEST_F(DirectoryTreeTest, NamesShowAsTheyAreAndInvalidBytesAsReplacementCharacters)
{
    fill();
    const QTreeWidgetItem* dots = childNamed(homeItem(), "with spaces and.several.dots");
    EXPECT_EQ(dots->text(0), QStringLiteral("with spaces and.several.dots"));
    const std::string badName("bad\xff\xfe name");
    const QTreeWidgetItem* bad = childNamed(homeItem(), badName);
    EXPECT_EQ(bad->text(0), QStringLiteral("bad\uFFFD\uFFFD name"));
    EXPECT_EQ(DirectoryTree::itemPath(bad), home.path() + badName);
    // The real bytes reach the file system when it is opened.
    QTreeWidgetItem* badItem = childNamed(homeItem(), badName);
    badItem->setExpanded(true);
    EXPECT_EQ(listings(home.path() + badName + "/"), 1);
}

TEST_F(DirectoryTreeTest, ExpandingListsOnceAndPathsAreCleanAtEveryLevel)
{
    fill();
    QTreeWidgetItem* data = childNamed(homeItem(), "Data");
    data->setExpanded(true);
    EXPECT_EQ(childNames(data), (std::vector<std::string>{"New", "Old"}));
    home.makeDir("Data/Later"); // made after the listing: not shown
    data->setExpanded(false);
    data->setExpanded(true);
    EXPECT_EQ(listings(home / "Data/"), 1);
    EXPECT_EQ(childNames(data), (std::vector<std::string>{"New", "Old"}));
    QTreeWidgetItem* old = childNamed(data, "Old");
    old->setExpanded(true);
    EXPECT_EQ(DirectoryTree::itemPath(childNamed(old, "Older")), home / "Data/Old/Older");
    EXPECT_EQ(DirectoryTree::itemPath(homeItem()), withoutSeparator(home.path()));
}

TEST_F(DirectoryTreeTest, FilesOnlyEmptyAndUnreadableFoldersLoseTheirExpandButton)
{
    home.makeDir("Locked");
    counting.failWhen = [this](FsOperation operation, const std::string& path) {
        return operation == FsOperation::List && path == home / "Locked/" ? Status::error(EACCES)
                                                                          : Status::ok();
    };
    fill();
    for (const char* name : {"FilesOnly", "apple", "Locked"}) {
        QTreeWidgetItem* item = childNamed(homeItem(), name);
        item->setExpanded(true);
        EXPECT_TRUE(DirectoryTree::isListed(item)) << name;
        EXPECT_EQ(item->childCount(), 0) << name;
        EXPECT_EQ(item->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless)
            << name;
    }
    EXPECT_EQ(listings(home / "Locked/"), 1);              // tried once, never again
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // nothing reported
}

TEST_F(DirectoryTreeTest, ReportsSelectionExpansionAndCollapseWithThePathNeverSelectingItself)
{
    QSignalSpy selected(&tree, &DirectoryTree::folderSelected);
    QSignalSpy expanded(&tree, &DirectoryTree::folderExpanded);
    QSignalSpy collapsed(&tree, &DirectoryTree::folderCollapsed);
    fill();
    tree.show();
    tree.setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(tree.selectedItems().isEmpty());
    EXPECT_EQ(selected.count() + expanded.count() + collapsed.count(), 0);

    QTreeWidgetItem* data = childNamed(homeItem(), "Data");
    data->setExpanded(true);
    data->setExpanded(false);
    select(childNamed(data, "Old"));
    ASSERT_EQ(expanded.count(), 1);
    EXPECT_EQ(expanded.at(0).at(0).value<std::string>(), home / "Data");
    ASSERT_EQ(collapsed.count(), 1);
    EXPECT_EQ(collapsed.at(0).at(0).value<std::string>(), home / "Data");
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).value<std::string>(), home / "Data/Old");

    tree.setEnabled(false);
    childNamed(homeItem(), "apple")->setExpanded(true);
    select(childNamed(homeItem(), "apple"));
    EXPECT_EQ(expanded.count() + selected.count(), 2);
}

TEST(FolderNameOrder, FoldsAsciiCaseThenFallsBackToBytes)
{
    EXPECT_TRUE(folderNameLess("apple", "Banana"));
    EXPECT_TRUE(folderNameLess("Banana", "cherry"));
    EXPECT_TRUE(folderNameLess("Data", "data")); // equal but for case: byte order
    EXPECT_FALSE(folderNameLess("data", "Data"));
    EXPECT_TRUE(folderNameLess("a", "ab"));
    EXPECT_TRUE(folderNameLess("zeta", "\xc3\xa9t\xc3\xa9")); // UTF-8 after ASCII
    EXPECT_FALSE(folderNameLess("same", "same"));
}

TEST(TreeImages, TickAndDiscAtBothScales)
{
    const QIcon icon = folderItemIcon();
    for (const qreal scale : {1.0, 2.0}) {
        const QImage tick = icon.pixmap(kTreeImageSize, scale, QIcon::Normal).toImage();
        const QImage disc = icon.pixmap(kTreeImageSize, scale, QIcon::Selected).toImage();
        EXPECT_EQ(tick.size(), kTreeImageSize * scale);
        EXPECT_EQ(disc.size(), kTreeImageSize * scale);
        // The middle of the disc is red; the tick leaves its top-left corner clear.
        const QColor middle = disc.pixelColor(disc.width() / 2, disc.height() / 2);
        EXPECT_GT(middle.red(), 150);
        EXPECT_LT(middle.green(), 120);
        EXPECT_EQ(tick.pixelColor(0, 0).alpha(), 0);
        const QColor stroke = tick.pixelColor(int(6.5 * scale), int(10 * scale) - 1);
        EXPECT_GT(stroke.green(), stroke.red());
    }
}

// The trees in the main dialog.
class MorphDialogTreesTest : public MorphDialogTest
{
protected:
    void SetUp() override
    {
        home.makeDir("Data/Old");
        home.makeDir("Out/Sub");
        settings().StartDir = "/start/";
        settings().CopyDir = "/copy/";
    }

    QTreeWidgetItem* homeItem(const DirectoryTree* tree) const { return tree->topLevelItem(1); }
    static QTreeWidgetItem* child(QTreeWidgetItem* parent, const char* name)
    {
        for (int i = 0; i < parent->childCount(); ++i) {
            if (parent->child(i)->text(0) == QLatin1String(name))
                return parent->child(i);
        }
        throw std::runtime_error(std::string("no child ") + name);
    }

    TempDir home;
    HomeFolder homeVariable{withoutSeparator(home.path())};
};

TEST_F(MorphDialogTreesTest, TheStartTreeSetsOnlyStartDirAfterReadingTheControls)
{
    open();
    ASSERT_EQ(c().startTree->topLevelItemCount(), 2);
    c().repPattern->setText(QStringLiteral("typed"));
    QTreeWidgetItem* data = child(homeItem(c().startTree), "Data");
    data->setExpanded(true);
    EXPECT_EQ(settings().StartDir, home / "Data");
    select(child(data, "Old"));
    EXPECT_EQ(settings().StartDir, home / "Data/Old");
    EXPECT_EQ(c().startDir->bytes(), home / "Data/Old");
    EXPECT_EQ(settings().RepPattern, "typed"); // read before the path went in
    select(c().startTree->topLevelItem(0));
    EXPECT_EQ(settings().StartDir, "/");
    // Closing an item chooses it even while another is selected.
    data->setExpanded(false);
    EXPECT_EQ(settings().StartDir, home / "Data");
    EXPECT_EQ(settings().CopyDir, "/copy/");
}

TEST_F(MorphDialogTreesTest, TheOutputTreeSetsOnlyCopyDirAndNothingWhileDisabled)
{
    open();
    ASSERT_FALSE(c().outputTree->isEnabled()); // Copy is 0 at first
    QTreeWidgetItem* out = child(homeItem(c().outputTree), "Out");
    out->setExpanded(true);
    select(out);
    EXPECT_EQ(settings().CopyDir, "/copy/");
    EXPECT_EQ(c().copyDir->bytes(), "/copy/");

    c().copy->click();
    ASSERT_TRUE(c().outputTree->isEnabled());
    select(child(out, "Sub"));
    EXPECT_EQ(settings().CopyDir, home / "Out/Sub");
    EXPECT_EQ(c().copyDir->bytes(), home / "Out/Sub");
    out->setExpanded(false);
    EXPECT_EQ(settings().CopyDir, home / "Out");
    EXPECT_EQ(settings().StartDir, "/start/");
}

} // namespace
} // namespace quarvel::test
