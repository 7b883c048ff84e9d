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

// The controls of the main dialog, in tab order. Each carries its control
// id (the "controlId" property) and an object name.
struct MorphControls
{
    QLabel* maskLabel;
    HistoryComboBox* mask; // 1016
    QLabel* patternLabel;
    QPushButton* advanced;     // 1028
    HistoryComboBox* pattern;  // 1018
    FlagCheckBox* patternCase; // 1017
    QFrame* rule;
    FlagCheckBox* replace;    // 1011
    ByteLineEdit* repPattern; // 1001
    FlagCheckBox* prepend;    // 1034
    FlagCheckBox* append;     // 1035
    QGroupBox* modeGroup;
    QRadioButton* fileName;    // 1020
    QRadioButton* fileData;    // 1021
    FlagCheckBox* rename;      // 1010
    FlagCheckBox* interactive; // 1019
    FlagCheckBox* lowerFile;   // 1002
    FlagCheckBox* wholeWord;   // 1039
    FlagCheckBox* lowerExt;    // 1015
    FlagCheckBox* ignoreCR;    // 1022
    FlagCheckBox* recurse;     // 1004
    FlagCheckBox* crAsSpace;   // 1040
    QLabel* startLabel;
    DirectoryTree* startTree;  // 1013
    ByteLineEdit* startDir;    // 1005
    FlagCheckBox* copy;        // 1009
    DirectoryTree* outputTree; // 1014
    ByteLineEdit* copyDir;     // 1007
    QPushButton* morphFiles;   // 1, the default button
    QPushButton* viewLog;      // 3
    QPushButton* close;        // 2
    QProgressBar* progress;    // 1025
};

// Creates every control as a child of `dialog`, in tab order (the order of
// creation is the focus chain), and enters its rectangle into `layout`.
MorphControls createMorphControls(QDialog* dialog, DialogLayout& layout);

} // namespace quarvel
