#include "ui/MorphControls.h"

#include "ui/ByteLineEdit.h"
#include "ui/DialogLayout.h"
#include "ui/DirectoryTree.h"
#include "ui/FlagCheckBox.h"
#include "ui/HistoryComboBox.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

namespace quarvel {

namespace {

// Drop-down lists: the table's height includes the opened list; the closed
// box is as high as a text field, and the list shows as many items of one
// character height as fit into the rest.
constexpr int kComboEditHeight = 12;
constexpr int kComboItemHeight = 8;

class Builder
{
public:
    Builder(QDialog* dialog, DialogLayout& layout) : m_dialog(dialog), m_layout(layout) {}

    template <class Control, class... Args>
    Control* add(int id, const char* name, DialogRect rect, Args&&... args)
    {
        Control* control = create<Control>(id, name, std::forward<Args>(args)...);
        m_layout.place(control, rect);
        return control;
    }

    // A control with a text that may widen up to `rightLimit`.
    template <class Control>
    Control* addText(int id, const char* name, const char* text, DialogRect rect, int rightLimit)
    {
        Control* control = create<Control>(id, name, QString::fromLatin1(text));
        m_layout.placeText(control, rect, rightLimit);
        return control;
    }

    QLabel* label(const char* name, const char* text, DialogRect rect, int rightLimit)
    {
        return addText<QLabel>(0, name, text, rect, rightLimit);
    }

    FlagCheckBox* check(int id, const char* name, const char* text, DialogRect rect, int rightLimit)
    {
        return addText<FlagCheckBox>(id, name, text, rect, rightLimit);
    }

    QPushButton* button(int id, const char* name, const char* text, DialogRect rect)
    {
        return add<QPushButton>(id, name, rect, QString::fromLatin1(text));
    }

    HistoryComboBox* history(int id, const char* name, DialogRect rect)
    {
        const int listHeight = rect.height - kComboEditHeight;
        rect.height = kComboEditHeight;
        auto* combo = add<HistoryComboBox>(id, name, rect);
        combo->setMaxVisibleItems(qMax(1, listHeight / kComboItemHeight));
        return combo;
    }

    ByteLineEdit* field(int id, const char* name, DialogRect rect)
    {
        return add<ByteLineEdit>(id, name, rect);
    }

    QRadioButton* radio(int id, const char* name, const char* text, DialogRect rect, int rightLimit)
    {
        // Tab enters the group at the chosen button; the arrow keys choose
        // the other one.
        return addText<QRadioButton>(id, name, text, rect, rightLimit);
    }

    DirectoryTree* folderTree(int id, const char* name, DialogRect rect)
    {
        return add<DirectoryTree>(id, name, rect);
    }

private:
    template <class Control, class... Args>
    Control* create(int id, const char* name, Args&&... args)
    {
        auto* control = new Control(std::forward<Args>(args)..., m_dialog);
        control->setObjectName(QString::fromLatin1(name));
        if (id != 0)
            control->setProperty("controlId", id);
        return control;
    }

