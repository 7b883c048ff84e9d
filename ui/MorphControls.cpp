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
    Control* add(const char* name, DialogRect rect, Args&&... args)
    {
        Control* control = create<Control>(name, std::forward<Args>(args)...);
        m_layout.place(control, rect);
        return control;
    }

    // A control with a text that may widen up to `rightLimit`.
    template <class Control>
    Control* addText(const char* name, const char* text, DialogRect rect, int rightLimit)
    {
        Control* control = create<Control>(name, QString::fromLatin1(text));
        m_layout.placeText(control, rect, rightLimit);
        return control;
    }

    QLabel* label(const char* name, const char* text, DialogRect rect, int rightLimit)
    {
        return addText<QLabel>(name, text, rect, rightLimit);
    }

    FlagCheckBox* check(const char* name, const char* text, DialogRect rect, int rightLimit)
    {
        return addText<FlagCheckBox>(name, text, rect, rightLimit);
    }

    QPushButton* button(const char* name, const char* text, DialogRect rect)
    {
        return add<QPushButton>(name, rect, QString::fromLatin1(text));
    }

    HistoryComboBox* history(const char* name, DialogRect rect)
    {
        const int listHeight = rect.height - kComboEditHeight;
        rect.height = kComboEditHeight;
        auto* combo = add<HistoryComboBox>(name, rect);
        combo->setMaxVisibleItems(qMax(1, listHeight / kComboItemHeight));
        return combo;
    }

    ByteLineEdit* field(const char* name, DialogRect rect) { return add<ByteLineEdit>(name, rect); }

    QRadioButton* radio(const char* name, const char* text, DialogRect rect, int rightLimit)
    {
        // Tab enters the group at the chosen button; the arrow keys choose
        // the other one.
        return addText<QRadioButton>(name, text, rect, rightLimit);
    }

    DirectoryTree* folderTree(const char* name, DialogRect rect)
    {
        return add<DirectoryTree>(name, rect);
    }

private:
    template <class Control, class... Args>
    Control* create(const char* name, Args&&... args)
    {
        auto* control = new Control(std::forward<Args>(args)..., m_dialog);
        control->setObjectName(QString::fromLatin1(name));
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
    c.mask = b.history("mask", {7, 15, 69, 66});
    c.patternLabel = b.label("patternLabel", "Pattern to find", {7, 33, 45, 8}, 106);
    c.advanced = b.button("advanced", "Advanced", {108, 30, 42, 10});
    c.pattern = b.history("pattern", {7, 41, 156, 61});
    c.patternCase = b.check("patternCase", "Match pattern case", {7, 57, 77, 10}, kLeftColumn);
    c.regex = b.check("regex", "Regular expression", {89, 57, 75, 10}, kLeftColumn);
    c.regex->setToolTip(QStringLiteral("The pattern is a PCRE2 regular expression; the "
                                       "replacement may use $1, ${1}, ${name} and $$"));
    c.rule = b.add<QFrame>("rule", {15, 73, 130, 1});
    c.rule->setFrameShape(QFrame::HLine);
    c.rule->setFrameShadow(QFrame::Sunken);
    c.replace = b.check("replace", "Replace pattern with", {7, 81, 81, 10}, kLeftColumn);
    c.repPattern = b.field("repPattern", {7, 92, 156, 12});
    c.prepend = b.check("prepend", "Prepend to file data", {7, 105, 77, 10}, 88);
    c.append = b.check("append", "Append to file data", {89, 105, 75, 10}, kLeftColumn);
    c.modeGroup = b.add<QGroupBox>("modeGroup", {19, 125, 128, 28},
                                   QStringLiteral("Search and Replace Mode"));
    c.fileName = b.radio("fileName", "File Name", {33, 138, 47, 10}, 86);
    c.fileData = b.radio("fileData", "File Data", {87, 138, 44, 10}, 145);
    c.rename = b.check("rename", "Update in place", {13, 163, 66, 10}, kOptionsLeft);
    c.interactive = b.check("interactive", "Interactive mode", {101, 163, 69, 10}, kOptionsRight);
    c.lowerFile = b.check("lowerFile", "Lower file name case", {13, 173, 83, 10}, kOptionsLeft);
    c.wholeWord = b.check("wholeWord", "Whole word search", {101, 173, 77, 10}, kOptionsRight);
    c.lowerExt = b.check("lowerExt", "Lower extension case", {13, 183, 85, 10}, kOptionsLeft);
    c.ignoreCR = b.check("ignoreCR", "Ignore CR/LF when searching", {101, 183, 111, 10}, 213);
    c.unicodeCase = b.check("unicodeCase", "Unicode case", {214, 183, 58, 10}, 272);
    c.unicodeCase->setToolTip(QStringLiteral("Lower-casing and case-blind matching follow "
                                             "Unicode for UTF-8 names and text (\u00C4 to "
                                             "\u00E4), not ASCII letters only"));
    c.recurse = b.check("recurse", "Recurse directory tree", {13, 193, 85, 10}, kOptionsLeft);
    c.crAsSpace = b.check("crAsSpace", "Treat CR/LF as space", {101, 193, 87, 10}, kOptionsBelow);
    c.startLabel = b.label("startLabel", "Start directory", {175, 7, 44, 8}, kRightColumn);
    c.startTree = b.folderTree("startTree", {175, 15, 155, 50});
    c.startDir = b.field("startDir", {175, 66, 155, 12});
    c.copy = b.check("copy", "Copy updated files to", {175, 83, 82, 10}, kRightColumn);
    c.outputTree = b.folderTree("outputTree", {175, 93, 155, 50});
    c.copyDir = b.field("copyDir", {175, 144, 155, 12});
    c.morphFiles = b.button("morphFiles", "Morph Files", {218, 164, 50, 14});
    c.viewLog = b.button("viewLog", "View Log", {274, 164, 50, 14});
    c.close = b.button("close", "Close", {274, 183, 50, 14});
    c.progress = b.add<QProgressBar>("progress", {7, 205, 323, 6});
    nameForScreenReaders(c);
    c.progress->setRange(0, 100);
    c.progress->setTextVisible(false);
    c.progress->setVisible(false);
    c.morphFiles->setDefault(true);
    return c;
}

} // namespace quarvel
