#include "ui/AboutDialog.h"

#include "tests/ui/MorphDialogTestBase.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DialogUnits.h"
#include "ui/QuarvelLogo.h"

#include <QLabel>
#include <QMenu>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

TEST(AboutDialog, ShowsTheProductTheMakerAndTheLogo)
{
    AboutDialog about;
    about.show();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Quarvel..."));
    EXPECT_EQ(about.size(), DialogUnits(about.font()).size(260, 89));
    EXPECT_EQ(child<QLabel>(&about, "version")->text(), QStringLiteral("Quarvel v1.0"));
    EXPECT_FALSE(child<QLabel>(&about, "notice1")->text().isEmpty());
    EXPECT_FALSE(child<QLabel>(&about, "notice2")->text().isEmpty());
    const QLabel* address = child<QLabel>(&about, "address");
    EXPECT_EQ(address->text(),
              QStringLiteral("https://www.brantwick.example\nquarvel@brantwick.example"));
    EXPECT_TRUE(address->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(address->frameShadow(), QFrame::Sunken);
    const QPixmap logo = child<QLabel>(&about, "logo")->pixmap();
    EXPECT_EQ(logo.deviceIndependentSize().toSize(), kLogoSize);
    EXPECT_TRUE(child<QPushButton>(&about, "ok")->isDefault());
}

TEST(AboutDialog, LogoIsDrawnAtOneAndTwoTimes)
{
    for (const qreal scale : {1.0, 2.0}) {
        const QImage logo = quarvelLogo(scale).toImage();
        EXPECT_EQ(logo.size(), kLogoSize * scale);
        // The middle of the icon's badge is teal.
        const QColor badge = logo.pixelColor(int(38.5 * scale), int(40.5 * scale));
        EXPECT_EQ(badge, QColor(0x1d, 0x74, 0x86)) << scale;
    }
}

// Each way of ending the box, with the box already showing.
TEST(AboutDialog, OkEnterEscAndTheCloseBoxAllCloseIt)
{
    const std::vector<std::function<void(AboutDialog&)>> ends = {
        [](AboutDialog& d) { child<QPushButton>(&d, "ok")->click(); },
        [](AboutDialog& d) { QTest::keyClick(&d, Qt::Key_Return); },
        [](AboutDialog& d) { QTest::keyClick(&d, Qt::Key_Enter); },
        [](AboutDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](AboutDialog& d) { d.close(); },
    };
    for (std::size_t i = 0; i < ends.size(); ++i) {
        AboutDialog about;
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        ends[i](about);
        EXPECT_FALSE(about.isVisible()) << i;
    }
}

class AboutFromMainDialogTest : public MorphDialogTest
{
};

TEST_F(AboutFromMainDialogTest, TheContextMenuItemShowsTheBoxAndTheDialogGoesOn)
{
    settings().RepPattern = "unchanged";
    open();
    int shown = 0;
    ModalScript script;
    script.onOtherDialog = [&shown](QWidget* modal) {
        if (auto* about = qobject_cast<AboutDialog*>(modal)) {
            ++shown;
            QTest::keyClick(about, Qt::Key_Escape);
        }
    };
    QTimer::singleShot(20, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->findChild<QAction*>(QStringLiteral("aboutAction"))->trigger();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(300, 380),
                            dialog->mapToGlobal(QPoint(300, 380)));
    QApplication::sendEvent(dialog.get(), &event);
    QTRY_COMPARE(shown, 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(c().repPattern->bytes(), "unchanged");
}

} // namespace
} // namespace quarvel::test
