#include "ui/DialogUnits.h"

#include "platform/PosixFileSystem.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/ByteLineEdit.h"
#include "ui/FlagCheckBox.h"
#include "ui/HistoryComboBox.h"
#include "ui/MorphDialog.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

TEST(DialogUnitsTest, ConvertsEachEdgeFromTheFontBase)
{
    // 8 px average character width, 16 px character height: 2 px a unit.
    const DialogUnits units(8.0, 16.0);
    EXPECT_EQ(units.rect({7, 15, 69, 12}), QRect(14, 30, 138, 24));
    EXPECT_EQ(units.size(337, 226), QSize(674, 452));
    // Fractional bases round each edge, so neighbours share their edge:
    // 1.85 px a unit puts the end of 7..89 where 89.. begins.
    const DialogUnits odd(7.4, 14.0);
    const QRect left = odd.rect({7, 105, 82, 10});
    const QRect right = odd.rect({89, 105, 75, 10});
    EXPECT_EQ(left.left() + left.width(), right.left());
}

// The pixel rectangle a control of the table must have in `font`,
// computed from the font's metrics.
QRect expectedRect(const QFont& font, int x, int y, int w, int h)
{
    const QFontMetricsF metrics(font);
    const qreal baseX = metrics.horizontalAdvance(QStringLiteral(
                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                        52;
    const qreal baseY = metrics.height();
    const int left = qRound(x * baseX / 4);
    const int top = qRound(y * baseY / 8);
    return QRect(left, top, qRound((x + w) * baseX / 4) - left, qRound((y + h) * baseY / 8) - top);
}

void expectTablePlacement(const MorphDialog& dialog, const QFont& font)
{
    const MorphControls& c = dialog.controls();
    EXPECT_EQ(c.startTree->geometry(), expectedRect(font, 175, 15, 155, 50));
    EXPECT_EQ(c.copyDir->geometry(), expectedRect(font, 175, 144, 155, 12));
    EXPECT_EQ(c.repPattern->geometry(), expectedRect(font, 7, 92, 156, 12));
    EXPECT_EQ(c.morphFiles->geometry(), expectedRect(font, 218, 164, 50, 14));
    // A drop-down list's closed box is a text field's height high.
    EXPECT_EQ(c.pattern->geometry(), expectedRect(font, 7, 41, 156, 12));
    EXPECT_EQ(dialog.size(), expectedRect(font, 0, 0, 337, 226).size());
    // A text control keeps its place; it is at least as wide as its
    // rectangle, and wide enough for its text when there is room.
    const QRect box = expectedRect(font, 101, 183, 111, 10);
    EXPECT_EQ(c.ignoreCR->geometry().topLeft(), box.topLeft());
    EXPECT_EQ(c.ignoreCR->height(), box.height());
    EXPECT_GE(c.ignoreCR->width(), box.width());
    EXPECT_GE(c.ignoreCR->width(), c.ignoreCR->sizeHint().width());
}

TEST(DialogUnitsTest, MainDialogFollowsTheTableInTwoFonts)
{
    PosixFileSystem fs;
    const QFont small(QStringLiteral("DejaVu Sans"), 8);
    const QFont large(QStringLiteral("DejaVu Serif"), 13);
    MorphDialog dialog(fs);
    dialog.setFont(small);
    expectTablePlacement(dialog, small);
    const QSize smallSize = dialog.size();
    dialog.setFont(large);
    expectTablePlacement(dialog, large);
    EXPECT_GT(dialog.width(), smallSize.width() * 3 / 2);
    // Fixed size: no resizing, no maximize box.
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST(DialogUnitsTest, NoTextOfTheMainDialogIsCut)
{
    PosixFileSystem fs;
    MorphDialog dialog(fs);
    for (const QFont& font :
         {QFont(QStringLiteral("DejaVu Sans"), 9), QFont(QStringLiteral("DejaVu Serif"), 11)}) {
        dialog.setFont(font);
        for (auto* box : dialog.findChildren<QCheckBox*>())
            EXPECT_GE(box->width(), box->sizeHint().width()) << box->objectName().toStdString();
        for (auto* radio : dialog.findChildren<QRadioButton*>())
            EXPECT_GE(radio->width(), radio->sizeHint().width());
        for (auto* button : dialog.findChildren<QPushButton*>()) {
            EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()) + 8)
                << button->objectName().toStdString();
        }
        for (auto* label : dialog.findChildren<QLabel*>())
            EXPECT_GE(label->width(), label->sizeHint().width());
    }
}

} // namespace
} // namespace quarvel::test