    QDialog* m_dialog;
    DialogLayout& m_layout;
};

// Each field is tied to the label above it (the label relation screen
// readers announce, and the shortcut of a label's mnemonic); the folder
// tree, which would be read by nothing, and the fields without a label of
// their own also carry a name.
void nameForScreenReaders(const MorphControls& c)
{
    const std::pair<QLabel*, QWidget*> labelled[] = {
        {c.maskLabel, c.mask}, {c.patternLabel, c.pattern}, {c.startLabel, c.startTree}};
    for (const auto& [label, field] : labelled) {
        label->setBuddy(field);
        field->setAccessibleName(label->text());
    }
    c.repPattern->setAccessibleName(QStringLiteral("Replacement text"));
    c.startDir->setAccessibleName(QStringLiteral("Start directory path"));
    c.outputTree->setAccessibleName(QStringLiteral("Output directory"));
    c.copyDir->setAccessibleName(QStringLiteral("Output directory path"));
    c.progress->setAccessibleName(QStringLiteral("Progress"));
}

} // namespace

MorphControls createMorphControls(QDialog* dialog, DialogLayout& layout)
{
    // Where a text may widen to (see DialogLayout::placeText): the left
    // column up to the right column, the check boxes of the lower left up
    // to their neighbours, and so on.
    constexpr int kLeftColumn = 170;
    constexpr int kRightColumn = 330;
    constexpr int kOptionsLeft = 100;  // left options up to the right ones
    constexpr int kOptionsRight = 216; // right options up to "Morph Files"
    constexpr int kOptionsBelow = 272; // right options below it, up to "Close"

    Builder b(dialog, layout);
    MorphControls c{};
    c.maskLabel = b.label("maskLabel", "File mask", {7, 7, 30, 8}, kLeftColumn);
    c.mask = b.history(1016, "mask", {7, 15, 69, 66});
    c.patternLabel = b.label("patternLabel", "Pattern to find", {7, 33, 45, 8}, 106);
    c.advanced = b.button(1028, "advanced", "Advanced", {108, 30, 42, 10});
    c.pattern = b.history(1018, "pattern", {7, 41, 156, 61});
    c.patternCase =
        b.check(1017, "patternCase", "Match pattern case", {7, 57, 77, 10}, kLeftColumn);
    c.rule = b.add<QFrame>(0, "rule", {15, 73, 130, 1});
    c.rule->setFrameShape(QFrame::HLine);
    c.rule->setFrameShadow(QFrame::Sunken);
    c.replace = b.check(1011, "replace", "Replace pattern with", {7, 81, 81, 10}, kLeftColumn);
    c.repPattern = b.field(1001, "repPattern", {7, 92, 156, 12});
    c.prepend = b.check(1034, "prepend", "Prepend to file data", {7, 105, 77, 10}, 88);
    c.append = b.check(1035, "append", "Append to file data", {89, 105, 75, 10}, kLeftColumn);
    c.modeGroup = b.add<QGroupBox>(0, "modeGroup", {19, 125, 128, 28},
                                   QStringLiteral("Search and Replace Mode"));
    c.fileName = b.radio(1020, "fileName", "File Name", {33, 138, 47, 10}, 86);
    c.fileData = b.radio(1021, "fileData", "File Data", {87, 138, 44, 10}, 145);
    c.rename = b.check(1010, "rename", "Update in place", {13, 163, 66, 10}, kOptionsLeft);
    c.interactive =
        b.check(1019, "interactive", "Interactive mode", {101, 163, 69, 10}, kOptionsRight);
    c.lowerFile =
        b.check(1002, "lowerFile", "Lower file name case", {13, 173, 83, 10}, kOptionsLeft);
    c.wholeWord =
        b.check(1039, "wholeWord", "Whole word search", {101, 173, 77, 10}, kOptionsRight);
    c.lowerExt = b.check(1015, "lowerExt", "Lower extension case", {13, 183, 85, 10}, kOptionsLeft);
    c.ignoreCR = b.check(1022, "ignoreCR", "Ignore CR/LF when searching", {101, 183, 111, 10},
                         kOptionsBelow);
    c.recurse = b.check(1004, "recurse", "Recurse directory tree", {13, 193, 85, 10}, kOptionsLeft);
    c.crAsSpace =
        b.check(1040, "crAsSpace", "Treat CR/LF as space", {101, 193, 87, 10}, kOptionsBelow);
    c.startLabel = b.label("startLabel", "Start directory", {175, 7, 44, 8}, kRightColumn);
    c.startTree = b.folderTree(1013, "startTree", {175, 15, 155, 50});
    c.startDir = b.field(1005, "startDir", {175, 66, 155, 12});
    c.copy = b.check(1009, "copy", "Copy updated files to", {175, 83, 82, 10}, kRightColumn);
    c.outputTree = b.folderTree(1014, "outputTree", {175, 93, 155, 50});
    c.copyDir = b.field(1007, "copyDir", {175, 144, 155, 12});
    c.morphFiles = b.button(1, "morphFiles", "Morph Files", {218, 164, 50, 14});
    c.viewLog = b.button(3, "viewLog", "View Log", {274, 164, 50, 14});
    c.close = b.button(2, "close", "Close", {274, 183, 50, 14});
    c.progress = b.add<QProgressBar>(1025, "progress", {7, 205, 323, 6});
    nameForScreenReaders(c);
    c.progress->setRange(0, 100);
    c.progress->setTextVisible(false);
    c.progress->setVisible(false);
    c.morphFiles->setDefault(true);
    return c;
}

} // namespace quarvel
