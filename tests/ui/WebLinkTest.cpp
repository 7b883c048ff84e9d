#include "ui/WebLink.h"

#include "tests/ui/MorphDialogTestBase.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/UrlOpener.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

// Records each page it is asked to open, with the link's state at that
// moment, and answers as told.
class FakeOpener : public UrlOpener
{
public:
    bool open(const QUrl& url) override
    {
        opened.push_back(url.toString());
        hotWhenOpened.push_back(link != nullptr && link->isHot());
        return succeed;
    }

    bool succeed = true;
    const WebLink* link = nullptr;
    std::vector<QString> opened;
    std::vector<bool> hotWhenOpened;
};

TEST(WebLinkArea, EveryBoundIsOutside)
{
    const QSize client(600, 400); // bottom = 400
    EXPECT_TRUE(WebLink::inLinkArea(client, {21, 382}));
    EXPECT_TRUE(WebLink::inLinkArea(client, {217, 391}));
    EXPECT_FALSE(WebLink::inLinkArea(client, {20, 385}));  // left + 20
    EXPECT_FALSE(WebLink::inLinkArea(client, {218, 385})); // left + 218
    EXPECT_FALSE(WebLink::inLinkArea(client, {100, 381})); // bottom - 19
    EXPECT_FALSE(WebLink::inLinkArea(client, {100, 392})); // bottom - 8
    EXPECT_EQ(WebLink::textOrigin(client), QPoint(20, 380));
}

class WebLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        opener.link = &dialog.webLink();
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    const WebLink& link() const { return dialog.webLink(); }
    QPoint inside() const { return {100, dialog.height() - 12}; }
    QPoint outside() const { return {100, dialog.height() - 4}; }

    void moveTo(QWidget* target, const QPoint& point)
    {
        QMouseEvent move(QEvent::MouseMove, point, target->mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    void move(const QPoint& point) { moveTo(&dialog, point); }
    void release(Qt::MouseButton button, const QPoint& point)
    {
        QMouseEvent up(QEvent::MouseButtonRelease, point, dialog.mapToGlobal(point), button,
                       Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &up);
    }

    // Whether the link's text holds pixels of exactly `color`.
    bool linkShows(const QColor& color)
    {
        const QImage image = dialog.grab().toImage();
        const QPoint origin = WebLink::textOrigin(dialog.size()) * image.devicePixelRatio();
        for (int y = origin.y(); y < origin.y() + 16 && y < image.height(); ++y)
            for (int x = origin.x(); x < origin.x() + 150; ++x)
                if (image.pixelColor(x, y) == color)
                    return true;
        return false;
    }

    PosixFileSystem fs;
    FakeOpener opener;
    MorphDialog dialog{fs, nullptr, &opener};
};

TEST_F(WebLinkTest, PaintsNormalAndHotWithOneRepaintPerChange)
{
    EXPECT_TRUE(linkShows(WebLink::kNormalColor));
    EXPECT_FALSE(link().isHot());
    move(inside());
    EXPECT_TRUE(link().isHot());
    EXPECT_EQ(link().repaintCount(), 1);
    EXPECT_TRUE(linkShows(WebLink::kHotColor));
    EXPECT_FALSE(linkShows(WebLink::kNormalColor));
    move(inside() + QPoint(50, 2)); // still inside: nothing drawn
    EXPECT_EQ(link().repaintCount(), 1);
    move(outside());
    EXPECT_FALSE(link().isHot());
    EXPECT_EQ(link().repaintCount(), 2);
    move(outside() + QPoint(5, 0));
    EXPECT_EQ(link().repaintCount(), 2);
    EXPECT_TRUE(linkShows(WebLink::kNormalColor));
    EXPECT_EQ(dialog.cursor().shape(), Qt::ArrowCursor); // never changed
}

TEST_F(WebLinkTest, MovesOverChildControlsAndLeavingKeepTheState)
{
    move(inside());
    // A label passes its moves on to the dialog; they do not count.
    moveTo(dialog.controls().maskLabel, QPoint(2, 2));
    EXPECT_TRUE(link().isHot());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&dialog, &leave);
    EXPECT_TRUE(link().isHot());
    EXPECT_EQ(link().repaintCount(), 1);
}

TEST_F(WebLinkTest, AReleaseWhileNotHotDoesNothing)
{
    release(Qt::LeftButton, inside()); // over the area, but no move made it hot
    release(Qt::LeftButton, outside());
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(link().repaintCount(), 0);
    move(inside());
    release(Qt::RightButton, inside()); // only the left button counts
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(link().isHot());
}

TEST_F(WebLinkTest, AClickWhileHotTurnsItNormalThenOpensThePage)
{
    move(inside());
    release(Qt::LeftButton, inside());
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QStringLiteral("https://www.brantwick.example"));
    EXPECT_FALSE(opener.hotWhenOpened[0]);
    EXPECT_FALSE(link().isHot());
    EXPECT_EQ(link().repaintCount(), 2);
    EXPECT_TRUE(linkShows(WebLink::kNormalColor));
    release(Qt::LeftButton, inside()); // not hot any more
    EXPECT_EQ(opener.opened.size(), 1u);
}

TEST_F(WebLinkTest, AFailingOpenerShowsTheWarningOnce)
{
    opener.succeed = false;
    std::vector<QString> boxes;
    ModalScript script;
    script.onOtherDialog = [&boxes](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr)
            return;
        boxes.push_back(box->text());
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    };
    move(inside());
    release(Qt::LeftButton, inside());
    EXPECT_EQ(boxes, std::vector<QString>{QStringLiteral("Failed to start web browser.")});
    EXPECT_EQ(opener.opened.size(), 1u); // not retried
    EXPECT_FALSE(link().isHot());
}

} // namespace
} // namespace quarvel::test
