#pragma once

#include "ui/DirectoryTree.h"

class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace quarvel {

class ByteLineEdit;
class DialogLayout;
class FlagCheckBox;
class HistoryComboBox;

// The controls of the main dialog, in tab order, each with an object name.
struct MorphControls
{
    QLabel* maskLabel;
    HistoryComboBox* mask;
    QLabel* patternLabel;
    QPushButton* advanced;
    HistoryComboBox* pattern;
    FlagCheckBox* patternCase;
    FlagCheckBox* regex;
    QFrame* rule;
    FlagCheckBox* replace;
    ByteLineEdit* repPattern;
    FlagCheckBox* prepend;
    FlagCheckBox* append;
    QGroupBox* modeGroup;
    QRadioButton* fileName;
    QRadioButton* fileData;
    FlagCheckBox* rename;
    FlagCheckBox* interactive;
    FlagCheckBox* lowerFile;
    FlagCheckBox* wholeWord;
    FlagCheckBox* lowerExt;
    FlagCheckBox* ignoreCR;
    FlagCheckBox* unicodeCase;
    FlagCheckBox* recurse;
    FlagCheckBox* crAsSpace;
    QLabel* startLabel;
    DirectoryTree* startTree;
    ByteLineEdit* startDir;
    FlagCheckBox* copy;
    DirectoryTree* outputTree;
    ByteLineEdit* copyDir;
    QPushButton* morphFiles; // 1, the default button
    QPushButton* viewLog;    // 3
    QPushButton* close;      // 2
    QProgressBar* progress;
};

// Creates every control as a child of `dialog`, in tab order (the order of
// creation is the focus chain), and enters its rectangle into `layout`.
MorphControls createMorphControls(QDialog* dialog, DialogLayout& layout);

} // namespace quarvel
