#pragma once

#include "platform/PosixFileSystem.h"
#include "ui/ByteLineEdit.h"
#include "ui/FlagCheckBox.h"
#include "ui/HistoryComboBox.h"
#include "ui/MorphDialog.h"

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace quarvel::test {

// A main dialog over the real file system, with the first-run defaults;
// a test changes settings() (as loading would) before open().
class MorphDialogTest : public ::testing::Test
{
protected:
    void open() { dialog->show(); }
    const MorphControls& c() const { return dialog->controls(); }
    MorphSettings& settings() { return dialog->settings(); }

    static std::vector<std::string> items(const HistoryComboBox* combo)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < combo->count(); ++i)
            texts.push_back(combo->itemBytes(i));
        return texts;
    }

    PosixFileSystem fs;
    std::unique_ptr<MorphDialog> dialog = std::make_unique<MorphDialog>(fs);
};

} // namespace quarvel::test
